// The program's registry seam as it ships, with its registry calls going
// through the fault points and a registry kept in memory.
#include <windows.h>

#include "faults/RegistryPoints_win32.h"

#define RegCreateKeyExW FaultRegCreateKeyExW
#define RegOpenKeyExW FaultRegOpenKeyExW
#define RegSetValueExW FaultRegSetValueExW
#define RegFlushKey FaultRegFlushKey
#define RegDeleteValueW FaultRegDeleteValueW
#define RegQueryValueExW FaultRegQueryValueExW
#define RegCloseKey FaultRegCloseKey

#include "platform/win32/Win32Registry.cpp"
