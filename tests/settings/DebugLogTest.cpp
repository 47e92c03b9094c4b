#include <gtest/gtest.h>

#include "settings/DebugLog.h"
#include "support/FakeClock.h"
#include "support/ScratchFolder.h"
#include "util/AppError.h"

namespace {

const LocalDateTime kMoment{2026, 12, 6, 14, 52, 9, 0};

class DebugLog : public ::testing::Test {
protected:
  DebugLog() {
    settings.DEBUG_LOG = true;
    settings.DEBUG_FILE = folder.File("debug.dbg");
  }
  ScratchFolder folder;
  TINI settings;
  FakeClock clock{kMoment};
};

}  // namespace

TEST_F(DebugLog, AppendsOneDatedLinePerCall) {
  WriteDebugLine(settings, "TEST VALUE OF DAY", "procedure TFormMain.Button1Click(Sender: TObject)", clock);
  EXPECT_EQ(folder.Read("debug.dbg"),
            "06/12/2026 , 14:52:09 , TEST VALUE OF DAY ,  Function name : "
            "procedure TFormMain.Button1Click(Sender: TObject)\r\n");

  FakeClock early({987, 1, 2, 3, 4, 5, 0}, '.', '-');
  WriteDebugLine(settings, "second", "f", early);
  EXPECT_EQ(folder.Read("debug.dbg"),
            "06/12/2026 , 14:52:09 , TEST VALUE OF DAY ,  Function name : "
            "procedure TFormMain.Button1Click(Sender: TObject)\r\n"
            "02.01.0987 , 03-04-05 , second ,  Function name : f\r\n");
}

TEST_F(DebugLog, KeepsWhatTheFileAlreadyHolds) {
  folder.Write("debug.dbg", "older line without end");
  WriteDebugLine(settings, "m", "f", clock);
  EXPECT_EQ(folder.Read("debug.dbg"),
            "older line without end06/12/2026 , 14:52:09 , m ,  Function name : f\r\n");
}

TEST_F(DebugLog, OffMeansNoFileIsTouched) {
  settings.DEBUG_LOG = false;
  settings.DEBUG_FILE = folder.File("no-such-folder") + "/debug.dbg";
  EXPECT_NO_THROW(WriteDebugLine(settings, "m", "f", clock));
  EXPECT_EQ(folder.Count(), 0u);
}

TEST_F(DebugLog, FailureCarriesTheSystemsCause) {
  settings.DEBUG_FILE = folder.File("no-such-folder") + "/debug.dbg";
  try {
    WriteDebugLine(settings, "m", "f", clock);
    FAIL() << "no error";
  } catch (const AppError& error) {
#ifdef _WIN32
    EXPECT_STREQ(error.what(), "Path not found");
#else
    EXPECT_STRNE(error.what(), "");
#endif
  }
  settings.DEBUG_FILE = folder.Path();  // a folder cannot be opened for adding
  try {
    WriteDebugLine(settings, "m", "f", clock);
    FAIL() << "no error";
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), "File access denied");
  }
  EXPECT_EQ(folder.Count(), 0u);
}
