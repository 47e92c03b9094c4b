// The program's serial channel as it ships, with its system calls going
// through the serial points, in front of emulated devices: the code under
// test is the real one, only the calls it makes can be told to fail.
#include <windows.h>

// Included before the calls are renamed: the standard library's threads and
// the handle class keep the system's calls.
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/win32/Handle.h"
#include "platform/win32/Win32SerialChannel.h"
#include "faults/SerialPoints_win32.h"

#define CreateFileW PortCreateFileW
#define SetupComm PortSetupComm
#define GetCommState PortGetCommState
#define SetCommState PortSetCommState
#define SetCommTimeouts PortSetCommTimeouts
#define PurgeComm PortPurgeComm
#define GetCommModemStatus PortGetCommModemStatus
#define CreateEventW PortCreateEventW
#define ReadFile PortReadFile
#define WriteFile PortWriteFile
#define GetOverlappedResult PortGetOverlappedResult
#define WaitForSingleObject PortWaitForSingleObject
#define WaitForMultipleObjects PortWaitForMultipleObjects
#define PostMessageW PortPostMessageW
#define CloseHandle PortCloseHandle

#include "platform/win32/Win32SerialChannel.cpp"
