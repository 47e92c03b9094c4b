#pragma once
// The shell's "open" and short (8.3) path names, through the Win32 API.
#include <windows.h>

#include <string>

#include "platform/Shell.h"

class Win32Shell : public IShell {
 public:
  // ShellExecuteW "open" with the bare name, owned by the active window.
  void Open(const std::string& file) override;
  // GetShortPathNameW; the path comes back unchanged when the system cannot
  // shorten it (or its short form would not fit in 256 characters).
  std::string ShortPath(const std::string& path) override;
};
