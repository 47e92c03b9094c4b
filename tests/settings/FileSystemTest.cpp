// The file seam, run against the native implementation and, under Wine,
// against the Windows one.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/FileSystem.h"
#include "support/ScratchFolder.h"

using namespace fs_seam;

TEST(FileSeam, ExistenceTellsFilesFromFolders) {
  ScratchFolder folder;
  folder.Write("file", "x");
  EXPECT_TRUE(FileExists(folder.File("file")));
  EXPECT_FALSE(DirectoryExists(folder.File("file")));
  EXPECT_TRUE(DirectoryExists(folder.Path()));
  EXPECT_FALSE(FileExists(folder.Path()));
  EXPECT_FALSE(FileExists(folder.File("none")));
  EXPECT_FALSE(DirectoryExists(folder.File("none")));
}

TEST(FileSeam, ReadsEveryByte) {
  ScratchFolder folder;
  std::string bytes;
  for (int i = 0; i < 300000; ++i) bytes += static_cast<char>(i % 251);
  folder.Write("data", bytes);
  EXPECT_EQ(ReadWholeFile(folder.File("data")), bytes);
  folder.Write("empty", "");
  EXPECT_EQ(ReadWholeFile(folder.File("empty")), "");
  EXPECT_THROW(ReadWholeFile(folder.File("none")), FileError);
  EXPECT_THROW(ReadWholeFile(folder.Path()), FileError);
}

TEST(FileSeam, AtomicWriteCreatesAndReplacesLeavingNothingBehind) {
  ScratchFolder folder;
  WriteFileAtomically(folder.File("omb.ini"), "first\r\n");
  EXPECT_EQ(folder.Read("omb.ini"), "first\r\n");
  WriteFileAtomically(folder.File("omb.ini"), std::string("second\0", 7));
  EXPECT_EQ(folder.Read("omb.ini"), std::string("second\0", 7));
  WriteFileAtomically(folder.File("omb.ini"), "");
  EXPECT_EQ(folder.Read("omb.ini"), "");
  EXPECT_EQ(folder.Count(), 1u);
}

TEST(FileSeam, FailedAtomicWriteLeavesNoTrace) {
  ScratchFolder folder;
  try {
    WriteFileAtomically(folder.File("missing") + "/omb.ini", "x");
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_STRNE(error.what(), "");
  }
  std::filesystem::create_directory(folder.File("taken"));
  EXPECT_THROW(WriteFileAtomically(folder.File("taken"), "x"), FileError);
  EXPECT_TRUE(DirectoryExists(folder.File("taken")));
  EXPECT_EQ(folder.Count(), 1u);
}

// A write cut short by a kill leaves its temporary file; the next write of
// the same file removes such leftovers, and nothing that only looks like one.
TEST(FileSeam, WriteRemovesOnlyTheFilesLeftOverByEarlierWritesOfTheSameFile) {
  ScratchFolder folder;
  folder.Write("omb.ini", "old");
  folder.Write("omb.ini.tmp123456", "half of a new file");
  folder.Write("omb.ini.tmp7", "");
  const std::vector<std::string> others = {"omb.ini.tmp",       "omb.ini.tmp12a", "omb.ini.tmp.bak",
                                           "omb.ini.tmp9.old", "xomb.ini.tmp5",  "omb.ini2.tmp5",
                                           "SCHEDULE.TXT.tmp55"};
  for (const auto& name : others) folder.Write(name, "not ours to remove");
  std::filesystem::create_directory(folder.File("omb.ini.tmp8"));

  WriteFileAtomically(folder.File("omb.ini"), "new");
  EXPECT_EQ(folder.Read("omb.ini"), "new");
  EXPECT_FALSE(folder.Exists("omb.ini.tmp123456"));
  EXPECT_FALSE(folder.Exists("omb.ini.tmp7"));
  for (const auto& name : others) EXPECT_EQ(folder.Read(name), "not ours to remove") << name;
  EXPECT_TRUE(DirectoryExists(folder.File("omb.ini.tmp8")));
  EXPECT_EQ(folder.Count(), 1 + others.size() + 1);

  // Also on their own, for a file that is not written now.
  RemoveLeftoverTemporaries(folder.File("SCHEDULE.TXT"));
  EXPECT_FALSE(folder.Exists("SCHEDULE.TXT.tmp55"));
  EXPECT_EQ(folder.Count(), others.size() + 1);
  RemoveLeftoverTemporaries(folder.File("missing") + "/omb.ini");  // nothing to do, nothing reported
}

TEST(FileSeam, AppendAddsAtTheEndAndCreatesTheFile) {
  ScratchFolder folder;
  AppendToFile(folder.File("log"), "one\r\n");
  AppendToFile(folder.File("log"), "two\r\n");
  EXPECT_EQ(folder.Read("log"), "one\r\ntwo\r\n");
  EXPECT_THROW(AppendToFile(folder.File("missing") + "/log", "x"), FileError);
}

TEST(FileSeam, ListsOnlyNamesWithoutExtension) {
  ScratchFolder folder;
  std::filesystem::create_directory(folder.File("English"));
  std::filesystem::create_directory(folder.File("Deutsch"));
  std::filesystem::create_directory(folder.File("old.lang"));
  folder.Write("README", "");
  folder.Write("setup.ini", "");
  folder.Write("LongerThanEight.x", "");
  for (const std::string& path : {folder.Path(), folder.Path() + "/"}) {
    std::vector<std::string> names = ListNamesWithoutExtension(path);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Deutsch", "English", "README"})) << path;
  }
  EXPECT_TRUE(ListNamesWithoutExtension(folder.File("missing")).empty());
#ifndef _WIN32
  // A folder the system cannot open is not an empty one (Wine resolves a
  // link to itself as nothing there).
  std::filesystem::create_directory_symlink(folder.File("loop"), folder.File("loop"));
  EXPECT_THROW(ListNamesWithoutExtension(folder.File("loop")), FileError);
#endif
}

TEST(FileSeam, CurrentDirectoryIsAnExistingFolder) {
  std::string current = CurrentDirectory();
  ASSERT_FALSE(current.empty());
  EXPECT_TRUE(DirectoryExists(current));
}
