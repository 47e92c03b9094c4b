#pragma once
// The system calls of the file seam, each asking the fault plan first.
#include <windows.h>

// Sets the system error of the plan's kind of failure; returns FALSE.
BOOL FailAsPlanned();

HANDLE WINAPI FaultCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL WINAPI FaultReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped);
BOOL WINAPI FaultWriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);
BOOL WINAPI FaultFlushFileBuffers(HANDLE file);
BOOL WINAPI FaultCloseHandle(HANDLE handle);
BOOL WINAPI FaultMoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags);
BOOL WINAPI FaultDeleteFileW(LPCWSTR name);
DWORD WINAPI FaultGetFileAttributesW(LPCWSTR name);
BOOL WINAPI FaultGetFileAttributesExW(LPCWSTR name, GET_FILEEX_INFO_LEVELS level, LPVOID data);
HANDLE WINAPI FaultFindFirstFileW(LPCWSTR mask, LPWIN32_FIND_DATAW found);
BOOL WINAPI FaultFindNextFileW(HANDLE search, LPWIN32_FIND_DATAW found);
