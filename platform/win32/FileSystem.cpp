// Files on Windows: paths are ANSI bytes, converted to UTF-16 for the W functions.
#include "platform/FileSystem.h"

#include "platform/FileCalls.h"

#include <windows.h>

#include <chrono>
#include <thread>
#include <utility>

#include "platform/win32/AnsiText.h"
#include "platform/win32/Handle.h"

namespace fs_seam {
namespace {

// The system's words for an error, in the short form a user knows for the common ones.
std::string CauseOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return "File not found";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return "Path not found";
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return "File access denied";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return "File in use by another program";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return "Disk full";
    default:
      break;
  }
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) return "System error " + std::to_string(error);
  return WideToAnsi(text);
}

[[noreturn]] void Fail(DWORD error) {
  throw FileError(CauseOf(error));
}
[[noreturn]] void FailWithLastError() {
  Fail(GetLastError());
}

// Ends a FindFirstFileW search when the scope ends.
class Search {
public:
  explicit Search(HANDLE handle) : handle_(handle) {}
  ~Search() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

private:
  HANDLE handle_;
};

void WriteAll(HANDLE file, std::string_view bytes) {
  constexpr size_t kChunk = 1u << 30;
  while (!bytes.empty()) {
    DWORD chunk = static_cast<DWORD>(bytes.size() < kChunk ? bytes.size() : kChunk);
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) FailWithLastError();
    if (written == 0) Fail(ERROR_WRITE_FAULT);
    bytes.remove_prefix(written);
  }
}

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// Only these two say a file is not there; access denied, a sharing
// violation, a file pending deletion or a network error are a file that could
// not be read.
bool IsNotFound(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Another program that holds the file open (the monitor reading it, a virus
// scanner) blocks the replace for a moment.
bool IsPassingConflict(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// True when another program has the file open. Windows refuses to rename over
// an open file with "access denied", the same words as for a file the user may
// not change; this tells the two apart.
bool HeldByAnotherProgram(const std::wstring& path) {
  Handle probe(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return !probe.Valid() && GetLastError() == ERROR_SHARING_VIOLATION;
}

// A new file being written; its closing is checked, as a network volume
// reports a deferred write error there.
class Win32NewFile : public NewFile {
public:
  explicit Win32NewFile(HANDLE file) : file_(file) {}
  ~Win32NewFile() override {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  void Write(std::string_view bytes) override { WriteAll(file_, bytes); }
  void Flush() override {
    if (!FlushFileBuffers(file_)) FailWithLastError();
  }
  void Close() override {
    if (!CloseHandle(std::exchange(file_, INVALID_HANDLE_VALUE))) FailWithLastError();
  }

private:
  HANDLE file_;
};

class Win32FileCalls : public FileCalls {
public:
  std::string Read(const std::string& path, size_t spare) override {
    // Full sharing: the monitor may read or rewrite the file while we hold it.
    Handle file(CreateFileW(AnsiToWide(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
      const DWORD error = GetLastError();
      if (IsNotFound(error)) throw FileNotFound(CauseOf(error));
      Fail(error);
    }
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0)
      bytes.reserve(static_cast<size_t>(size.QuadPart) + spare);
    char buffer[1 << 16];
    for (;;) {
      DWORD read = 0;
      if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) FailWithLastError();
      if (read == 0) break;
      bytes.append(buffer, read);
    }
    return bytes;
  }

  FileEntry Inspect(const std::string& path) override {
    const DWORD attributes = GetFileAttributesW(AnsiToWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      const DWORD error = GetLastError();
      if (IsNotFound(error)) return {};
      Fail(error);
    }
    // What the new file keeps of the old one's attributes: hidden, system and
    // not indexed, as the user set them. The archive mark is the system's: a
    // changed file is marked for the next backup.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    return {true, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, (attributes & FILE_ATTRIBUTE_READONLY) != 0,
            attributes & kKept};
  }

  std::unique_ptr<NewFile> CreateNew(const std::string& path, uint32_t keptMarks) override {
    const DWORD attributes = keptMarks ? keptMarks | FILE_ATTRIBUTE_ARCHIVE : FILE_ATTRIBUTE_NORMAL;
    HANDLE file =
        CreateFileW(AnsiToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    if (file != INVALID_HANDLE_VALUE) return std::make_unique<Win32NewFile>(file);
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS) return nullptr;
    Fail(error);
  }

  // One rename, which replaces the old file whole: at every instant the
  // target is either the old file or the new one, never missing.
  void Replace(const std::string& from, const std::string& to) override {
    const std::wstring temporary = AnsiToWide(from), target = AnsiToWide(to);
    using Clock = std::chrono::steady_clock;
    const auto giveUp = Clock::now() + std::chrono::milliseconds(500);
    for (;;) {
      if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return;
      const DWORD error = GetLastError();
      if (!IsPassingConflict(error) || Clock::now() >= giveUp)
        Fail(error == ERROR_ACCESS_DENIED && HeldByAnotherProgram(target) ? ERROR_SHARING_VIOLATION : error);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  void Remove(const std::string& path) override {
    if (DeleteFileW(AnsiToWide(path).c_str())) return;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) Fail(error);
  }

  std::vector<std::string> StartingWith(const std::string& prefix) override {
    const std::wstring wide = AnsiToWide(prefix);
    const size_t nameStart = wide.find_last_of(L"\\/:") + 1;  // 0 without a folder
    const std::wstring folder = wide.substr(0, nameStart), start = wide.substr(nameStart);
    std::vector<std::string> paths;
    WIN32_FIND_DATAW found{};
    Search search(FindFirstFileW((wide + L"*").c_str(), &found));
    if (!search.Valid()) {
      const DWORD error = GetLastError();
      if (IsNotFound(error)) return paths;
      Fail(error);
    }
    do {
      // The mask also matches through short 8.3 names: keep the names that
      // really begin so, in any case, as the system compares names.
      const std::wstring name = found.cFileName;
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() >= start.size() &&
          CompareStringOrdinal(name.c_str(), static_cast<int>(start.size()), start.c_str(),
                               static_cast<int>(start.size()), TRUE) == CSTR_EQUAL)
        paths.push_back(WideToAnsi(folder + name));
    } while (FindNextFileW(search.Get(), &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) FailWithLastError();
    return paths;
  }

  // Windows has no call for a folder's entries alone; the folder's handle,
  // flushed, writes out its metadata on NTFS when the program may open the
  // folder for writing. Refused, the rename is still whole, only not yet
  // certain to outlive a power cut.
  void FlushFolder(const std::string& folder) override {
    Handle handle(CreateFileW(AnsiToWide(folder).c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle.Valid()) FlushFileBuffers(handle.Get());
  }
};

}  // namespace

FileCalls& SystemFileCalls() {
  static Win32FileCalls calls;
  return calls;
}

std::optional<uint64_t> FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(AnsiToWide(path).c_str(), GetFileExInfoStandard, &data)) {
    const DWORD error = GetLastError();
    if (IsNotFound(error)) return std::nullopt;
    Fail(error);
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void AppendToFile(const std::string& path, std::string_view bytes) {
  Handle file(CreateFileW(AnsiToWide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) FailWithLastError();
  WriteAll(file.Get(), bytes);
  if (!file.Close()) FailWithLastError();
}

std::vector<std::string> ListNamesWithoutExtension(const std::string& folder) {
  std::string mask = folder;
  if (!mask.empty() && !IsSeparator(mask.back())) mask += '\\';
  mask += "*.";
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  Search search(FindFirstFileW(AnsiToWide(mask).c_str(), &found));
  if (!search.Valid()) {
    const DWORD error = GetLastError();
    if (IsNotFound(error)) return names;
    Fail(error);
  }
  do {
    std::string name = WideToAnsi(found.cFileName);
    // The mask may also match through a short 8.3 name; keep only names that
    // really have no extension.
    if (name == "." || name == ".." || name.find('.') != std::string::npos) continue;
    names.push_back(name);
  } while (FindNextFileW(search.Get(), &found));
  if (GetLastError() != ERROR_NO_MORE_FILES) FailWithLastError();
  return names;
}

std::string CurrentDirectory() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return WideToAnsi(buffer);
    }
    buffer.resize(length);
  }
}

}  // namespace fs_seam
