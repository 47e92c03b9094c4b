#pragma once
// The warning at start when the program's folder lets every user change it.
// The program runs with administrator rights and reads that folder, and the
// monitor starts from it at every log-on: any user who may put a file there
// may run code as every other user. The warning says so; the folder's rights
// are left as they are (changing them is the administrator's decision).
#include <string>
#include <vector>

#include "i18n/TINI_LANGUAGE.h"
#include "platform/Dialogs.h"
#include "platform/FolderRights.h"

// True when the list lets Everyone, Users or Authenticated Users write to
// the folder, change it or take full control of it: add or remove files in
// it, or change its rights or owner. Entries are taken in order, as the
// system takes them: a right denied to all users before it is granted stays
// denied.
bool OpenToAllUsers(const std::vector<AccessEntry>& entries);

// One warning box naming the folder, in the language in use, when its rights
// are open to all users; nothing when they are not or cannot be read.
void WarnIfFolderOpenToAllUsers(const IFolderRights& rights, IDialogs& dialogs, const TINI_LANGUAGE& language,
                                const std::string& folder);
