#include "faults/RegistryPoints_win32.h"

#include <algorithm>

#include "faults/FaultPlan.h"
#include "platform/win32/AnsiText.h"

namespace {

bool Exists(const std::string& key) {
  HookedRegistry& registry = Hooked();
  return registry.keys.count(key) ||
         std::any_of(registry.values.begin(), registry.values.end(),
                     [&key](const auto& value) { return value.first.first == key; });
}

HKEY Open(const std::string& path) {
  HookedRegistry& registry = Hooked();
  HKEY key = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x1000 + ++registry.handles));
  registry.open[key] = {path, {}};
  return key;
}

// The key a handle names; none for a handle that is not open.
HookedRegistry::OpenKey* KeyOf(HKEY key) {
  const auto found = Hooked().open.find(key);
  return found == Hooked().open.end() ? nullptr : &found->second;
}

std::optional<FakeRegistry::Value> ValueAt(const FakeRegistry::Name& name) {
  const auto found = Hooked().values.find(name);
  return found == Hooked().values.end() ? std::nullopt : std::optional(found->second);
}

// A change refused: the value stays as it is, and is noted so.
LSTATUS Refused(const FakeRegistry::Name& name) {
  Hooked().failed[name] = ValueAt(name);
  return ERROR_ACCESS_DENIED;
}

// A key refused: none of its values can change through it, each noted as it
// stays (the program names the value it was to write, which the key's
// opening does not know).
LSTATUS KeyRefused(const std::string& path) {
  HookedRegistry& registry = Hooked();
  for (const auto& [name, value] : registry.values)
    if (name.first == path) registry.failed[name] = value;
  return ERROR_ACCESS_DENIED;
}

}  // namespace

HookedRegistry& Hooked() {
  static HookedRegistry registry;
  return registry;
}

LSTATUS WINAPI FaultRegCreateKeyExW(HKEY parent, LPCWSTR path, DWORD, LPWSTR, DWORD, REGSAM access,
                                    LPSECURITY_ATTRIBUTES, PHKEY key, LPDWORD) {
  if (parent != HKEY_LOCAL_MACHINE) return ERROR_INVALID_HANDLE;
  const std::string name = WideToAnsi(path) + (access & KEY_WOW64_64KEY ? kView64 : "");
  if (Faults().Fails(Seam::Registry)) return KeyRefused(name);
  Hooked().keys.insert(name);
  *key = Open(name);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI FaultRegOpenKeyExW(HKEY parent, LPCWSTR path, DWORD, REGSAM access, PHKEY key) {
  if (parent != HKEY_LOCAL_MACHINE) return ERROR_INVALID_HANDLE;
  const std::string name = WideToAnsi(path) + (access & KEY_WOW64_64KEY ? kView64 : "");
  if (Faults().Fails(Seam::Registry)) return KeyRefused(name);
  if (!Exists(name)) return ERROR_FILE_NOT_FOUND;
  *key = Open(name);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI FaultRegSetValueExW(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
  HookedRegistry::OpenKey* opened = KeyOf(key);
  if (!opened) return ERROR_INVALID_HANDLE;
  const FakeRegistry::Name value{opened->path, WideToAnsi(name)};
  if (Faults().Fails(Seam::Registry)) return Refused(value);
  opened->changed.insert(value.second);
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD number = 0;
    std::copy(data, data + size, reinterpret_cast<BYTE*>(&number));
    Hooked().values[value] = static_cast<uint32_t>(number);
  } else if (type == REG_SZ && size >= sizeof(wchar_t) && size % sizeof(wchar_t) == 0) {
    std::wstring text(size / sizeof(wchar_t), L'\0');
    std::copy(data, data + size, reinterpret_cast<BYTE*>(text.data()));
    if (text.back() != L'\0') return ERROR_INVALID_PARAMETER;  // the terminator belongs to the size
    text.pop_back();
    Hooked().values[value] = WideToAnsi(text);
  } else {
    return ERROR_INVALID_PARAMETER;  // no other kind is written
  }
  return ERROR_SUCCESS;
}

// A read that fails is refused; it changes nothing. Numbers are REG_DWORD,
// texts REG_SZ with their terminator, as the system gives them.
LSTATUS WINAPI FaultRegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data,
                                     LPDWORD size) {
  const HookedRegistry::OpenKey* opened = KeyOf(key);
  if (!opened) return ERROR_INVALID_HANDLE;
  if (Faults().Fails(Seam::Registry)) return ERROR_ACCESS_DENIED;
  const std::optional<FakeRegistry::Value> value = ValueAt({opened->path, WideToAnsi(name)});
  if (!value) return ERROR_FILE_NOT_FOUND;
  std::string bytes;
  if (const auto* number = std::get_if<uint32_t>(&*value)) {
    bytes.assign(reinterpret_cast<const char*>(number), sizeof *number);
    if (type) *type = REG_DWORD;
  } else {
    const std::wstring text = AnsiToWide(std::get<std::string>(*value));
    bytes.assign(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
    if (type) *type = REG_SZ;
  }
  if (!size) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
  const DWORD room = *size;
  *size = static_cast<DWORD>(bytes.size());
  if (!data) return ERROR_SUCCESS;
  if (room < bytes.size()) return ERROR_MORE_DATA;
  std::copy(bytes.begin(), bytes.end(), data);
  return ERROR_SUCCESS;
}

// The values are in place; their writing to disk fails, as the registry's
// own I/O error: what was changed through the key stays changed, not certain
// to last.
LSTATUS WINAPI FaultRegFlushKey(HKEY key) {
  const HookedRegistry::OpenKey* opened = KeyOf(key);
  if (!opened) return ERROR_INVALID_HANDLE;
  if (!Faults().Fails(Seam::RegistryFlush)) return ERROR_SUCCESS;
  for (const std::string& name : opened->changed)
    Hooked().failed[{opened->path, name}] = ValueAt({opened->path, name});
  return ERROR_REGISTRY_IO_FAILED;
}

LSTATUS WINAPI FaultRegDeleteValueW(HKEY key, LPCWSTR name) {
  HookedRegistry::OpenKey* opened = KeyOf(key);
  if (!opened) return ERROR_INVALID_HANDLE;
  const FakeRegistry::Name value{opened->path, WideToAnsi(name)};
  if (Faults().Fails(Seam::Registry)) return Refused(value);
  opened->changed.insert(value.second);
  return Hooked().values.erase(value) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LSTATUS WINAPI FaultRegCloseKey(HKEY key) {
  return Hooked().open.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
