#pragma once
// The shell's "open" and short (8.3) path names, through the Win32 API.
#include <windows.h>

#include <string>

#include "platform/Shell.h"

class Win32Shell : public IShell {
 public:
  // ShellExecuteW "open" of the name as given, owned by the active window.
  bool Open(const std::string& file) override;
  // GetShortPathNameW; the path comes back unchanged when the system cannot
  // shorten it (or its short form would not fit in 256 characters).
  std::string ShortPath(const std::string& path) override;
};
