// The program's file seam as it ships, with its system calls going through
// the fault points: the code under test is the real one, only the calls it
// makes can be told to fail.
#include <windows.h>

#include "faults/FaultPoints_win32.h"

#define CreateFileW FaultCreateFileW
#define ReadFile FaultReadFile
#define WriteFile FaultWriteFile
#define FlushFileBuffers FaultFlushFileBuffers
#define ReplaceFileW FaultReplaceFileW
#define MoveFileExW FaultMoveFileExW

#include "platform/win32/FileSystem.cpp"
