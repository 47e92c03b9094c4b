#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include "platform/win32/AnsiText.h"
#include "util/AppError.h"

namespace {

// An open registry key, closed when it goes out of scope.
class RegistryKey {
 public:
  // Opens (creating when missing) HKLM\<path> in the 32-bit view; no handle on failure.
  explicit RegistryKey(const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, AnsiToWide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr) == ERROR_SUCCESS)
      key_ = key;
  }
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool IsOpen() const { return key_ != nullptr; }

  // Writes the value and flushes the key to disk; false when either fails.
  bool Write(const std::string& name, DWORD type, const void* data, DWORD size) {
    if (!key_) return false;
    if (RegSetValueExW(key_, AnsiToWide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size) !=
        ERROR_SUCCESS)
      return false;
    return RegFlushKey(key_) == ERROR_SUCCESS;
  }

 private:
  HKEY key_ = nullptr;
};

[[noreturn]] void ThrowWriteFailure(const std::string& name) {
  throw AppError(FormatMessageText("Failed to set data for '%s'", name));
}

}  // namespace

void Win32Registry::SetString(const std::string& key, const std::string& name, const std::string& value) {
  const std::wstring wide = AnsiToWide(value);
  const DWORD size = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));  // with the terminator
  RegistryKey opened(key);
  if (!opened.Write(name, REG_SZ, wide.c_str(), size)) ThrowWriteFailure(name);
}

void Win32Registry::SetNumber(const std::string& key, const std::string& name, uint32_t value) {
  const DWORD number = value;
  RegistryKey opened(key);
  if (!opened.Write(name, REG_DWORD, &number, sizeof number)) ThrowWriteFailure(name);
}

// A value that is not there, under a key that is not there, is gone already.
// One that is there and stays (no right to change the key) is a failure: the
// user unticked the start-up entry and the monitor would still start.
void Win32Registry::DeleteValue(const std::string& key, const std::string& name) {
  HKEY opened = nullptr;
  LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, AnsiToWide(key).c_str(), 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                                 &opened);
  if (status == ERROR_SUCCESS) {
    status = RegDeleteValueW(opened, AnsiToWide(name).c_str());
    if (status == ERROR_SUCCESS) status = RegFlushKey(opened);
    RegCloseKey(opened);
  }
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
    throw AppError(FormatMessageText("Failed to delete data for '%s'", name));
}
