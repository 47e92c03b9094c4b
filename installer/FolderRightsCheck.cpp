// The installer's look at the rights of the folder it installed into, a
// custom action that installer/build-msi puts into the MSI: when every user
// may change that folder, a note in the installer's log says so and how to
// put it right. The folder's rights are left as they are.
#include <windows.h>
// after windows.h
#include <msi.h>
#include <msiquery.h>

#include <string>

#include "installer/FolderRightsNote.h"
#include "installer/MsiMessages.h"
#include "installer/MsiProperty.h"

// Runs after the install; never fails it.
extern "C" __declspec(dllexport) UINT __stdcall CheckFolderRights(MSIHANDLE install) {
  const std::wstring folder = Property(install, L"INSTALLDIR");
  if (folder.empty() || !FolderOpenToAllUsers(folder)) return ERROR_SUCCESS;
  LogLine(install, L"WARNING: " + FolderRightsNote(folder));
  return ERROR_SUCCESS;
}
