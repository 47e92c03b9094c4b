#include "ui/Dpi.h"

#include <vector>

#include "ui/Window.h"

namespace ui {
namespace {

// Functions of Windows 10 (1607 and later), looked up so that the program
// still starts where they are missing.
template <typename Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

using DpiForWindow = UINT(WINAPI*)(HWND);
using DpiForSystem = UINT(WINAPI*)();
using MetricsForDpi = int(WINAPI*)(int, UINT);

}  // namespace

// The edges are scaled, not the sizes: controls that meet at 96 DPI meet at
// every scale, none overlapping the next by a pixel of rounding.
Bounds Scale(const Bounds& bounds, int dpi) {
  if (dpi == kLayoutDpi) return bounds;
  const int left = Scale(bounds.left, dpi), top = Scale(bounds.top, dpi);
  return {left, top, Scale(bounds.left + bounds.width, dpi) - left,
          Scale(bounds.top + bounds.height, dpi) - top};
}

int SystemDpi() {
  static const int dpi = [] {
    if (auto forSystem = User32Function<DpiForSystem>("GetDpiForSystem"))
      return static_cast<int>(forSystem());
    HDC screen = GetDC(nullptr);
    int pixels = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return pixels > 0 ? pixels : kLayoutDpi;
  }();
  return dpi;
}

int WindowDpi(HWND hwnd) {
  static const auto forWindow = User32Function<DpiForWindow>("GetDpiForWindow");
  if (forWindow && hwnd)
    if (UINT dpi = forWindow(hwnd)) return static_cast<int>(dpi);
  return SystemDpi();
}

int DpiOf(HWND hwnd) {
  if (!hwnd) return SystemDpi();
  HWND root = GetAncestor(hwnd, GA_ROOT);
  if (Window* window = Window::FromHandle(root ? root : hwnd)) return window->Dpi();
  return WindowDpi(hwnd);
}

int SystemMetricAt(int index, int dpi) {
  static const auto forDpi = User32Function<MetricsForDpi>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

void RescaleChildren(HWND window, int oldDpi, int newDpi) {
  std::vector<HWND> children;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    // Only windows of this library: the parts of a standard control (a
    // combo box's edit, a list view's header) are placed by the control.
    const Control* control = Control::FromHandle(child);
    const Window* owned = control ? nullptr : Window::FromHandle(child);
    if (!control && !owned) continue;
    // From the layout each time, so that moving between scales adds no rounding.
    const Bounds place = Scale(control ? control->Layout() : owned->Layout(), newDpi);
    const bool ownSize = place.width == 0 && place.height == 0;
    SetWindowPos(child, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | (ownSize ? SWP_NOSIZE : 0));
  }
  for (HWND child : children)
    if (Control* control = Control::FromHandle(child)) control->OnDpiChanged(oldDpi, newDpi);
}

}  // namespace ui
