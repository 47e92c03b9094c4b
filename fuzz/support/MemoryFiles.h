#pragma once
// The file seam of the fuzz harnesses: files held in memory, so that an input
// costs no system call. Linked in place of the system's file functions; a
// harness puts its input as a file, runs the code, and reads what it wrote.
#include <string>

namespace memory_files {

// The folder CurrentDirectory() reports.
inline constexpr const char* kWorkingFolder = "C:\\Ombrel";

// Creates or replaces the file.
void Put(const std::string& path, std::string bytes);
// The file's bytes, or nullptr when there is no such file. Valid until the next change.
const std::string* Find(const std::string& path);
// Removes every file.
void Clear();

}  // namespace memory_files
