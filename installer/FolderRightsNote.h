#pragma once
// What the installer says of an install folder that every user may change.
#include <string>

#include "app/FolderRightsWarning.h"
#include "platform/win32/Win32FolderRights.h"

// True when the folder's rights let every user change it; false when they do
// not or cannot be read.
inline bool FolderOpenToAllUsers(const std::wstring& folder) {
  auto entries = FolderAccessList(folder.c_str());
  return entries && OpenToAllUsers(*entries);
}

inline std::wstring FolderRightsNote(const std::wstring& folder) {
  return L"every user of this computer may change the install folder " + folder +
         L" (Everyone, Users or Authenticated Users may write to it). Ombrel Setup runs with administrator "
         L"rights from it and the monitor SPY.EXE starts from it at every log-on, so any user could run code "
         L"as every other user. Let only Administrators and SYSTEM change the folder: in its Properties, "
         L"Security, remove Write, Modify and Full control from Everyone, Users and Authenticated Users "
         L"(see the README, \"Folder rights\").";
}
