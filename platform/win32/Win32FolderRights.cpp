#include "platform/win32/Win32FolderRights.h"

#include <windows.h>
// after windows.h
#include <aclapi.h>

#include <memory>

#include "platform/win32/AnsiText.h"

namespace {

AccessEntry::Trustee TrusteeOf(PSID sid) {
  if (IsWellKnownSid(sid, WinWorldSid)) return AccessEntry::Trustee::Everyone;
  if (IsWellKnownSid(sid, WinBuiltinUsersSid)) return AccessEntry::Trustee::Users;
  if (IsWellKnownSid(sid, WinAuthenticatedUserSid)) return AccessEntry::Trustee::AuthenticatedUsers;
  return AccessEntry::Trustee::Other;
}

struct LocalFreer {
  void operator()(void* memory) const { LocalFree(memory); }
};

}  // namespace

std::optional<std::vector<AccessEntry>> FolderAccessList(const wchar_t* folder) {
  PACL acl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl, nullptr,
                            &descriptor) != ERROR_SUCCESS)
    return std::nullopt;
  std::unique_ptr<void, LocalFreer> owned(descriptor);
  if (!acl) return std::vector<AccessEntry>{{true, AccessEntry::Trustee::Everyone, GENERIC_ALL, false}};
  std::vector<AccessEntry> entries;
  for (DWORD i = 0; i < acl->AceCount; ++i) {
    ACE_HEADER* header = nullptr;
    if (!GetAce(acl, i, reinterpret_cast<void**>(&header))) continue;
    // The plain allow and deny entries; the object entries of directory
    // services do not occur on files.
    AccessEntry entry;
    if (header->AceType == ACCESS_ALLOWED_ACE_TYPE) {
      auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
      entry = {true, TrusteeOf(&ace->SidStart), ace->Mask, false};
    } else if (header->AceType == ACCESS_DENIED_ACE_TYPE) {
      auto* ace = reinterpret_cast<ACCESS_DENIED_ACE*>(header);
      entry = {false, TrusteeOf(&ace->SidStart), ace->Mask, false};
    } else {
      continue;
    }
    entry.inheritOnly = (header->AceFlags & INHERIT_ONLY_ACE) != 0;
    entries.push_back(entry);
  }
  return entries;
}

std::optional<std::vector<AccessEntry>> Win32FolderRights::AccessList(const std::string& folder) const {
  return FolderAccessList(AnsiToWide(folder).c_str());
}
