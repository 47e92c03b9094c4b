#pragma once
// Window texts as the program's ANSI bytes (the conversion itself is
// platform/win32/AnsiText.h, included here for the wrappers).
#include <windows.h>

#include <string>

#include "platform/win32/AnsiText.h"

namespace ui {

// The window's text as ANSI bytes.
std::string WindowText(HWND hwnd);
void SetWindowText(HWND hwnd, const std::string& text);

}  // namespace ui
