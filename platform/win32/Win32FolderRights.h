#pragma once
// A folder's access list, read with the Win32 security API.
#include <optional>
#include <string>
#include <vector>

#include "platform/FolderRights.h"

class Win32FolderRights : public IFolderRights {
 public:
  std::optional<std::vector<AccessEntry>> AccessList(const std::string& folder) const override;
};

// The same for a folder named in UTF-16 (the installer's check has no ANSI text).
std::optional<std::vector<AccessEntry>> FolderAccessList(const wchar_t* folder);
