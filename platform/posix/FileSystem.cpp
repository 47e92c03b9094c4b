// Files on a POSIX system: the native build of the core and its tests.
#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

namespace fs_seam {
namespace {

std::string CauseOf(int error) {
  switch (error) {
    case ENOENT: return "File not found";
    case ENOTDIR: return "Path not found";
    case EACCES:
    case EPERM:
    case EROFS: return "File access denied";
    case ENOSPC: return "Disk full";
    case EISDIR: return "File access denied";
    default: return std::strerror(error);
  }
}

// Closes the descriptor when the scope ends.
class Descriptor {
public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { if (fd_ >= 0) ::close(fd_); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() { int fd = fd_; fd_ = -1; return fd; }
private:
  int fd_;
};

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw FileError(CauseOf(errno));
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<uint64_t> FileSize(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

std::string ReadWholeFile(const std::string& path, size_t spare) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) throw FileError(CauseOf(errno));
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) throw FileError(CauseOf(errno));
  if (S_ISDIR(st.st_mode)) throw FileError(CauseOf(EISDIR));
  std::string bytes;
  bytes.reserve(static_cast<size_t>(st.st_size) + spare);
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw FileError(CauseOf(errno));
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  return bytes;
}

void RemoveLeftoverTemporaries(const std::string& path) {
  const std::filesystem::path target(path);
  const std::string prefix = target.filename().string() + ".tmp";
  std::error_code error;
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (name.find_first_not_of("0123456789", prefix.size()) != std::string::npos) continue;
    std::error_code ignored;
    if (entry->is_regular_file(ignored)) std::filesystem::remove(entry->path(), ignored);
  }
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  RemoveLeftoverTemporaries(path);
  std::random_device random;
  std::string temp = path + ".tmp" + std::to_string(random());
  int raw = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (raw < 0) throw FileError(CauseOf(errno));
  Descriptor fd(raw);
  try {
    WriteAll(fd.get(), bytes);
    if (::fsync(fd.get()) != 0) throw FileError(CauseOf(errno));
    if (::close(fd.release()) != 0) throw FileError(CauseOf(errno));
    if (::rename(temp.c_str(), path.c_str()) != 0) throw FileError(CauseOf(errno));
  } catch (...) {
    ::unlink(temp.c_str());
    throw;
  }
}

void AppendToFile(const std::string& path, std::string_view bytes) {
  Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
  if (fd.get() < 0) throw FileError(CauseOf(errno));
  WriteAll(fd.get(), bytes);
  if (::close(fd.release()) != 0) throw FileError(CauseOf(errno));
}

std::vector<std::string> ListNamesWithoutExtension(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == ".." || name.find('.') != std::string::npos) continue;
    names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

std::string CurrentDirectory() {
  std::error_code error;
  auto path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
}

}  // namespace fs_seam
