// The program's file seam as it ships, with its system calls going through
// the fault points: the code under test is the real one, only the calls it
// makes can be told to fail.
#include <windows.h>

// The handle class is shared with code outside the file seam: included before
// the calls are renamed, so that it keeps the system's CloseHandle.
#include "platform/win32/Handle.h"
#include "faults/FaultPoints_win32.h"

#define CreateFileW FaultCreateFileW
#define ReadFile FaultReadFile
#define WriteFile FaultWriteFile
#define FlushFileBuffers FaultFlushFileBuffers
#define CloseHandle FaultCloseHandle
#define MoveFileExW FaultMoveFileExW
#define DeleteFileW FaultDeleteFileW
#define GetFileAttributesW FaultGetFileAttributesW
#define GetFileAttributesExW FaultGetFileAttributesExW
#define FindFirstFileW FaultFindFirstFileW
#define FindNextFileW FaultFindNextFileW

#include "platform/win32/FileSystem.cpp"
