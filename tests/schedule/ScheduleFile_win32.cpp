// Files the schedule store cannot read or replace on Windows.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/AnsiText.h"
#include "schedule/PlainSchedule.h"
#include "schedule/TSchedule.h"
#include "support/HeldFile.h"
#include "support/ScratchFolder.h"
#include "util/AppError.h"

namespace {

using Lines = std::vector<std::string>;

std::string ErrorText(TSchedule& store, void (TSchedule::*operation)()) {
  try {
    (store.*operation)();
  } catch (const AppError& error) {
    return error.what();
  }
  return "no error";
}

TEST(ScheduleFileWindows, FileHeldByAnotherProgramCannotBeReadAndChangesNothing) {
  ScratchFolder folder;
  TSchedule store;
  store.Kind = "SHUTDOWN";
  store.SetEvent("2024/05/17", "08:30", true);
  store.FilePath = folder.File("SCHEDULE.TXT");
  WriteFileBytes(store.FilePath, "2024/06/01,STARTUP,07:00,0\r\n");
  HeldFile hold(store.FilePath, 0);
  ASSERT_TRUE(hold.Held());
  EXPECT_EQ(ErrorText(store, &TSchedule::LoadSchedule), "Cannot open file " + store.FilePath);
  EXPECT_EQ(LinesOf(store), (Lines{"2024/05/17,SHUTDOWN,08:30,1"}));
}

TEST(ScheduleFileWindows, FailedSaveLeavesTheOldFileWhole) {
  ScratchFolder folder;
  TSchedule store;
  store.FilePath = folder.File("SCHEDULE.TXT");
  const std::string old = "2024/06/01,STARTUP,07:00,0\r\n";
  WriteFileBytes(store.FilePath, old);
  store.Kind = "SHUTDOWN";
  store.SetEvent("2024/05/17", "08:30", true);
  {
    HeldFile hold(store.FilePath, 0);
    ASSERT_TRUE(hold.Held());
    EXPECT_EQ(ErrorText(store, &TSchedule::SaveSchedule),
              "Cannot create file " + store.FilePath + ": File in use by another program");
  }
  EXPECT_EQ(ReadFileBytes(store.FilePath), old);

  SetFileAttributesW(AnsiToWide(store.FilePath).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ErrorText(store, &TSchedule::SaveSchedule), "Cannot create file " + store.FilePath + ": File access denied");
  SetFileAttributesW(AnsiToWide(store.FilePath).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFileBytes(store.FilePath), old);

  int names = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) ++names;
  EXPECT_EQ(names, 1);
  store.SaveSchedule();
  EXPECT_EQ(ReadFileBytes(store.FilePath), "2024/05/17,SHUTDOWN,08:30,1\r\n");
}

}  // namespace
