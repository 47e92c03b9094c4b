#include "app/FolderRightsWarning.h"

#include <cstdint>

namespace {

// The rights that let a user put files into a folder or remove them
// (FILE_WRITE_DATA, FILE_APPEND_DATA, FILE_DELETE_CHILD), change its rights
// or owner (WRITE_DAC, WRITE_OWNER), or all of these (GENERIC_WRITE,
// GENERIC_ALL): what Windows shows as Write, Modify and Full control.
constexpr uint32_t kChangeRights = 0x00000002 | 0x00000004 | 0x00000040 | 0x00040000 | 0x00080000 |
                                   0x40000000 | 0x10000000;

bool IsEveryUser(AccessEntry::Trustee trustee) {
  return trustee != AccessEntry::Trustee::Other;
}

}  // namespace

bool OpenToAllUsers(const std::vector<AccessEntry>& entries) {
  uint32_t denied = 0;
  for (const AccessEntry& entry : entries) {
    if (entry.inheritOnly || !IsEveryUser(entry.trustee)) continue;
    if (!entry.allows)
      denied |= entry.rights;
    else if (entry.rights & kChangeRights & ~denied)
      return true;
  }
  return false;
}

void WarnIfFolderOpenToAllUsers(const IFolderRights& rights, IDialogs& dialogs, const TINI_LANGUAGE& language,
                                const std::string& folder) {
  auto entries = rights.AccessList(folder);
  if (entries && OpenToAllUsers(*entries))
    dialogs.Warn(language.MESSAGE_WARNING_FOLDER_OPEN_TO_ALL + " " + folder);
}
