#include "ui/Window.h"

#include <exception>

#include "ui/BusyCursor.h"
#include "ui/Dpi.h"
#include "ui/SystemColours.h"
#include "ui/Text.h"
#include "util/AppError.h"

namespace ui {

Window::~Window() {
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Window::CreateWindowOf(const wchar_t* windowClass, DWORD exStyle, DWORD style, const std::string& title,
                            const Bounds& bounds, HWND parent) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW info{};
  if (!GetClassInfoExW(instance, windowClass, &info)) {
    info.cbSize = sizeof(info);
    info.lpfnWndProc = WindowProcedure;
    info.hInstance = instance;
    info.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));  // the program's icon; none in the tests
    info.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    info.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    info.lpszClassName = windowClass;
    RegisterClassExW(&info);
  }
  Bounds place = bounds;
  layout_ = bounds;
  if (parent && (style & WS_CHILD)) {
    place = Scale(bounds, DpiOf(parent));
  } else {
    place.width = Scale(bounds.width, SystemDpi());
    place.height = Scale(bounds.height, SystemDpi());
  }
  CreateWindowExW(exStyle, windowClass, AnsiToWide(title).c_str(), style, place.left, place.top, place.width,
                  place.height, parent, nullptr, instance, this);
}

void Window::OnDpiChanged(int oldDpi) {
  RescaleChildren(hwnd_, oldDpi, dpi_);
}

Window* Window::FromHandle(HWND hwnd) {
  if (!hwnd || GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&WindowProcedure))
    return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETCURSOR && BusyCursorShown()) {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return TRUE;
  }
  if (message == WM_DPICHANGED && !(GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD)) {
    const int oldDpi = dpi_;
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    dpi_ = HIWORD(wParam);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (dpi_ != oldDpi) OnDpiChanged(oldDpi);
    return 0;
  }
  // The user switched to another theme or colours: a top-level window passes
  // it on to its controls and paints again in the new colours.
  if (IsColourChange(message, wParam) && !(GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD))
    FollowSystemColours(hwnd_);
  LRESULT result = 0;
  if (RouteNotification(message, wParam, lParam, result)) return result;
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Window::CentreOnScreen() {
  RECT outer{};
  GetWindowRect(Handle(), &outer);
  int left = (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2;
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::ReportFailure(const std::string& what) {
  if (errorSink_) errorSink_(ErrorBoxText(what));
}

LRESULT CALLBACK Window::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    self->dpi_ = WindowDpi(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
    self->hwnd_ = nullptr;
    return result;
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& failure) {
    self->ReportFailure(failure.what());
  } catch (...) {
    self->ReportFailure("Unknown failure");
  }
  return 0;
}

}  // namespace ui
