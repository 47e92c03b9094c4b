#include "faults/FaultPoints_win32.h"

#include <map>
#include <set>
#include <string>

#include "faults/FaultPlan.h"

namespace {

// Reads and writes go in small pieces, as they may on any file, so that a
// failing call can fall in the middle of a file.
constexpr DWORD kPiece = 256;

DWORD ErrorOf(FaultKind kind) {
  switch (kind) {
    case FaultKind::SharingViolation:
      return ERROR_SHARING_VIOLATION;
    case FaultKind::DeletePending:
      return ERROR_DELETE_PENDING;
    case FaultKind::DiskFull:
      return ERROR_DISK_FULL;
    case FaultKind::ReadError:
      return ERROR_READ_FAULT;
    case FaultKind::WriteError:
      return ERROR_WRITE_FAULT;
    default:
      return ERROR_ACCESS_DENIED;
  }
}

BOOL Failed() {
  SetLastError(ErrorOf(Faults().Kind()));
  return FALSE;
}

// Files open for writing, and whether all written to them has been flushed;
// the names of those closed so. A rename of any other is noted in the plan.
std::map<HANDLE, std::pair<std::wstring, bool>>& Writing() {
  static std::map<HANDLE, std::pair<std::wstring, bool>> files;
  return files;
}
std::set<std::wstring>& Flushed() {
  static std::set<std::wstring> names;
  return names;
}

}  // namespace

BOOL FailAsPlanned() {
  return Failed();
}

HANDLE WINAPI FaultCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templateFile) {
  if (Faults().Fails(Seam::FileOpen)) {
    Failed();
    return INVALID_HANDLE_VALUE;
  }
  HANDLE file = CreateFileW(name, access, share, security, disposition, flags, templateFile);
  if (file != INVALID_HANDLE_VALUE && (access & GENERIC_WRITE)) Writing()[file] = {name, true};
  return file;
}

// A file is read in a first piece and then the rest, so that a failing read
// can fall at its start, in its middle (past the first piece) or at its end;
// a failure further in takes the same path, and would only multiply the runs
// by the size of the pictures.
BOOL WINAPI FaultReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped) {
  if (Faults().Fails(Seam::FileRead)) return Failed();
  LARGE_INTEGER at{};
  const bool first = SetFilePointerEx(file, LARGE_INTEGER{}, &at, FILE_CURRENT) && at.QuadPart == 0;
  return ReadFile(file, buffer, first && size > kPiece ? kPiece : size, read, overlapped);
}

// A disk that fills up takes half of what it was given, then refuses.
BOOL WINAPI FaultWriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  if (auto found = Writing().find(file); found != Writing().end()) found->second.second = false;
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
  if (!FlushFileBuffers(file)) return FALSE;
  if (auto found = Writing().find(file); found != Writing().end()) found->second.second = true;
  return TRUE;
}

// A closing that fails still closes the handle, as a deferred write error does.
BOOL WINAPI FaultCloseHandle(HANDLE handle) {
  if (auto found = Writing().find(handle); found != Writing().end()) {
    if (found->second.second)
      Flushed().insert(found->second.first);
    else
      Flushed().erase(found->second.first);
    Writing().erase(found);
  }
  const bool fails = Faults().Fails(Seam::FileClose);
  if (!CloseHandle(handle)) return FALSE;
  return fails ? Failed() : TRUE;
}

BOOL WINAPI FaultMoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
  if (!Flushed().count(from)) {
    const std::wstring name = from;
    Faults().unflushedRenames.push_back(std::string(name.begin(), name.end()));
  }
  if (Faults().Fails(Seam::FileReplace)) return Failed();
  return MoveFileExW(from, to, flags);
}

BOOL WINAPI FaultDeleteFileW(LPCWSTR name) {
  if (Faults().Fails(Seam::FileDelete)) return Failed();
  return DeleteFileW(name);
}

DWORD WINAPI FaultGetFileAttributesW(LPCWSTR name) {
  if (Faults().Fails(Seam::FileAttributes)) {
    Failed();
    return INVALID_FILE_ATTRIBUTES;
  }
  return GetFileAttributesW(name);
}

BOOL WINAPI FaultGetFileAttributesExW(LPCWSTR name, GET_FILEEX_INFO_LEVELS level, LPVOID data) {
  if (Faults().Fails(Seam::FileAttributes)) return Failed();
  return GetFileAttributesExW(name, level, data);
}

HANDLE WINAPI FaultFindFirstFileW(LPCWSTR mask, LPWIN32_FIND_DATAW found) {
  if (Faults().Fails(Seam::FileSearch)) {
    Failed();
    return INVALID_HANDLE_VALUE;
  }
  return FindFirstFileW(mask, found);
}

BOOL WINAPI FaultFindNextFileW(HANDLE search, LPWIN32_FIND_DATAW found) {
  if (Faults().Fails(Seam::FileSearch)) return Failed();
  return FindNextFileW(search, found);
}
