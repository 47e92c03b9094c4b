#pragma once
// A file held open the way another program (the monitor, a virus scanner)
// may hold it while the program under test works on it. Windows only.
#include <windows.h>

#include <string>

#include "platform/win32/AnsiText.h"

class HeldFile {
 public:
  // share: what others may do with the file meanwhile (0: nothing at all).
  HeldFile(const std::string& path, DWORD share)
      : handle_(CreateFileW(AnsiToWide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldFile() { Release(); }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (Held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};
