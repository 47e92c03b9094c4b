// The file seam over files held in memory (see MemoryFiles.h). There are no
// folders: a path names a file or nothing.
#include <map>

#include "fuzz/support/MemoryFiles.h"
#include "platform/FileSystem.h"

namespace {

std::map<std::string, std::string>& Files() {
  static std::map<std::string, std::string> files;
  return files;
}

}  // namespace

namespace memory_files {

void Put(const std::string& path, std::string bytes) {
  Files()[path] = std::move(bytes);
}

const std::string* Find(const std::string& path) {
  const auto found = Files().find(path);
  return found == Files().end() ? nullptr : &found->second;
}

void Clear() {
  Files().clear();
}

}  // namespace memory_files

namespace fs_seam {

bool FileExists(const std::string& path) {
  return memory_files::Find(path) != nullptr;
}

bool DirectoryExists(const std::string&) {
  return false;
}

std::optional<uint64_t> FileSize(const std::string& path) {
  const std::string* bytes = memory_files::Find(path);
  if (!bytes) return std::nullopt;
  return bytes->size();
}

std::string ReadWholeFile(const std::string& path, size_t spare) {
  const std::string* bytes = memory_files::Find(path);
  if (!bytes) throw FileNotFound("File not found");
  std::string copy;
  copy.reserve(bytes->size() + spare);
  return copy.append(*bytes);
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  memory_files::Put(path, std::string(bytes));
}

void RemoveLeftoverTemporaries(const std::string&) {}  // writes here leave nothing behind

void FlushFolder(const std::string&) {}

void AppendToFile(const std::string& path, std::string_view bytes) {
  Files()[path] += bytes;
}

std::vector<std::string> ListNamesWithoutExtension(const std::string&) {
  return {};
}

std::string CurrentDirectory() {
  return memory_files::kWorkingFolder;
}

}  // namespace fs_seam
