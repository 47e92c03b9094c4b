// The installer's notes of what an import changes, as they ship, with their
// file and registry calls going through the fault points and the registry
// kept in memory.
#include <windows.h>

// The handle class is shared with code outside the notes: included before
// the calls are renamed, so that it keeps the system's CloseHandle.
#include "platform/win32/Handle.h"
#include "faults/FaultPoints_win32.h"
#include "faults/RegistryPoints_win32.h"

#define CreateFileW FaultCreateFileW
#define ReadFile FaultReadFile
#define WriteFile FaultWriteFile
#define FlushFileBuffers FaultFlushFileBuffers
#define CloseHandle FaultCloseHandle
#define MoveFileExW FaultMoveFileExW
#define DeleteFileW FaultDeleteFileW
#define RegCreateKeyExW FaultRegCreateKeyExW
#define RegOpenKeyExW FaultRegOpenKeyExW
#define RegQueryValueExW FaultRegQueryValueExW
#define RegSetValueExW FaultRegSetValueExW
#define RegDeleteValueW FaultRegDeleteValueW
#define RegCloseKey FaultRegCloseKey

#include "installer/ImportSnapshot.cpp"
