#pragma once
// A fresh folder under the system's temp folder, removed with everything in it
// when the test ends. Paths are plain std::string, as the program passes them.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// Byte-exact file access by full path that does not go through the code under test.
inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
}
inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ScratchFolder {
public:
  ScratchFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("ombrel-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder itself, without a trailing separator.
  std::string Path() const { return path_.string(); }
  // A name inside the folder.
  std::string File(const std::string& name) const { return (path_ / name).string(); }

  // Writes bytes exactly as given (no line-end translation).
  void Write(const std::string& name, const std::string& bytes) const { WriteFileBytes(File(name), bytes); }
  std::string Read(const std::string& name) const { return ReadFileBytes(File(name)); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }
  // Every name in the folder, for checking that nothing was left behind.
  size_t Count() const {
    size_t count = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(path_)) ++count;
    return count;
  }

private:
  std::filesystem::path path_;
};
