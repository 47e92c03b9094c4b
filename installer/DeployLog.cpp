#include "installer/DeployLog.h"

#include <windows.h>
// after windows.h
#include <sddl.h>

#include <cstdio>

#include "platform/win32/Handle.h"

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                      nullptr);
  return bytes;
}

// A folder the installer makes is changed only by SYSTEM and Administrators
// (its own rights, not the parent's); users may read it.
void MakeFolder(const std::wstring& folder) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
          L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FR;;;BU)", SDDL_REVISION_1, &descriptor, nullptr))
    return;
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
  CreateDirectoryW(folder.c_str(), &attributes);
  LocalFree(descriptor);
}

// True when the account runs with the Administrators group in force (SYSTEM
// does; a user's token filtered by UAC does not).
bool RunsAsAdministrator() {
  PSID administrators = nullptr;
  if (!ConvertStringSidToSidW(L"BA", &administrators)) return false;
  BOOL member = FALSE;
  const bool checked = CheckTokenMembership(nullptr, administrators, &member);
  LocalFree(administrators);
  return checked && member;
}

}  // namespace

void AddToDeployLog(const std::wstring& line) {
  // Only an administrator's run makes or writes the log: a folder that a
  // user made under ProgramData would stay that user's to change.
  if (!RunsAsAdministrator()) return;
  wchar_t data[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"ProgramData", data, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const std::wstring folder = std::wstring(data) + L"\\Tarvexi";
  // Not through a folder someone made a link to another place.
  for (const std::wstring& made : {folder, folder + L"\\Ombrel"}) {
    MakeFolder(made);
    const DWORD attributes = GetFileAttributesW(made.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return;
  }
  // Not through a link someone put in the log's place.
  Handle file(CreateFileW((folder + L"\\Ombrel\\deploy.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                          nullptr));
  if (!file.Valid()) return;
  SYSTEMTIME now;
  GetSystemTime(&now);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u UTC ", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond);
  const std::string bytes = stamp + Utf8(line) + "\r\n";
  DWORD written = 0;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
