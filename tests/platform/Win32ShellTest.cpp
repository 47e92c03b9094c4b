#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/AnsiText.h"
#include "platform/win32/Win32Shell.h"

namespace {

std::string TempFolder() {
  wchar_t path[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, path);
  return WideToAnsi(path);
}

// A folder made for the test and removed with it.
class ScopedFolder {
 public:
  explicit ScopedFolder(std::string path) : path_(std::move(path)) {
    CreateDirectoryW(AnsiToWide(path_).c_str(), nullptr);
  }
  ~ScopedFolder() { RemoveDirectoryW(AnsiToWide(path_).c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

bool Exists(const std::string& path) {
  return GetFileAttributesW(AnsiToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(Win32Shell, ShortPathOfAFolderWithBlanksHasNoBlanksAndNamesTheSameFolder) {
  ScopedFolder folder(TempFolder() + "Ombrel Program Folder");
  ScopedFolder inner(folder.path() + "\\Another long name");
  ASSERT_TRUE(Exists(inner.path()));

  const std::string shortPath = Win32Shell().ShortPath(inner.path() + "\\");

  EXPECT_EQ(shortPath.find(' '), std::string::npos) << shortPath;
  EXPECT_EQ(shortPath.back(), '\\');
  EXPECT_LE(shortPath.size(), 256u);
  // It leads back to the same folder.
  wchar_t longPath[MAX_PATH] = {};
  ASSERT_NE(GetLongPathNameW(AnsiToWide(shortPath).c_str(), longPath, MAX_PATH), 0u);
  EXPECT_EQ(lstrcmpiW(longPath, AnsiToWide(inner.path() + "\\").c_str()), 0) << WideToAnsi(longPath);
}

TEST(Win32Shell, ShortPathOfAPathTheSystemCannotShortenIsThePathItself) {
  const std::string missing = TempFolder() + "No such folder\\file name.exe";
  EXPECT_EQ(Win32Shell().ShortPath(missing), missing);
}

}  // namespace
