#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include "platform/win32/AnsiText.h"
#include "util/AppError.h"

namespace {

REGSAM ViewFlag(RegistryView view) {
  return view == RegistryView::k64Bit ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

// An open registry key, closed when it goes out of scope.
class RegistryKey {
 public:
  // Opens (creating when missing) HKLM\<path> in the view; no handle on failure.
  explicit RegistryKey(const std::string& path, RegistryView view = RegistryView::k32Bit) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, AnsiToWide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE | ViewFlag(view), nullptr, &key, nullptr) == ERROR_SUCCESS)
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

void Win32Registry::SetString(const std::string& key, const std::string& name, const std::string& value,
                              RegistryView view) {
  const std::wstring wide = AnsiToWide(value);
  const DWORD size = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));  // with the terminator
  RegistryKey opened(key, view);
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
void Win32Registry::DeleteValue(const std::string& key, const std::string& name, RegistryView view) {
  HKEY opened = nullptr;
  LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, AnsiToWide(key).c_str(), 0, KEY_SET_VALUE | ViewFlag(view),
                                 &opened);
  if (status == ERROR_SUCCESS) {
    status = RegDeleteValueW(opened, AnsiToWide(name).c_str());
    if (status == ERROR_SUCCESS) status = RegFlushKey(opened);
    RegCloseKey(opened);
  }
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
    throw AppError(FormatMessageText("Failed to delete data for '%s'", name));
}

std::optional<std::string> Win32Registry::ReadString(const std::string& key, const std::string& name,
                                                     RegistryView view) {
  HKEY opened = nullptr;
  LSTATUS status =
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, AnsiToWide(key).c_str(), 0, KEY_QUERY_VALUE | ViewFlag(view), &opened);
  std::wstring text;
  if (status == ERROR_SUCCESS) {
    const std::wstring wideName = AnsiToWide(name);
    DWORD type = 0, size = 0;
    status = RegQueryValueExW(opened, wideName.c_str(), nullptr, &type, nullptr, &size);
    // The value may grow between the two calls: asked again with the new size.
    for (int attempt = 0; status == ERROR_SUCCESS && attempt < 3; ++attempt) {
      std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
      DWORD got = size;
      status = RegQueryValueExW(opened, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                &got);
      if (status == ERROR_MORE_DATA) {
        size = got;
        status = ERROR_SUCCESS;
        continue;
      }
      if (status == ERROR_SUCCESS) {
        // Text kinds as text, cut at their terminator; any other kind is there, without text.
        if (type == REG_SZ || type == REG_EXPAND_SZ) text.assign(buffer.c_str());
        break;
      }
    }
    RegCloseKey(opened);
  }
  if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (status != ERROR_SUCCESS) throw AppError(FormatMessageText("Failed to read data for '%s'", name));
  return WideToAnsi(text);
}
