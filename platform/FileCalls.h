#pragma once
// The system's own file calls, from which the file rules of FileSystem.h
// (reading, replacing a file in one step, the temporaries) are built once for
// every platform. One set per system; the tests put one that keeps files in
// memory in their place.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace fs_seam {

// What the system says is at a path.
struct FileEntry {
  bool exists = false;
  bool folder = false;
  bool readOnly = false;
  uint32_t keptMarks = 0;  // the marks a replacement keeps (hidden, system, ...); the system's own bits
};

// A new file being written. Destroyed without Close, it is closed unchecked.
class NewFile {
public:
  virtual ~NewFile() = default;
  virtual void Write(std::string_view bytes) = 0;  // every byte, or FileError
  virtual void Flush() = 0;                        // to the disk, or FileError
  virtual void Close() = 0;                        // FileError when the system reports a late write error
};

class FileCalls {
public:
  virtual ~FileCalls() = default;
  // FileNotFound when the open says the file is not there; FileError otherwise.
  virtual std::string Read(const std::string& path, size_t spare) = 0;
  // FileError when the system cannot tell.
  virtual FileEntry Inspect(const std::string& path) = 0;
  // A new file that did not exist, with the marks given; nullptr when the
  // name is taken, FileError for any other failure.
  virtual std::unique_ptr<NewFile> CreateNew(const std::string& path, uint32_t keptMarks) = 0;
  // Renames from over to in one step, waiting briefly for another program
  // that holds the target; FileError when it does not happen.
  virtual void Replace(const std::string& from, const std::string& to) = 0;
  // Removes a file; FileError when it stays (a missing file is removed).
  virtual void Remove(const std::string& path) = 0;
  // The paths that begin with prefix (in the folder of prefix, compared as the
  // system compares names); FileError when the folder cannot be searched.
  virtual std::vector<std::string> StartingWith(const std::string& prefix) = 0;
  // Makes the folder's entries durable where the system allows; silent.
  virtual void FlushFolder(const std::string& folder) = 0;
};

// The calls of the system the program runs on.
FileCalls& SystemFileCalls();

// Puts calls in the place of the system's for every file rule, until the
// returned previous set is put back (nullptr: the system's).
FileCalls* UseFileCalls(FileCalls* calls);

}  // namespace fs_seam
