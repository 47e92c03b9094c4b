#include "faults/FaultPoints_win32.h"

#include "faults/FaultPlan.h"

namespace {

// Reads and writes go in small pieces, as they may on any file, so that a
// failing call can fall in the middle of a file.
constexpr DWORD kPiece = 256;

DWORD ErrorOf(FaultKind kind) {
  switch (kind) {
    case FaultKind::SharingViolation:
      return ERROR_SHARING_VIOLATION;
    case FaultKind::DiskFull:
      return ERROR_DISK_FULL;
    case FaultKind::ReadError:
      return ERROR_READ_FAULT;
    default:
      return ERROR_ACCESS_DENIED;
  }
}

BOOL Failed() {
  SetLastError(ErrorOf(Faults().Kind()));
  return FALSE;
}

}  // namespace

HANDLE WINAPI FaultCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templateFile) {
  if (Faults().Fails(Seam::FileOpen)) {
    Failed();
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileW(name, access, share, security, disposition, flags, templateFile);
}

BOOL WINAPI FaultReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped) {
  if (Faults().Fails(Seam::FileRead)) return Failed();
  return ReadFile(file, buffer, size < kPiece ? size : kPiece, read, overlapped);
}

// A disk that fills up takes half of what it was given, then refuses.
BOOL WINAPI FaultWriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  if (Faults().Fails(Seam::FileWrite)) {
    DWORD ignored = 0;
    WriteFile(file, buffer, size / 2, &ignored, overlapped);
    if (written) *written = 0;
    return Failed();
  }
  return WriteFile(file, buffer, size < kPiece ? size : kPiece, written, overlapped);
}

BOOL WINAPI FaultFlushFileBuffers(HANDLE file) {
  if (Faults().Fails(Seam::FileFlush)) return Failed();
  return FlushFileBuffers(file);
}

BOOL WINAPI FaultReplaceFileW(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags, LPVOID exclude,
                              LPVOID reserved) {
  if (Faults().Fails(Seam::FileReplace)) return Failed();
  return ReplaceFileW(replaced, replacement, backup, flags, exclude, reserved);
}

BOOL WINAPI FaultMoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
  if (Faults().Fails(Seam::FileReplace)) return Failed();
  return MoveFileExW(from, to, flags);
}
