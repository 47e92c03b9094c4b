#pragma once
// The registry calls of the registry seam, each asking the fault plan first,
// over values kept in memory: every run starts from the values its world
// gives, and compares them as the other tests compare the fake registry's.
#include <windows.h>

#include <map>
#include <optional>
#include <set>
#include <string>

#include "support/FakeRegistry.h"

struct HookedRegistry {
  std::map<FakeRegistry::Name, FakeRegistry::Value> values;
  // Each value whose change was reported failed, as that call left it: as it
  // was when refused, as set when only its flush failed.
  std::map<FakeRegistry::Name, std::optional<FakeRegistry::Value>> failed;
  std::set<std::string> keys;         // created, besides those holding a value
  struct OpenKey {
    std::string path;
    std::set<std::string> changed;  // the value names set or deleted through this handle
  };
  std::map<HKEY, OpenKey> open;  // the keys opened and not yet closed, by handle
  int handles = 0;                   // handed out so far

  void Reset() { *this = {}; }
};
HookedRegistry& Hooked();

LSTATUS WINAPI FaultRegCreateKeyExW(HKEY parent, LPCWSTR path, DWORD reserved, LPWSTR kind, DWORD options,
                                    REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition);
LSTATUS WINAPI FaultRegOpenKeyExW(HKEY parent, LPCWSTR path, DWORD options, REGSAM access, PHKEY key);
LSTATUS WINAPI FaultRegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
LSTATUS WINAPI FaultRegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                     LPDWORD size);
LSTATUS WINAPI FaultRegFlushKey(HKEY key);
LSTATUS WINAPI FaultRegDeleteValueW(HKEY key, LPCWSTR name);
LSTATUS WINAPI FaultRegCloseKey(HKEY key);
