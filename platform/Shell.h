#pragma once
// What the program asks of the operating system's shell and file names.
#include <string>

class IShell {
public:
  virtual ~IShell() = default;
  // The shell's "open" of a file by name; false when the shell reports that
  // it could not open it (no such file, no program for its type).
  virtual bool Open(const std::string& file) = 0;
  // The short (8.3) form of an existing path, at most 256 characters.
  virtual std::string ShortPath(const std::string& path) = 0;
};
