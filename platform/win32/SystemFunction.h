#pragma once
#include <windows.h>

// A function of a system DLL that the program needs only for rare actions
// (the folder browser, the help file), loaded on first use instead of with
// the program so that start-up does not pay for the DLL. The DLL stays
// loaded until the program ends: the shell may keep threads running in it.
// Only the system folder is searched: the program runs elevated, and a DLL of
// that name in its own folder (a download folder) must never be loaded.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
  HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
