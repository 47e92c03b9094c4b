// The Start menu's way into the guide: opens its contents page in the language
// the program is set to. It runs with the user's own rights (the program
// itself asks for an administrator's), so the guide opens without a prompt.
#include <windows.h>

#include <string>

#include "app/Services.h"
#include "guide/HelpGuide.h"
#include "platform/win32/OwnPath.h"
#include "platform/win32/Win32Shell.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  Win32Shell shell;
  return shell.Open(GuideContentsPage(FolderOf(OwnPath()))) ? 0 : 1;
}
