// Close requests and the end of the session at any moment: while a box of the
// start waits, while OK or Cancel asks, while the overview window is open and
// while a detection runs. The program ends without a crash and writes nothing
// the user did not confirm.
#include <functional>

#include "MainWindowFixture.h"
#include "support/RunSoon.h"

namespace {

using Kind = FakeDialogs::Kind;

const char kOldSettings[] = "[PAGE1]\r\nUPSPORT=2\r\n";
const char kOldSchedule[] = "2024/05/20,SHUTDOWN,08:00,0\r\n";

HWND MainWindow() {
  return FindWindowW(nullptr, L"Ombrel Setup Version 7.20");
}

// How a close reaches the window: its close box or another program's
// request, or the end of the session (a log-off).
enum class Request { Close, EndSession };

void Send(Request request) {
  HWND window = MainWindow();
  if (request == Request::Close) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return;
  }
  if (SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF))
    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
}


class CloseRequestTest : public MainWindowTest, public ::testing::WithParamInterface<Request> {
 protected:
  void SetUp() override {
    WriteSettings(kOldSettings);
    folder.Write("SCHEDULE.TXT", kOldSchedule);
    registry.values[{kRunKey, "OMB_SPY"}] = std::string("C:\\OLD\\SPY.EXE");
  }
  // The request arrives while the first box whose text holds `text` waits.
  void RequestCloseDuring(Kind kind, const std::string& text = "") {
    dialogs.whileShown = [this, kind, text](const FakeDialogs::Shown& box) {
      if (!requested_ && box.kind == kind && box.text.find(text) != std::string::npos) {
        requested_ = true;
        Send(GetParam());
      }
      Pump();
    };
  }
  bool NothingWritten() {
    return folder.Read("omb.ini") == kOldSettings && folder.Read("SCHEDULE.TXT") == kOldSchedule &&
           registry.String(kRunKey, "OMB_SPY") == "C:\\OLD\\SPY.EXE" && !registry.Has(kProgramKey, "SETUP") &&
           folder.Count() == 3;  // the two files and the monitor
  }
  bool requested_ = false;
};

// No language file and no skins: nine boxes would wait one after the other.
TEST_P(CloseRequestTest, DuringAStartBoxTheStartEndsWithoutFurtherBoxesAndTheWindowCloses) {
  RequestCloseDuring(Kind::Message);
  Start();
  EXPECT_EQ(dialogs.shown.size(), 1u);
  Pump();
  EXPECT_FALSE(WindowOpen());
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_TRUE(NothingWritten());
}

TEST_P(CloseRequestTest, DuringTheOkQuestionNothingIsWrittenEvenWhenYesFollows) {
  StartQuietly();
  Click(form->Page1.CheckBox4);
  RequestCloseDuring(Kind::Confirm);
  PressOk(true);
  Pump();
  EXPECT_FALSE(WindowOpen());
  EXPECT_TRUE(NothingWritten());
  EXPECT_EQ(registry.deletions, 0);
}

TEST_P(CloseRequestTest, DuringTheErrorBoxOfAFailedOkTheWindowClosesWithNothingMoreWritten) {
  folder.Write("omb.ini", kOldSettings);
  StartQuietly();
  form->Page3.Edit3.SetText("");  // the event-log maximum: OK fails after the schedule
  RequestCloseDuring(Kind::Error);
  PressOk(true);
  Pump();
  EXPECT_FALSE(WindowOpen());
  EXPECT_EQ(folder.Read("omb.ini"), kOldSettings);
  EXPECT_FALSE(registry.Has(kProgramKey, "SETUP"));
}

TEST_P(CloseRequestTest, DuringTheOverviewWindowBothClose) {
  StartQuietly();
  const Request request = GetParam();
  RunSoon([request] { Send(request); });
  Click(form->Page2.ButtonViewAll);
  Pump();
  EXPECT_FALSE(WindowOpen());
  EXPECT_FALSE(IsWindowVisible(viewAll->Handle()));
  EXPECT_TRUE(NothingWritten());
}

TEST_P(CloseRequestTest, DuringTheDetectionQuestionNoRunStarts) {
  StartQuietly();
  comPort->AddUps(1, {"TARVEXI QZ\r\n"});
  RequestCloseDuring(Kind::Warning);
  dialogs.confirmAnswers = {true};
  Click(form->Page1.ButtonAutoDetect);
  Pump();
  EXPECT_FALSE(WindowOpen());
  EXPECT_FALSE(registry.Has(kProgramKey, "RUNNING"));
  EXPECT_EQ(comPort->openings, 0);
  EXPECT_TRUE(NothingWritten());
}

// The ports are let go and the monitor is told so, as at the end of a run.
TEST_P(CloseRequestTest, DuringADetectionRunTheRunEndsAndTheMonitorIsToldThePortsAreFree) {
  StartQuietly();
  comPort->AddSilent(1);
  dialogs.confirmAnswers = {true};
  Click(form->Page1.ButtonAutoDetect);
  if (module->Timer1.Enabled()) KillTimer(module->Timer1.Handle(), 1);
  SendMessageW(module->Timer1.Handle(), WM_TIMER, 1, 0);
  ASSERT_TRUE(module->Timer1.Enabled());
  Send(GetParam());
  Pump();
  EXPECT_FALSE(WindowOpen());
  EXPECT_FALSE(module->Timer1.Enabled());
  EXPECT_FALSE(comPort->Open());
  EXPECT_EQ(registry.Number(kProgramKey, "RUNNING"), 4u);
  EXPECT_TRUE(dialogs.TextsOf(Kind::Message).empty());  // no report
}

TEST_P(CloseRequestTest, DuringTheCancelQuestionTheWindowClosesAsAsked) {
  StartQuietly();
  RequestCloseDuring(Kind::Confirm);
  dialogs.confirmAnswers = {false};
  Click(form->ButtonCancel);
  Pump();
  EXPECT_FALSE(WindowOpen());
  EXPECT_TRUE(NothingWritten());
}

INSTANTIATE_TEST_SUITE_P(Requests, CloseRequestTest, ::testing::Values(Request::Close, Request::EndSession),
                         [](const auto& info) { return info.param == Request::Close ? "Close" : "EndSession"; });

}  // namespace
