#pragma once
// The program's own windows inside a window, and where each stands: shared by
// the tests that check the layout.
#include <windows.h>

#include <vector>

#include "ui/Control.h"
#include "ui/Window.h"

// A window's rectangle relative to its parent.
inline RECT PlaceOf(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The windows of the program inside window, at every depth (not the parts of
// standard controls).
inline std::vector<HWND> ProgramWindows(HWND window) {
  std::vector<HWND> all;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM list) {
        if (ui::Control::FromHandle(child) || ui::Window::FromHandle(child))
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}
