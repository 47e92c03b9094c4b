#pragma once
// Conversion between the program's ANSI byte strings and the UTF-16 of the W functions.
#include <windows.h>

#include <string>

namespace ui {

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// The window's text as ANSI bytes.
std::string WindowText(HWND hwnd);
void SetWindowText(HWND hwnd, const std::string& text);

}  // namespace ui
