#include "platform/win32/Win32Shell.h"

#include <windows.h>
// after windows.h
#include <shellapi.h>

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string WideToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

void Win32Shell::Open(const std::string& file) {
  // A missing file or a missing viewer is not this program's business.
  auto execute = SystemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  if (execute) execute(GetActiveWindow(), L"open", AnsiToWide(file).c_str(), L"", L"", SW_SHOWNORMAL);
}

std::string Win32Shell::ShortPath(const std::string& path) {
  constexpr DWORD kMaxLength = 256;
  wchar_t shortPath[kMaxLength + 1] = {};
  const DWORD length = GetShortPathNameW(AnsiToWide(path).c_str(), shortPath, kMaxLength + 1);
  // 0 is a failure; a length beyond the buffer is the size the result would need.
  if (length == 0 || length > kMaxLength) return path;
  return WideToAnsi(std::wstring(shortPath, length));
}
