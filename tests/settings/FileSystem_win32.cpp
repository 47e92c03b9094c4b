// The Windows file seam in the situations only Windows has: read-only files,
// other programs holding the file, the ANSI code page.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "platform/FileSystem.h"
#include "platform/win32/AnsiText.h"
#include "settings/TINI.h"
#include "support/HeldFile.h"
#include "support/ScratchFolder.h"
#include "util/AppError.h"

using namespace fs_seam;

TEST(FileSeamWindows, ReadOnlyFileIsNotReplaced) {
  ScratchFolder folder;
  folder.Write("omb.ini", "old");
  ASSERT_TRUE(SetFileAttributesW(AnsiToWide(folder.File("omb.ini")).c_str(), FILE_ATTRIBUTE_READONLY));
  try {
    WriteFileAtomically(folder.File("omb.ini"), "new");
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_STREQ(error.what(), "File access denied");
  }
  EXPECT_EQ(folder.Read("omb.ini"), "old");
  EXPECT_EQ(folder.Count(), 1u);
  SetFileAttributesW(AnsiToWide(folder.File("omb.ini")).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileSeamWindows, ReplaceWaitsForAReaderThatLetsGoSoon) {
  ScratchFolder folder;
  folder.Write("omb.ini", "old");
  // A reader that does not allow deleting the file.
  HeldFile reader(folder.File("omb.ini"), FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_TRUE(reader.Held());
  std::thread letGo([&] {
    Sleep(60);
    reader.Release();
  });
  EXPECT_NO_THROW(WriteFileAtomically(folder.File("omb.ini"), "new"));
  letGo.join();
  EXPECT_EQ(folder.Read("omb.ini"), "new");
  EXPECT_EQ(folder.Count(), 1u);
}

TEST(FileSeamWindows, ReaderThatHoldsOnMakesTheWriteFailCleanly) {
  ScratchFolder folder;
  folder.Write("omb.ini", "old");
  // Readers that do not allow deleting the file.
  for (DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
    HeldFile reader(folder.File("omb.ini"), share);
    ASSERT_TRUE(reader.Held());
    try {
      WriteFileAtomically(folder.File("omb.ini"), "new");
      ADD_FAILURE() << "no error with sharing " << share;
    } catch (const FileError& error) {
      EXPECT_STREQ(error.what(), "File in use by another program") << "sharing " << share;
    }
    reader.Release();
    EXPECT_EQ(folder.Read("omb.ini"), "old");
    EXPECT_EQ(folder.Count(), 1u);
  }
}

// A reader that lets the file be deleted: the write either replaces the file
// while the reader keeps the whole old one, or reports the file in use.
TEST(FileSeamWindows, ReaderThatAllowsDeletingSeesTheWholeOldFile) {
  ScratchFolder folder;
  const std::string old(100000, 'o');
  folder.Write("omb.ini", old);
  HANDLE reader = CreateFileW(AnsiToWide(folder.File("omb.ini")).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  bool replaced = true;
  try {
    WriteFileAtomically(folder.File("omb.ini"), "new");
  } catch (const FileError& error) {
    EXPECT_STREQ(error.what(), "File in use by another program");
    replaced = false;
  }
  std::string seen(old.size() + 1, '\0');
  DWORD read = 0;
  ASSERT_TRUE(ReadFile(reader, seen.data(), static_cast<DWORD>(seen.size()), &read, nullptr));
  seen.resize(read);
  CloseHandle(reader);
  EXPECT_EQ(seen, old);
  EXPECT_EQ(folder.Read("omb.ini"), replaced ? "new" : old);
  EXPECT_EQ(folder.Count(), 1u);
}

TEST(FileSeamWindows, ReplacedFileKeepsItsHiddenAndSystemMarks) {
  ScratchFolder folder;
  folder.Write("omb.ini", "old");
  folder.Write("SCHEDULE.TXT", "old");
  const std::wstring settings = AnsiToWide(folder.File("omb.ini"));
  ASSERT_TRUE(SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  WriteFileAtomically(folder.File("omb.ini"), "new");
  WriteFileAtomically(folder.File("SCHEDULE.TXT"), "new");
  WriteFileAtomically(folder.File("new.txt"), "new");
  EXPECT_EQ(folder.Read("omb.ini"), "new");
  const DWORD kMarks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  EXPECT_EQ(GetFileAttributesW(settings.c_str()) & kMarks, kMarks);
  EXPECT_EQ(GetFileAttributesW(AnsiToWide(folder.File("SCHEDULE.TXT")).c_str()) & kMarks, 0u);
  EXPECT_EQ(GetFileAttributesW(AnsiToWide(folder.File("new.txt")).c_str()) & kMarks, 0u);
  SetFileAttributesW(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Names are compared as the system compares them: without regard to case.
TEST(FileSeamWindows, LeftoversAreFoundInAnyCase) {
  ScratchFolder folder;
  folder.Write("OMB.INI.TMP42", "half");
  WriteFileAtomically(folder.File("omb.ini"), "new");
  EXPECT_FALSE(folder.Exists("OMB.INI.TMP42"));
  EXPECT_EQ(folder.Count(), 1u);
}

TEST(FileSeamWindows, ReadsAFileThatAnotherProgramIsWriting) {
  ScratchFolder folder;
  folder.Write("omb.ini", "content");
  HANDLE writer = CreateFileW(AnsiToWide(folder.File("omb.ini")).c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadWholeFile(folder.File("omb.ini")), "content");
  CloseHandle(writer);
}

TEST(FileSeamWindows, PathsAreInTheAnsiCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "needs code page 1252";
  ScratchFolder folder;
  const std::string name =
      "Fran\xE7"
      "ais";  // "Français" in code page 1252
  ASSERT_TRUE(CreateDirectoryW((AnsiToWide(folder.Path()) + L"\\Fran\u00E7ais").c_str(), nullptr));
  const std::string inside = folder.Path() + "\\" + name;  // std::filesystem would take it for UTF-8
  EXPECT_TRUE(DirectoryExists(inside));
  EXPECT_EQ(ListNamesWithoutExtension(folder.Path()), std::vector<std::string>{name});
  WriteFileAtomically(inside + "\\setup.ini", "x");
  EXPECT_EQ(ReadWholeFile(inside + "\\setup.ini"), "x");
}

TEST(FileSeamWindows, ErrorsNameTheCause) {
  ScratchFolder folder;
  auto causeOfReading = [](const std::string& path) {
    try {
      ReadWholeFile(path);
    } catch (const FileError& error) {
      return std::string(error.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(causeOfReading(folder.File("none.ini")), "File not found");
  EXPECT_EQ(causeOfReading(folder.File("none") + "\\x.ini"), "Path not found");
  EXPECT_EQ(causeOfReading(folder.Path()), "File access denied");
}

TEST(TINIWindows, DriveRootAsWorkingFolderDoublesTheBackslash) {
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\"));
  TINI settings;
  settings.Load("C:\\no-such-folder-for-ombrel\\omb.ini");
  SetCurrentDirectoryW(before);
  EXPECT_EQ(settings.EVENTLOG_LOCATION, "C:\\\\Eventlog.txt");
  EXPECT_EQ(settings.DATALOG_LOCATION, "C:\\\\DATALOG\\");
}

TEST(TINIWindows, ReadOnlySettingsFileStaysAsItWas) {
  ScratchFolder folder;
  folder.Write("omb.ini", "[PAGE1]\r\nUPSPORT=2\r\n");
  SetFileAttributesW(AnsiToWide(folder.File("omb.ini")).c_str(), FILE_ATTRIBUTE_READONLY);
  TINI settings;
  settings.Load(folder.File("omb.ini"));
  settings.UPSPORT = 5;
  EXPECT_THROW(settings.Save(), AppError);
  SetFileAttributesW(AnsiToWide(folder.File("omb.ini")).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(folder.Read("omb.ini"), "[PAGE1]\r\nUPSPORT=2\r\n");
}
