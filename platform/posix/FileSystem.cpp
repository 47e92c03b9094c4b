// Files on a POSIX system: the native build of the core and its tests.
#include "platform/FileSystem.h"

#include "platform/FileCalls.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

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

// A new file being written.
class PosixNewFile : public NewFile {
public:
  explicit PosixNewFile(int fd) : fd_(fd) {}
  void Write(std::string_view bytes) override { WriteAll(fd_.get(), bytes); }
  void Flush() override {
    if (::fsync(fd_.get()) != 0) throw FileError(CauseOf(errno));
  }
  void Close() override {
    if (::close(fd_.release()) != 0) throw FileError(CauseOf(errno));
  }

private:
  Descriptor fd_;
};

class PosixFileCalls : public FileCalls {
public:
  std::string Read(const std::string& path, size_t spare) override {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
      const int error = errno;
      if (error == ENOENT) throw FileNotFound(CauseOf(error));
      throw FileError(CauseOf(error));
    }
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

  FileEntry Inspect(const std::string& path) override {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
      if (errno == ENOENT || errno == ENOTDIR) return {};
      throw FileError(CauseOf(errno));
    }
    return {true, S_ISDIR(st.st_mode), false, 0};
  }

  std::unique_ptr<NewFile> CreateNew(const std::string& path, uint32_t) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) return std::make_unique<PosixNewFile>(fd);
    if (errno == EEXIST) return nullptr;
    throw FileError(CauseOf(errno));
  }

  void Replace(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) throw FileError(CauseOf(errno));
  }

  void Remove(const std::string& path) override {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) throw FileError(CauseOf(errno));
  }

  std::vector<std::string> StartingWith(const std::string& prefix) override {
    const std::filesystem::path start(prefix);
    const std::string folder = start.has_parent_path() ? start.parent_path().string() : ".";
    const std::string name = start.filename().string();
    std::vector<std::string> paths;
    std::error_code error;
    std::filesystem::directory_iterator entry(folder, error), end;
    if (error == std::errc::no_such_file_or_directory) return paths;
    for (; !error && entry != end; entry.increment(error)) {
      const std::string found = entry->path().filename().string();
      std::error_code ignored;
      if (found.compare(0, name.size(), name) == 0 && entry->is_regular_file(ignored))
        paths.push_back((start.parent_path() / found).string());
    }
    if (error) throw FileError(CauseOf(error.value()));
    return paths;
  }

  void FlushFolder(const std::string& folder) override {
    Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) ::fsync(fd.get());
  }
};

}  // namespace

FileCalls& SystemFileCalls() {
  static PosixFileCalls calls;
  return calls;
}

std::optional<uint64_t> FileSize(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    throw FileError(CauseOf(errno));
  }
  if (!S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
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
  if (!dir) {
    if (errno == ENOENT || errno == ENOTDIR) return names;
    throw FileError(CauseOf(errno));
  }
  errno = 0;
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == ".." || name.find('.') != std::string::npos) continue;
    names.push_back(name);
  }
  const int error = errno;
  ::closedir(dir);
  if (error) throw FileError(CauseOf(error));
  return names;
}

std::string CurrentDirectory() {
  std::error_code error;
  auto path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
}

}  // namespace fs_seam
