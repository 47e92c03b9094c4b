#pragma once
// Files as the program needs them. Paths and contents are bytes in the
// system's ANSI code page; the Windows implementation converts at the edge.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fs_seam {

// A file operation failed; what() is the cause as the system reports it,
// in the short words a user knows ("File access denied", "Path not found").
class FileError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The file is not there: opening it said so ("File not found", "Path not
// found"). Any other failure, of the open or of anything before it, is a file
// that could not be read, which is not the same: a file that is there but
// cannot be read must never be taken for a missing one and replaced.
class FileNotFound : public FileError {
public:
  using FileError::FileError;
};

// An existing file, not a folder; an existing folder. False also when the
// system cannot tell: for a look before a read or a write, read or write and
// take the answer from there instead.
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// The size of an existing file, in bytes; none for a folder or nothing there.
// Throws FileError when the system cannot tell.
std::optional<uint64_t> FileSize(const std::string& path);

// The whole file. Throws FileNotFound when it is missing, FileError when it
// cannot be read.
// spare: bytes of room reserved beyond the file's size, so that the caller
// can add that much without the bytes being copied to a larger block.
std::string ReadWholeFile(const std::string& path, size_t spare = 0);

// Replaces (or creates) the file in one step: the new bytes go to a temporary
// file in the same folder ("<path>.tmp<digits>"), are flushed, then take the
// old file's place in one rename, so that the file is at every instant whole,
// old or new, even when the program is killed. On failure the old file is
// untouched, the temporary file is gone (or, when the system refuses to remove
// it, named in the error), and FileError is thrown. Temporary files of the
// path left by an earlier write that was cut short are removed first.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Removes what writes of the file cut short by a kill or a power cut left
// behind: its temporary files "<path>.tmp<digits>" and nothing else. Throws
// FileError when the search or a removal fails.
void RemoveLeftoverTemporaries(const std::string& path);

// Makes the folder's entries (the renames just done in it) reach the disk
// where the system allows it; where it does not, nothing happens.
void FlushFolder(const std::string& folder);

// Adds bytes at the end of the file, creating it when missing. Throws FileError.
void AppendToFile(const std::string& path, std::string_view bytes);

// Names in the folder without an extension (the mask "*."), of every
// attribute, without "." and "..", in the order the system lists them.
// A missing folder gives an empty list; one that cannot be listed throws
// FileError, as a list cut short would pass for the folder's contents.
std::vector<std::string> ListNamesWithoutExtension(const std::string& folder);

// The process's current working folder: no trailing backslash except at a drive root.
std::string CurrentDirectory();

}  // namespace fs_seam
