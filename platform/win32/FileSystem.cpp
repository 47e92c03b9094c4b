// Files on Windows: paths are ANSI bytes, converted to UTF-16 for the W functions.
#include "platform/FileSystem.h"

#include <windows.h>

#include <chrono>
#include <random>
#include <thread>

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

DWORD AttributesOf(const std::string& path) {
  return GetFileAttributesW(AnsiToWide(path).c_str());
}

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// Temporary files are named "<file>.tmp<digits>", beside the file they replace.
const std::wstring kTemporaryMark = L".tmp";

// Creates a new file beside the target, so that the final rename stays on one
// volume, with the attributes given. A name left over from an earlier crash is
// skipped, not reused.
HANDLE CreateTemporaryBeside(const std::wstring& target, DWORD attributes, std::wstring& name) {
  std::random_device random;
  for (int attempt = 0;; ++attempt) {
    name = target + kTemporaryMark + std::to_wstring(random() % 1000000);
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS || attempt == 10) return file;
  }
}

// True when name is one of target's temporary files: target's own name (in
// any case, as the system compares names), ".tmp" and digits only.
bool IsTemporaryOf(const std::wstring& targetName, const std::wstring& name) {
  const std::wstring prefix = targetName + kTemporaryMark;
  if (name.size() <= prefix.size()) return false;
  if (CompareStringOrdinal(name.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                           static_cast<int>(prefix.size()), TRUE) != CSTR_EQUAL)
    return false;
  for (size_t i = prefix.size(); i < name.size(); ++i)
    if (name[i] < L'0' || name[i] > L'9') return false;
  return true;
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

// Puts the temporary file in the target's place in one rename, which replaces
// the old file whole: at every instant the target is either the old file or
// the new one, never missing (a kill or a power cut included).
void MoveIntoPlace(const std::wstring& temporary, const std::wstring& target) {
  using Clock = std::chrono::steady_clock;
  const auto giveUp = Clock::now() + std::chrono::milliseconds(500);
  for (;;) {
    if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
    const DWORD error = GetLastError();
    if (!IsPassingConflict(error) || Clock::now() >= giveUp)
      Fail(error == ERROR_ACCESS_DENIED && HeldByAnotherProgram(target) ? ERROR_SHARING_VIOLATION : error);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// What the new file keeps of the old one's attributes: hidden, system and not
// indexed, as the user set them. The archive mark is the system's: a changed
// file is marked for the next backup. A new file has none of them.
DWORD AttributesForReplacing(DWORD old) {
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD kept = old == INVALID_FILE_ATTRIBUTES ? 0 : old & kKept;
  return kept ? kept | FILE_ATTRIBUTE_ARCHIVE : FILE_ATTRIBUTE_NORMAL;
}

}  // namespace

bool FileExists(const std::string& path) {
  DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<uint64_t> FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(AnsiToWide(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string ReadWholeFile(const std::string& path, size_t spare) {
  // Full sharing: the monitor may read or rewrite the file while we hold it.
  Handle file(CreateFileW(AnsiToWide(path).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) FailWithLastError();
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

void RemoveLeftoverTemporaries(const std::string& path) {
  const std::wstring target = AnsiToWide(path);
  const size_t nameStart = target.find_last_of(L"\\/:") + 1;  // 0 without a folder
  const std::wstring folder = target.substr(0, nameStart), name = target.substr(nameStart);
  WIN32_FIND_DATAW found{};
  Search search(FindFirstFileW((target + kTemporaryMark + L"*").c_str(), &found));
  if (!search.Valid()) return;
  do {
    // One that cannot be removed (another copy of the program writing it) stays.
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsTemporaryOf(name, found.cFileName))
      DeleteFileW((folder + found.cFileName).c_str());
  } while (FindNextFileW(search.Get(), &found));
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  // A read-only file is one the user does not want changed, and a folder is
  // not ours to replace.
  DWORD attributes = AttributesOf(path);
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    Fail(ERROR_ACCESS_DENIED);

  // What a write cut short by a kill or a power cut left behind goes first.
  RemoveLeftoverTemporaries(path);
  std::wstring target = AnsiToWide(path);
  std::wstring temporary;
  Handle file(CreateTemporaryBeside(target, AttributesForReplacing(attributes), temporary));
  if (!file.Valid()) FailWithLastError();
  try {
    WriteAll(file.Get(), bytes);
    if (!FlushFileBuffers(file.Get())) FailWithLastError();
    if (!file.Close()) FailWithLastError();
    MoveIntoPlace(temporary, target);
  } catch (...) {
    file.Close();
    DeleteFileW(temporary.c_str());
    throw;
  }
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
  if (!search.Valid()) return names;
  do {
    std::string name = WideToAnsi(found.cFileName);
    // The mask may also match through a short 8.3 name; keep only names that
    // really have no extension.
    if (name == "." || name == ".." || name.find('.') != std::string::npos) continue;
    names.push_back(name);
  } while (FindNextFileW(search.Get(), &found));
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
