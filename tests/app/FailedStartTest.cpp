// A start cut short by a failure (a schedule held by another program, a skin
// picture that is not a picture): OK writes over nothing it did not read,
// neither the files nor the monitor's start-up entry.
#include <filesystem>

#include "MainWindowFixture.h"
#include "support/HeldFile.h"

namespace {

using Kind = FakeDialogs::Kind;

const char kSettings[] = "[PAGE1]\r\nUPSPORT=3\r\nRUN_STARTUP_STATUS=1\r\n[PAGE2]\r\n[PAGE3]\r\nLANGUAGE=English\r\n";
const char kSchedule[] = "2024/09/02,SHUTDOWN,22:00,1\r\n2029/09/30,STARTUP,07:15,0\r\n";
const char kNotSaved[] =
    "The settings could not all be read at start, so nothing has been saved. Close the program and start it "
    "again once the files can be read.";
const char kMonitorEntry[] = "C:\\OMBREL\\SPY.EXE";

class FailedStartTest : public MainWindowTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder.File("Languages\\English"));
    folder.Write("Languages\\English\\setup.ini", "");
    WriteSettings(kSettings);
    folder.Write("SCHEDULE.TXT", kSchedule);
    registry.values[{kRunKey, "OMB_SPY"}] = std::string(kMonitorEntry);
  }
  // OK pressed and, were it asked, answered Yes.
  void PressOkAfterTheFailedStart() {
    dialogs.shown.clear();
    PressOk(true);
  }
  void ExpectNothingWritten() {
    EXPECT_EQ(dialogs.shown, (std::vector<FakeDialogs::Shown>{{Kind::Message, kNotSaved}}));
    EXPECT_EQ(folder.Read("omb.ini"), kSettings);
    EXPECT_EQ(folder.Read("SCHEDULE.TXT"), kSchedule);
    EXPECT_EQ(registry.String(kRunKey, "OMB_SPY"), kMonitorEntry);
    EXPECT_EQ(registry.deletions, 0);
    EXPECT_FALSE(registry.Has(kProgramKey, "SETUP"));
    EXPECT_TRUE(WindowOpen());
  }
};

TEST_F(FailedStartTest, ScheduleHeldByAnotherProgramAtStartIsNeverReplaced) {
  {
    HeldFile backup(folder.File("SCHEDULE.TXT"), 0);
    ASSERT_TRUE(backup.Held());
    Start();
  }
  ASSERT_EQ(dialogs.TextsOf(Kind::Error),
            std::vector<std::string>{"Cannot open file " + folder.File("SCHEDULE.TXT") + "."});
  // The file is free again, but what the window holds is not what it holds.
  PressOkAfterTheFailedStart();
  ExpectNothingWritten();
  // Cancel still ends the program.
  dialogs.confirmAnswers = {true};
  Click(form->ButtonCancel);
  EXPECT_FALSE(WindowOpen());
}

TEST_F(FailedStartTest, BrokenSkinPictureKeepsTheStartUpEntryAndEveryFile) {
  std::filesystem::create_directories(folder.File("skin\\setup"));
  folder.Write("skin\\setup\\HeaderSetup.bmp", "not a picture");
  Start();
  ASSERT_EQ(dialogs.TextsOf(Kind::Error), std::vector<std::string>{"Bitmap image is not valid."});
  // The page never showed the stored tick of "Run Ombrel when startup".
  EXPECT_FALSE(Ticked(form->Page1.CheckBox4));
  PressOkAfterTheFailedStart();
  ExpectNothingWritten();
  // Again: the answer stays the same, and nothing is asked.
  PressOkAfterTheFailedStart();
  ExpectNothingWritten();
}

// Reading the settings never fails: the window shows the defaults without a
// word. But they are not the user's settings, and OK must not store them.
TEST_F(FailedStartTest, SettingsHeldByAnotherProgramAtStartAreNeverReplacedByDefaults) {
  {
    HeldFile editor(folder.File("omb.ini"), 0);
    ASSERT_TRUE(editor.Held());
    Start();
  }
  EXPECT_TRUE(dialogs.TextsOf(Kind::Error).empty());
  EXPECT_EQ(form->Page1.ComboBox1.ItemIndex(), 0);  // the default port, not the stored COM 3
  PressOkAfterTheFailedStart();
  ExpectNothingWritten();
}

// The sound start writes as before: the refusal is only for a start cut short.
TEST_F(FailedStartTest, ACompleteStartWritesOnOk) {
  StartQuietly();
  PressOk(true);
  EXPECT_FALSE(WindowOpen());
  EXPECT_EQ(dialogs.TextsOf(Kind::Message), std::vector<std::string>{});
  EXPECT_EQ(registry.Number(kProgramKey, "SETUP"), 1u);
  EXPECT_NE(folder.Read("omb.ini"), kSettings);
}

}  // namespace
