// The file rules every platform shares: reading a whole file, replacing a
// file in one step through a temporary, and the temporaries' clean-up, built
// on the system's calls (FileCalls.h).
#include "platform/FileSystem.h"

#include <random>
#include <utility>

#include "platform/FileCalls.h"

namespace fs_seam {
namespace {

FileCalls* replacement = nullptr;

FileCalls& Calls() {
  return replacement ? *replacement : SystemFileCalls();
}

// Temporary files are named "<file>.tmp<digits>", beside the file they replace.
constexpr std::string_view kTemporaryMark = ".tmp";

bool OnlyDigitsAfter(const std::string& name, size_t start) {
  return name.size() > start && name.find_first_not_of("0123456789", start) == std::string::npos;
}

// A new temporary beside the target, so that the final rename stays on one
// volume. A name left over from an earlier crash is skipped, not reused.
std::unique_ptr<NewFile> CreateTemporaryBeside(FileCalls& calls, const std::string& target, uint32_t keptMarks,
                                               std::string& name) {
  std::random_device random;
  for (int attempt = 0; attempt <= 10; ++attempt) {
    name = target + std::string(kTemporaryMark) + std::to_string(random() % 1000000);
    if (auto file = calls.CreateNew(name, keptMarks)) return file;
  }
  throw FileError("File exists");
}

}  // namespace

FileCalls* UseFileCalls(FileCalls* calls) {
  return std::exchange(replacement, calls);
}

bool FileExists(const std::string& path) {
  try {
    const FileEntry entry = Calls().Inspect(path);
    return entry.exists && !entry.folder;
  } catch (const FileError&) {
    return false;
  }
}

bool DirectoryExists(const std::string& path) {
  try {
    const FileEntry entry = Calls().Inspect(path);
    return entry.exists && entry.folder;
  } catch (const FileError&) {
    return false;
  }
}

std::string ReadWholeFile(const std::string& path, size_t spare) {
  return Calls().Read(path, spare);
}

void RemoveLeftoverTemporaries(const std::string& path) {
  FileCalls& calls = Calls();
  const std::string prefix = path + std::string(kTemporaryMark);
  for (const std::string& found : calls.StartingWith(prefix))
    if (OnlyDigitsAfter(found, prefix.size())) calls.Remove(found);
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  FileCalls& calls = Calls();
  // A read-only file is one the user does not want changed, and a folder is
  // not ours to replace. A target the system cannot tell about is not written.
  const FileEntry old = calls.Inspect(path);
  if (old.folder || old.readOnly) throw FileError("File access denied");

  // What a write cut short by a kill or a power cut left behind goes first.
  RemoveLeftoverTemporaries(path);
  std::string temporary;
  std::unique_ptr<NewFile> file = CreateTemporaryBeside(calls, path, old.exists ? old.keptMarks : 0, temporary);
  try {
    file->Write(bytes);
    // On the disk before the rename: after a power cut the file is old or
    // new, never new and empty.
    file->Flush();
    file->Close();
    calls.Replace(temporary, path);
  } catch (const FileError& failure) {
    file.reset();
    try {
      calls.Remove(temporary);
    } catch (const FileError& left) {
      throw FileError(std::string(failure.what()) + "; " + temporary + " remains: " + left.what());
    }
    throw;
  } catch (...) {
    file.reset();
    try {
      calls.Remove(temporary);
    } catch (const FileError&) {
    }
    throw;
  }
}

void FlushFolder(const std::string& folder) {
  Calls().FlushFolder(folder);
}

}  // namespace fs_seam
