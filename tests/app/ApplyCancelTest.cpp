// OK and Cancel: what is written where, in which order, and what a failure leaves.
#include <filesystem>

#include "MainWindowFixture.h"
#include "settings/TINI.h"
#include "support/HeldFile.h"

namespace {

using Kind = FakeDialogs::Kind;

const char kApplyQuestion[] = "Do you want to apply new setup and exit Program ?";
const char kCancelQuestion[] = "Do you want to cancel setup and exit Program ?";
const char kOldSettings[] = "[PAGE1]\r\nUPSPORT=2\r\n; kept\r\n";

class ApplyCancelTest : public MainWindowTest {
 protected:
  TINI Saved() {
    TINI saved;
    saved.Load(folder.File("omb.ini"));
    return saved;
  }
  bool NothingWritten() {
    return folder.Read("omb.ini") == kOldSettings && !folder.Exists("SCHEDULE.TXT") &&
           registry.values.empty();
  }
};

TEST_F(ApplyCancelTest, OkAnsweredNoChangesNothing) {
  WriteSettings(kOldSettings);
  StartQuietly();
  PressOk(false);
  EXPECT_EQ(dialogs.shown, (std::vector<FakeDialogs::Shown>{{Kind::Confirm, kApplyQuestion}}));
  EXPECT_TRUE(NothingWritten());
  EXPECT_EQ(registry.deletions, 0);
  EXPECT_TRUE(WindowOpen());
}

// Beside no monitor, OK's question says so, and names the folder, before anything is written.
TEST_F(ApplyCancelTest, OkBesideNoMonitorSaysSoInItsQuestion) {
  WriteSettings(kOldSettings);
  std::filesystem::remove(folder.File("SPY.EXE"));
  StartQuietly();
  PressOk(false);
  EXPECT_EQ(dialogs.shown, (std::vector<FakeDialogs::Shown>{
                               {Kind::Confirm, TINI_LANGUAGE().MESSAGE_MONITOR_NOT_IN_FOLDER + " " + folder.Path() +
                                                   "\\\r\n\r\n" + kApplyQuestion}}));
  EXPECT_TRUE(NothingWritten());
}

TEST_F(ApplyCancelTest, OkWithAnEmptyMinuteFieldStopsSilentlyUntilANumberIsTyped) {
  WriteSettings(kOldSettings);
  StartQuietly();
  Empty(form->Page1.Edit1);
  PressOk();
  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_TRUE(NothingWritten());
  EXPECT_TRUE(WindowOpen());

  Type(form->Page1.Edit1, "99");
  PressOk();
  EXPECT_FALSE(WindowOpen());
  EXPECT_EQ(Saved().OVERLOAD_SHUTDOWN_TIME, 99);
}

TEST_F(ApplyCancelTest, OkWithAnEmptyEventLogMaximumStopsAfterTheScheduleFile) {
  WriteSettings(kOldSettings);
  StartQuietly();
  Click(form->Page1.CheckBox4);
  Empty(form->Page3.Edit3);
  PressOk();
  EXPECT_EQ(dialogs.TextsOf(Kind::Error), std::vector<std::string>{"'' is not a valid integer value."});
  EXPECT_TRUE(registry.Has(kRunKey, "OMB_SPY"));
  EXPECT_TRUE(folder.Exists("SCHEDULE.TXT"));
  EXPECT_EQ(folder.Read("omb.ini"), kOldSettings);
  EXPECT_FALSE(registry.Has(kProgramKey, "SETUP"));
  EXPECT_TRUE(WindowOpen());
}

TEST_F(ApplyCancelTest, OkWithNoIntervalSelectedFailsAtThatField) {
  WriteSettings("[PAGE3]\r\nDATALOG_INTERVAL=20\r\n");
  StartQuietly();
  PressOk();
  EXPECT_EQ(dialogs.TextsOf(Kind::Error), std::vector<std::string>{"'' is not a valid integer value."});
  EXPECT_FALSE(registry.Has(kProgramKey, "SETUP"));
  Choose(form->Page3.ComboBox9, 11);
  PressOk();
  EXPECT_EQ(Saved().DATALOG_INTERVAL, 180);
}

TEST_F(ApplyCancelTest, OkTransfersEveryControlAndWritesFilesAndRegistry) {
  std::filesystem::create_directories(folder.File("Languages\\English"));
  std::filesystem::create_directories(folder.File("Languages\\Francais"));
  WriteSettings(
      "[PAGE1]\r\nUPSTYPE=0\r\n[PAGE2]\r\nWEEKLY_SCHEDULE_SHUTDOWN_DAY=0100010\r\n[PAGE3]\r\nSHUTDOWN_"
      "POWEROFF=1\r\n"
      "[DEBUG]\r\nDEBUG_FILE=C:\\trace.dbg\r\n");
  folder.Write("SCHEDULE.TXT", "2024/06/01,STARTUP,07:00,0\r\n2024/05/20,SHUTDOWN,18:30,1\r\n");
  shell.shortPaths[ProgramPath()] = "C:\\PROGRA~1\\OMBREL\\OMBREL~1.EXE";
  StartQuietly();
  TFormMain& f = *form;
  Choose(f.Page1.ComboBox1, 3);
  Click(f.Page1.CheckBox4);
  Empty(f.Page1.Edit1);
  Type(f.Page1.Edit1, "7");
  Click(f.Page1.CheckBox11);  // "Power fail for " ticked
  Empty(f.Page1.Edit2);
  Type(f.Page1.Edit2, "12");
  ToggleTick(f.Page1.CheckListBox1, 0);  // QZ series
  Click(f.Page1.CheckBox2);
  Choose(f.Page1.ComboBox3, 0);
  Click(f.Page1.CheckBox3);
  Click(f.Page2.CheckBox5);       // weekday list editable
  Choose(f.Page2.ComboBox13, 6);  // "07"
  ui::SetWindowText(f.Page2.ComboBox17.TypingTarget(), "5");
  Click(f.Page2.CheckBox10);
  ToggleTick(f.Page2.CheckListBox3, 1);
  ToggleTick(f.Page2.CheckListBox3, 5);
  Click(f.Page2.MarkerStartup);
  Click(f.Page2.CheckBox6);
  Choose(f.Page2.ComboBox11, 0);
  Click(f.Page2.CheckBox8);
  Empty(f.Page3.Edit3);
  Type(f.Page3.Edit3, "1234");
  f.Page3.Edit4.SetText("E:\\log\\EVENTLOG.TXT");
  Click(f.Page3.CheckBox7);
  Click(f.Page3.CheckBox7);
  Empty(f.Page3.Edit5);
  Type(f.Page3.Edit5, "30");
  Choose(f.Page3.ComboBox9, 0);
  f.Page3.Edit6.SetText("E:\\data\\");
  ToggleTick(f.Page3.CheckListBox2, 1);

  PressOk();

  EXPECT_FALSE(WindowOpen());
  EXPECT_EQ(dialogs.shown, (std::vector<FakeDialogs::Shown>{{Kind::Confirm, kApplyQuestion}}));
  EXPECT_EQ(registry.String(kRunKey, "OMB_SPY"), "C:\\PROGRA~1\\OMBREL\\SPY.EXE");
  EXPECT_EQ(registry.Number(kProgramKey, "SETUP"), 1u);
  EXPECT_EQ(folder.Read("SCHEDULE.TXT"), "2024/05/20,SHUTDOWN,18:30,1\r\n2024/06/01,STARTUP,07:00,0\r\n");
  TINI s = Saved();
  EXPECT_EQ(s.UPSPORT, 4);
  EXPECT_TRUE(s.RUN_STARTUP_STATUS);
  EXPECT_TRUE(s.OVERLOAD_SHUTDOWN_STATUS);
  EXPECT_EQ(s.OVERLOAD_SHUTDOWN_TIME, 7);
  EXPECT_TRUE(s.POWERFAIL_SHUTDOWN_STATUS);
  EXPECT_FALSE(s.RUNTIME_ZERO_SHUTDOWN_STATUS);
  EXPECT_EQ(s.BACKUP_TIME, 12);
  EXPECT_EQ(s.UPSTYPE, 3);
  EXPECT_EQ(s.UPSCABLE, 0);
  EXPECT_TRUE(s.POWERFAIL_AUTO_SAVE);
  EXPECT_EQ(s.POWERFAIL_SHUTDOWN_TYPE, 0);
  EXPECT_TRUE(s.POWERFAIL_SHUTDOWN_UPS);
  EXPECT_EQ(s.LAST_SCHEDULE_SETUP_HOUR, 7);
  EXPECT_EQ(s.LAST_SCHEDULE_SETUP_MINUTE, 5);
  EXPECT_TRUE(s.LAST_SCHEDULE_WARNING);
  EXPECT_FALSE(s.LAST_SCHEDULE_CURRENT_DAY_SCHEDULE);
  EXPECT_FALSE(s.LAST_SCHEDULE_SUNDAY);
  EXPECT_TRUE(s.LAST_SCHEDULE_MONDAY);
  EXPECT_TRUE(s.LAST_SCHEDULE_FRIDAY);
  EXPECT_FALSE(s.LAST_SCHEDULE_SATURDAY);
  EXPECT_EQ(s.LAST_SCHEDULE_SETUP_BUTTON, 2);
  EXPECT_TRUE(s.SCHEDULE_AUTO_SAVE);
  EXPECT_EQ(s.SCHEDULE_SHUTDOWN_TYPE, 0);
  EXPECT_TRUE(s.SCHEDULE_SHUTDOWN_UPS);
  EXPECT_EQ(s.EVENTLOG_RECORD, 1234);
  EXPECT_EQ(s.EVENTLOG_LOCATION, "E:\\log\\EVENTLOG.TXT");
  EXPECT_TRUE(s.DATALOG_STATUS);
  EXPECT_EQ(s.DATALOG_DAY, 30);
  EXPECT_EQ(s.DATALOG_INTERVAL, 15);
  EXPECT_EQ(s.DATALOG_LOCATION, "E:\\data\\");
  EXPECT_EQ(s.LANGUAGE, "Francais");
  // Keys no control shows keep their values.
  EXPECT_EQ(s.WEEKLY_SCHEDULE_SHUTDOWN_DAY, "0100010");
  EXPECT_TRUE(s.SHUTDOWN_POWEROFF);
  EXPECT_NE(folder.Read("omb.ini").find("DEBUG_FILE=C:\\trace.dbg"), std::string::npos);
}

TEST_F(ApplyCancelTest, OkKeepsTheStoredSeriesWhenNoRowIsTickedAndStoresNoCableAsTheCable) {
  WriteSettings("[PAGE1]\r\nUPSTYPE=1\r\nUPSCABLE=1\r\n");
  StartQuietly();
  ToggleTick(form->Page1.CheckListBox1, 2);
  ToggleTick(form->Page1.CheckListBox4, 1);
  PressOk();
  EXPECT_EQ(Saved().UPSTYPE, 1);
  EXPECT_EQ(Saved().UPSCABLE, 0);
}

TEST_F(ApplyCancelTest, RunEntryIsQuotedWhenTheShortFormStillHasABlank) {
  shell.shortPaths[ProgramPath()] = "D:\\My Tools\\OmbrelSetup.exe";
  StartQuietly();
  Click(form->Page1.CheckBox4);
  PressOk();
  EXPECT_EQ(registry.String(kRunKey, "OMB_SPY"), "\"D:\\My Tools\\SPY.EXE\"");
}

TEST_F(ApplyCancelTest, RunEntryIsRemovedWhenUnticked) {
  registry.values[{kRunKey, "OMB_SPY"}] = std::string("C:\\OLD\\SPY.EXE");
  StartQuietly();
  PressOk();
  EXPECT_FALSE(registry.Has(kRunKey, "OMB_SPY"));
  EXPECT_TRUE(dialogs.TextsOf(Kind::Error).empty());
  EXPECT_FALSE(WindowOpen());
}

TEST_F(ApplyCancelTest, RefusedRunEntryStopsBeforeAnyFile) {
  registry.refused.insert("OMB_SPY");
  WriteSettings(kOldSettings);
  StartQuietly();
  Click(form->Page1.CheckBox4);
  PressOk();
  EXPECT_EQ(dialogs.TextsOf(Kind::Error), std::vector<std::string>{"Failed to set data for 'OMB_SPY'"});
  EXPECT_TRUE(NothingWritten());
  EXPECT_TRUE(WindowOpen());
}

// Unticked, the entry must go: when it stays, the monitor would still start at
// log-on, and OK must not report success. It goes after both files, so that
// a failure before them never leaves the monitor without its entry over
// files that still say it starts; SETUP then stays unset.
TEST_F(ApplyCancelTest, RefusedRemovalOfTheRunEntryComesAfterBothFilesAndStopsBeforeSetup) {
  registry.refused.insert("OMB_SPY");
  registry.values[{kRunKey, "OMB_SPY"}] = std::string("C:\\OMBREL\\SPY.EXE");
  WriteSettings("[PAGE1]\r\nRUN_STARTUP_STATUS=1\r\n");
  StartQuietly();
  ASSERT_TRUE(Ticked(form->Page1.CheckBox4));
  Click(form->Page1.CheckBox4);
  PressOk();
  EXPECT_EQ(dialogs.TextsOf(Kind::Error), std::vector<std::string>{"Failed to delete data for 'OMB_SPY'"});
  EXPECT_FALSE(Saved().RUN_STARTUP_STATUS);
  EXPECT_TRUE(folder.Exists("SCHEDULE.TXT"));
  EXPECT_TRUE(registry.Has(kRunKey, "OMB_SPY"));
  EXPECT_FALSE(registry.Has(kProgramKey, "SETUP"));
  EXPECT_TRUE(WindowOpen());
}

TEST_F(ApplyCancelTest, RefusedSetupFlagComesAfterBothFiles) {
  registry.refused.insert("SETUP");
  StartQuietly();
  PressOk();
  EXPECT_EQ(dialogs.TextsOf(Kind::Error), std::vector<std::string>{"Failed to set data for 'SETUP'"});
  EXPECT_TRUE(folder.Exists("SCHEDULE.TXT"));
  EXPECT_TRUE(folder.Exists("omb.ini"));
  EXPECT_TRUE(WindowOpen());
  // The event log keeps the failure for whoever audits the PC; an OK that
  // wrote keeps what it changed.
  ASSERT_EQ(eventLog.entries.size(), 1u);
  EXPECT_EQ(eventLog.entries[0].kind, IEventLog::Kind::Error);
  EXPECT_EQ(eventLog.entries[0].text,
            "OK in the Ombrel Setup window\r\nAccount: PC7\\admin\r\nFailed to set data for 'SETUP'");
  registry.refused.clear();
  PressOk();
  ASSERT_EQ(eventLog.entries.size(), 2u);
  EXPECT_EQ(eventLog.entries[1].kind, IEventLog::Kind::Information);
  EXPECT_TRUE(eventLog.entries[1].text.starts_with("OK in the Ombrel Setup window\r\nAccount: PC7\\admin\r\n"))
      << eventLog.entries[1].text;
}

// A Hibernate omb.ini already holds is checked at OK too: the entry warns
// when this PC cannot hibernate, and only then.
TEST_F(ApplyCancelTest, OkWarnsInTheEventLogOfAHibernateThisPcCannotDo) {
  folder.Write("omb.ini", "[PAGE1]\r\nPOWERFAIL_SHUTDOWN_TYPE=2\r\n");
  power = &powerCapabilities;
  for (auto state : {Hibernation::kOff, Hibernation::kAvailable}) {
    powerCapabilities.state = state;
    eventLog.entries.clear();
    StartQuietly();
    PressOk();
    ASSERT_EQ(eventLog.entries.size(), 1u);
    EXPECT_EQ(eventLog.entries[0].text.find("WARNING: POWERFAIL_SHUTDOWN_TYPE=2 is Hibernate") != std::string::npos,
              state != Hibernation::kAvailable)
        << eventLog.entries[0].text;
    TearDown();
  }
}

// An OK stopped by a file it cannot write: the error box with the failure's
// text, SETUP not set, the window open, the old file whole.
class FailedWriteTest : public ApplyCancelTest {
 protected:
  const std::string oldSchedule = "2024/06/01,STARTUP,07:00,0\r\n";
  std::string Path(const std::string& name) { return folder.Path() + "\\" + name; }
  // OK while the file is read-only.
  void PressOkWithReadOnly(const std::string& name) {
    const std::wstring path = AnsiToWide(Path(name));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    PressOk();
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  void StartWithOldFiles() {
    WriteSettings(kOldSettings);
    folder.Write("SCHEDULE.TXT", oldSchedule);
    StartQuietly();
    Click(form->Page1.CheckBox4);
  }
  void ExpectStoppedWith(const std::string& error) {
    EXPECT_EQ(dialogs.TextsOf(Kind::Error), std::vector<std::string>{error});
    EXPECT_FALSE(registry.Has(kProgramKey, "SETUP"));
    EXPECT_TRUE(WindowOpen());
  }
};

TEST_F(FailedWriteTest, ReadOnlySettingsFile) {
  StartWithOldFiles();
  PressOkWithReadOnly("omb.ini");
  ExpectStoppedWith("Unable to write to " + Path("omb.ini") + ": File access denied.");
  EXPECT_EQ(folder.Read("omb.ini"), kOldSettings);
  // What came before the settings file stays done.
  EXPECT_TRUE(registry.Has(kRunKey, "OMB_SPY"));
  EXPECT_NE(folder.Read("SCHEDULE.TXT"), "");
}

// The monitor reading the file without letting it be replaced, for longer
// than the writer waits.
TEST_F(FailedWriteTest, SettingsFileHeldByAnotherProgram) {
  StartWithOldFiles();
  {
    HeldFile monitor(Path("omb.ini"), 0);
    ASSERT_TRUE(monitor.Held());
    PressOk();
  }
  ExpectStoppedWith("Unable to write to " + Path("omb.ini") + ": File in use by another program.");
  EXPECT_EQ(folder.Read("omb.ini"), kOldSettings);
}

TEST_F(FailedWriteTest, ReadOnlyScheduleFileStopsBeforeTheSettingsFile) {
  StartWithOldFiles();
  PressOkWithReadOnly("SCHEDULE.TXT");
  ExpectStoppedWith("Cannot create file " + Path("SCHEDULE.TXT") + ": File access denied.");
  EXPECT_EQ(folder.Read("SCHEDULE.TXT"), oldSchedule);
  EXPECT_EQ(folder.Read("omb.ini"), kOldSettings);
  // Once the file can be written, OK runs through.
  dialogs.shown.clear();
  PressOk();
  EXPECT_FALSE(WindowOpen());
  EXPECT_TRUE(dialogs.TextsOf(Kind::Error).empty());
  EXPECT_EQ(registry.Number(kProgramKey, "SETUP"), 1u);
}

TEST_F(ApplyCancelTest, CancelAsksAndClosesOnlyOnYes) {
  WriteSettings(kOldSettings);
  StartQuietly();
  Click(form->Page1.CheckBox4);
  dialogs.confirmAnswers = {false};
  Click(form->ButtonCancel);
  EXPECT_TRUE(WindowOpen());
  EXPECT_TRUE(Ticked(form->Page1.CheckBox4));
  dialogs.confirmAnswers = {true};
  Click(form->ButtonCancel);
  EXPECT_FALSE(WindowOpen());
  EXPECT_EQ(dialogs.TextsOf(Kind::Confirm), (std::vector<std::string>{kCancelQuestion, kCancelQuestion}));
  EXPECT_TRUE(NothingWritten());
}

TEST_F(ApplyCancelTest, EscapeAsksTheCancelQuestionAndNoKeepsTheWindow) {
  StartQuietly();
  // The second Escape, in the question, answers No.
  dialogs.confirmAnswers = {false};
  Type(form->Page3.Edit3, "\x1b");
  EXPECT_EQ(dialogs.TextsOf(Kind::Confirm), std::vector<std::string>{kCancelQuestion});
  EXPECT_TRUE(WindowOpen());
  EXPECT_EQ(TextOf(form->Page3.Edit3), "50");
  dialogs.confirmAnswers = {true};
  Type(form->Page3.Edit3, "\x1b");
  EXPECT_FALSE(WindowOpen());
}

TEST_F(ApplyCancelTest, ClosingFromTheTitleBarAsksNothingAndWritesNothing) {
  WriteSettings(kOldSettings);
  StartQuietly();
  SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  EXPECT_FALSE(WindowOpen());
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_TRUE(NothingWritten());
  EXPECT_EQ(registry.deletions, 0);
}

}  // namespace
