#include "platform/win32/Win32DosDevices.h"

#include <windows.h>

#include "platform/win32/AnsiText.h"

std::vector<std::string> Win32DosDevices::Names() {
  // The list is names ended by a NUL each, then one more NUL; its size is not
  // known beforehand, so the buffer grows until it fits.
  std::vector<wchar_t> buffer(16384);
  DWORD length = 0;
  while ((length = QueryDosDeviceW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()))) == 0) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || buffer.size() >= (1u << 22)) return {};
    buffer.resize(buffer.size() * 2);
  }
  std::vector<std::string> names;
  for (const wchar_t* name = buffer.data(); name < buffer.data() + length && *name; name += wcslen(name) + 1)
    names.push_back(WideToAnsi(name));
  return names;
}
