// The installer's look at the rights of the folder it installed into, a
// custom action that installer/build-msi puts into the MSI: when every user
// may change that folder, a note in the installer's log says so and how to
// put it right. The folder's rights are left as they are.
#include <windows.h>
// after windows.h
#include <msi.h>
#include <msiquery.h>

#include <string>

#include "app/FolderRightsWarning.h"
#include "installer/MsiProperty.h"
#include "platform/win32/Win32FolderRights.h"

// Runs after the install; never fails it.
extern "C" __declspec(dllexport) UINT __stdcall CheckFolderRights(MSIHANDLE install) {
  const std::wstring folder = Property(install, L"INSTALLDIR");
  if (folder.empty()) return ERROR_SUCCESS;
  auto entries = FolderAccessList(folder.c_str());
  if (!entries || !OpenToAllUsers(*entries)) return ERROR_SUCCESS;
  const std::wstring note =
      L"WARNING: every user of this computer may change the install folder " + folder +
      L" (Everyone, Users or Authenticated Users may write to it). Ombrel Setup runs with administrator "
      L"rights from it and the monitor SPY.EXE starts from it at every log-on, so any user could run code "
      L"as every other user. Let only Administrators and SYSTEM change the folder: in its Properties, "
      L"Security, remove Write, Modify and Full control from Everyone, Users and Authenticated Users "
      L"(see the README, \"Folder rights\").";
  PMSIHANDLE record = MsiCreateRecord(0);
  MsiRecordSetStringW(record, 0, note.c_str());
  MsiProcessMessage(install, INSTALLMESSAGE_INFO, record);
  return ERROR_SUCCESS;
}
