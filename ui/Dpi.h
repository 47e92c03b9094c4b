#pragma once
// Display scaling. The layout is written for 96 pixels per inch; a window
// shown at another DPI has every place and size of it scaled by dpi / 96.
// The program declares itself aware of each monitor's DPI, so Windows does
// not stretch its windows as bitmaps: the windows scale themselves, here.
#include <windows.h>

#include "ui/Control.h"

namespace ui {

inline constexpr int kLayoutDpi = 96;

// A length of the 96-DPI layout at dpi, rounded to the nearest pixel.
inline int Scale(int value, int dpi) {
  return MulDiv(value, dpi, kLayoutDpi);
}
Bounds Scale(const Bounds& bounds, int dpi);

// The DPI a window shows at: the one its top-level window was last told of.
int DpiOf(HWND hwnd);
// The DPI Windows gives a top-level window when it is created: the system's.
int SystemDpi();
// What Windows reports for the window, or the system's DPI where it cannot tell.
int WindowDpi(HWND hwnd);
// A system metric (SM_CXMENUCHECK, ...) as Windows gives it at dpi.
int SystemMetricAt(int index, int dpi);

// Places every window of this library inside window again where the layout
// puts it at newDpi (those sized by themselves keep their size), then tells
// each control of it (Control::OnDpiChanged).
void RescaleChildren(HWND window, int oldDpi, int newDpi);

}  // namespace ui
