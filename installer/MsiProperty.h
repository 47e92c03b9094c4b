#pragma once
// A property of the running install, for the installer's custom actions.
#include <windows.h>
// after windows.h
#include <msi.h>
#include <msiquery.h>

#include <string>

// The property's value; empty when it is not set or cannot be read.
inline std::wstring Property(MSIHANDLE install, const wchar_t* name) {
  wchar_t none[1] = L"";
  DWORD length = 0;
  if (MsiGetPropertyW(install, name, none, &length) != ERROR_MORE_DATA) return std::wstring();
  std::wstring value(length + 1, L'\0');
  length = static_cast<DWORD>(value.size());
  if (MsiGetPropertyW(install, name, value.data(), &length) != ERROR_SUCCESS) return std::wstring();
  value.resize(length);
  return value;
}
