#include "platform/win32/Win32Shell.h"

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include "platform/win32/AnsiText.h"
#include "platform/win32/SystemFunction.h"

bool Win32Shell::Open(const std::string& file) {
  auto execute = SystemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  if (!execute) return false;
  HINSTANCE result = execute(GetActiveWindow(), L"open", AnsiToWide(file).c_str(), L"", L"", SW_SHOWNORMAL);
  // Values up to 32 are the shell's error codes (no such file, no association, ...).
  return reinterpret_cast<INT_PTR>(result) > 32;
}

std::string Win32Shell::ShortPath(const std::string& path) {
  constexpr DWORD kMaxLength = 256;
  wchar_t shortPath[kMaxLength + 1] = {};
  const DWORD length = GetShortPathNameW(AnsiToWide(path).c_str(), shortPath, kMaxLength + 1);
  // 0 is a failure; a length beyond the buffer is the size the result would need.
  if (length == 0 || length > kMaxLength) return path;
  return WideToAnsi(std::wstring(shortPath, length));
}
