#include "ui/Window.h"

#include <exception>

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
  CreateWindowExW(exStyle, windowClass, AnsiToWide(title).c_str(), style, bounds.left, bounds.top,
                  bounds.width, bounds.height, parent, nullptr, instance, this);
}

Window* Window::FromHandle(HWND hwnd) {
  if (!hwnd || GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&WindowProcedure))
    return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (RouteNotification(message, wParam, lParam, result)) return result;
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Window::ReportFailure(const std::string& what) {
  if (errorSink_) errorSink_(ErrorBoxText(what));
}

LRESULT CALLBACK Window::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
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
