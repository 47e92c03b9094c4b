#pragma once
// The shell's "open" and short (8.3) path names, through the Win32 API.
#include <windows.h>

#include <string>

#include "platform/Shell.h"

// ANSI-code-page bytes to UTF-16 and back, for the W functions.
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);

// A function of a system DLL that the program needs only for rare actions
// (the folder browser, the help file), loaded on first use instead of with
// the program so that start-up does not pay for the DLL. The DLL stays
// loaded until the program ends: the shell may keep threads running in it.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(dll), name)));
}

class Win32Shell : public IShell {
 public:
  // ShellExecuteW "open" with the bare name, owned by the active window.
  void Open(const std::string& file) override;
  // GetShortPathNameW; the path comes back unchanged when the system cannot
  // shorten it (or its short form would not fit in 256 characters).
  std::string ShortPath(const std::string& path) override;
};
