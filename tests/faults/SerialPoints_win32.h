#pragma once
// The system calls of the serial channel, each asking the fault plan first,
// and the devices behind the ports: a UPS is one end of a named pipe, the
// channel's handle the other; the UPS reads each query the channel writes
// and answers a probe at once, from the calling thread.
//
// The channel's reading thread calls too. Its calls come in a fixed order
// with those of the windows' thread: before each call of the windows'
// thread is counted, that thread waits until every reading thread waits for
// bytes with none on their way to it, or has ended (Settle).
#include <windows.h>

#include <string>

namespace emulated_ports {
// No port has a device; the calling thread is the windows' thread.
void Reset();
// Port n opens, and answers each probe "V?" CR LF with answer.
void AddUps(int n, const std::string& answer);
// Waits until every reading thread of an open port waits for bytes and none
// are on their way, or has ended. Does nothing on any other thread than the
// windows' one.
void Settle();
// A reading thread that did not settle within seconds since the last Reset.
bool Stuck();
}  // namespace emulated_ports

HANDLE WINAPI PortCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL WINAPI PortSetupComm(HANDLE device, DWORD inSize, DWORD outSize);
BOOL WINAPI PortGetCommState(HANDLE device, LPDCB dcb);
BOOL WINAPI PortSetCommState(HANDLE device, LPDCB dcb);
BOOL WINAPI PortSetCommTimeouts(HANDLE device, LPCOMMTIMEOUTS timeouts);
BOOL WINAPI PortPurgeComm(HANDLE device, DWORD flags);
BOOL WINAPI PortGetCommModemStatus(HANDLE device, LPDWORD status);
HANDLE WINAPI PortCreateEventW(LPSECURITY_ATTRIBUTES security, BOOL manual, BOOL initial, LPCWSTR name);
BOOL WINAPI PortReadFile(HANDLE device, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped);
BOOL WINAPI PortWriteFile(HANDLE device, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);
BOOL WINAPI PortGetOverlappedResult(HANDLE device, LPOVERLAPPED overlapped, LPDWORD done, BOOL wait);
DWORD WINAPI PortWaitForSingleObject(HANDLE object, DWORD ms);
DWORD WINAPI PortWaitForMultipleObjects(DWORD count, const HANDLE* objects, BOOL all, DWORD ms);
BOOL WINAPI PortPostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI PortCloseHandle(HANDLE device);
