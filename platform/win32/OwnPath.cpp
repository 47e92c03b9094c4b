#include "platform/win32/OwnPath.h"

#include <windows.h>

#include "platform/win32/AnsiText.h"

std::string OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return WideToAnsi(path);
    }
    path.resize(path.size() * 2);
  }
}
