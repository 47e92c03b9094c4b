#pragma once
// The one conversion at the Win32 boundary: the program keeps its texts as
// bytes in the ANSI code page, as its files hold them, and calls the W
// functions with UTF-16.
#include <string>
#include <string_view>

std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
