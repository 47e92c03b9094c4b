// The "Auto Detect UPS" button and a detection run as the main window shows
// it, with simulated ports; the test delivers the timer's ticks itself.
#include <string>

#include "MainWindowFixture.h"
#include "support/FakeDosDevices.h"

namespace {

constexpr char kQuestion[] =
    "Detect UPS Communication port will take 5 - 30 seconds ! Do you want to continue ?";

std::string Line(int port, const std::string& suffix) {
  return " PORT : " + std::to_string(port) + suffix + "\r\n";
}

class DetectionTest : public MainWindowTest {
 protected:
  // Presses the button and answers its question.
  void PressAutoDetect(bool answer) {
    dialogs.confirmAnswers.push_back(answer);
    Click(form->Page1.ButtonAutoDetect);
    // From here on the test is the clock: the system timer would add ticks
    // of its own whenever a step takes long.
    if (module->Timer1.Enabled()) KillTimer(module->Timer1.Handle(), 1);
  }
  void Tick(int times = 1) {
    for (int i = 0; i < times; ++i) {
      ASSERT_TRUE(module->Timer1.Enabled()) << "tick after the run ended";
      SendMessageW(module->Timer1.Handle(), WM_TIMER, 1, 0);
      comPort->Deliver();
      Pump();
    }
  }
  // Ticks until the report box has shown; how many ticks that took.
  int TicksToReport() {
    const size_t before = dialogs.TextsOf(FakeDialogs::Kind::Message).size();
    for (int ticks = 1; ticks <= 200 && module->Timer1.Enabled(); ++ticks) {
      Tick();
      if (dialogs.TextsOf(FakeDialogs::Kind::Message).size() > before) return ticks;
    }
    return 0;
  }
  std::string Report() const { return dialogs.TextsOf(FakeDialogs::Kind::Message).back(); }
  uint32_t Running() const { return registry.Number(kProgramKey, "RUNNING"); }
  // The cursor the window shows over one of its controls.
  HCURSOR CursorOver(const ui::Control& control) {
    SetCursor(nullptr);
    SendMessageW(control.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(control.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  }
  static HCURSOR Hourglass() { return LoadCursorW(nullptr, IDC_WAIT); }
};

TEST_F(DetectionTest, NoToTheWarningChangesNothing) {
  StartQuietly();
  comPort->AddUps(1, {"TARVEXI QZ\r\n"});
  PressAutoDetect(false);

  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0], (FakeDialogs::Shown{FakeDialogs::Kind::Warning, kQuestion}));
  EXPECT_FALSE(registry.Has(kProgramKey, "RUNNING"));
  EXPECT_TRUE(wait.waits.empty());
  EXPECT_EQ(comPort->openings, 0);
  EXPECT_FALSE(module->Timer1.Enabled());
  EXPECT_NE(CursorOver(form->Page1.ButtonAutoDetect), Hourglass());
}

TEST_F(DetectionTest, AQzUpsOnPortOneIsReportedOnTickNineteenAndPreselected) {
  WriteSettings("[PAGE1]\r\nUPSPORT=5\r\nUPSTYPE=0\r\n");
  StartQuietly();
  TFormMain& f = *form;
  comPort->AddUps(1, {"#TARVEXI QZ", " 1.00\r\n"});
  comPort->AddSilent(2);

  PressAutoDetect(true);
  EXPECT_EQ(Running(), 3u);
  EXPECT_EQ(wait.waits, std::vector<unsigned>{3000});
  EXPECT_TRUE(module->Timer1.Enabled());
  EXPECT_EQ(module->Timer1.Interval(), 1000u);
  EXPECT_EQ(CursorOver(f.Page1.ButtonAutoDetect), Hourglass());
  EXPECT_EQ(CursorOver(f.Page1.ComboBox1), Hourglass());
  // The overview window, which View All opens meanwhile, shows it too.
  EXPECT_EQ(CursorOver(viewAll->ListView1), Hourglass());
  EXPECT_EQ(CursorOver(viewAll->ButtonClose), Hourglass());

  Tick();
  EXPECT_EQ(TextOf(f.Page1.ComboBox1), "COM 1");
  Tick();
  EXPECT_EQ(TextOf(f.Page1.ComboBox1), "COM 2");  // the port being probed shows
  EXPECT_TRUE(f.Page1.CheckListBox1.Checked(1));  // nothing preselected before the report
  EXPECT_EQ(TicksToReport() + 2, 19);

  std::string expected = Line(1, " <== QZ Series") + Line(2, " <== Empty");
  for (int n = 3; n <= 8; ++n) expected += Line(n, " Cannot use this port");
  EXPECT_EQ(Report(), expected);
  EXPECT_EQ(Running(), 4u);
  EXPECT_FALSE(module->Timer1.Enabled());
  EXPECT_FALSE(module->ComPort1.Open());
  EXPECT_NE(CursorOver(f.Page1.ButtonAutoDetect), Hourglass());
  EXPECT_NE(CursorOver(viewAll->ListView1), Hourglass());

  // Port and series preselected, the page adapted as to a user's tick of "QZ series".
  EXPECT_EQ(TextOf(f.Page1.ComboBox1), "COM 1");
  EXPECT_TRUE(f.Page1.CheckListBox1.Checked(0));
  EXPECT_FALSE(f.Page1.CheckListBox1.Checked(1));
  EXPECT_FALSE(On(f.Page2.MarkerTest));
  EXPECT_FALSE(On(f.Page2.Label29));
  EXPECT_FALSE(On(f.Page1.CheckListBox4));
  EXPECT_TRUE(dialogs.TextsOf(FakeDialogs::Kind::Error).empty());

  // OK stores what was found.
  PressOk();
  TINI saved;
  saved.Load(folder.File("omb.ini"));
  EXPECT_EQ(saved.UPSPORT, 1);
  EXPECT_EQ(saved.UPSTYPE, 3);
}

TEST_F(DetectionTest, ADryContactTicksTheGenericSeriesWithItsRules) {
  StartQuietly();
  TFormMain& f = *form;
  comPort->AddSilent(2);
  comPort->AddSilent(3);
  comPort->devices[3].dsr = true;
  PressAutoDetect(true);
  ASSERT_NE(TicksToReport(), 0);

  EXPECT_NE(Report().find(Line(3, " <== Dry contact")), std::string::npos);
  EXPECT_EQ(TextOf(f.Page1.ComboBox1), "COM 3");
  EXPECT_TRUE(f.Page1.CheckListBox1.Checked(3));
  EXPECT_FALSE(f.Page1.CheckListBox1.Checked(1));
  EXPECT_FALSE(On(f.Page1.CheckBox1));
  EXPECT_FALSE(On(f.Page3.CheckBox7));
  EXPECT_TRUE(Ticked(f.Page1.CheckBox9));
  EXPECT_TRUE(On(f.Page1.CheckListBox4));
}

TEST_F(DetectionTest, WhenNothingIsFoundThePortListStaysOnTheLastPortProbedAndTheSeriesStays) {
  StartQuietly();
  TFormMain& f = *form;
  comPort->AddSilent(2);
  comPort->AddSilent(6);
  PressAutoDetect(true);
  ASSERT_NE(TicksToReport(), 0);

  EXPECT_EQ(Report().substr(Report().size() - 18), "\r\n UPS NOT FOUND !");
  EXPECT_EQ(TextOf(f.Page1.ComboBox1), "COM 6");
  EXPECT_TRUE(f.Page1.CheckListBox1.Checked(1));
  EXPECT_TRUE(On(f.Page2.MarkerTest));
  EXPECT_EQ(Running(), 4u);
}

TEST_F(DetectionTest, PressingTheButtonDuringARunStartsItOver) {
  StartQuietly();
  comPort->AddSilent(1);
  PressAutoDetect(true);
  Tick(5);
  ASSERT_EQ(comPort->ProbesTo(1), 5);
  registry.values.clear();

  PressAutoDetect(true);
  EXPECT_EQ(Running(), 3u);
  EXPECT_EQ(wait.waits.size(), 2u);
  EXPECT_EQ(module->Detection().TickCount(), 0);
  EXPECT_TRUE(module->Timer1.Enabled());
  Tick(11);  // the first port gets all its probes again
  EXPECT_EQ(comPort->ProbesTo(1), 5 + 11);
  EXPECT_EQ(module->Detection().CurrentPort(), 2);
}

TEST_F(DetectionTest, ARunThatCannotStartLeavesNothingBusy) {
  StartQuietly();
  comPort->AddSilent(1);
  registry.refused.insert("RUNNING");
  PressAutoDetect(true);

  EXPECT_EQ(dialogs.TextsOf(FakeDialogs::Kind::Error),
            std::vector<std::string>{"Failed to set data for 'RUNNING'"});
  EXPECT_FALSE(module->Timer1.Enabled());
  EXPECT_FALSE(module->ComPort1.Open());
  EXPECT_NE(CursorOver(form->Page1.ButtonAutoDetect), Hourglass());
}

TEST_F(DetectionTest, WhenNothingIsFoundTheReportNamesThePortsBeyondCom8InTheLanguageShown) {
  std::filesystem::create_directories(folder.File("Languages\\Deutsch"));
  folder.Write("Languages\\Deutsch\\setup.ini",
               "[MESSAGE]\r\nMESSAGE_PORTS_BEYOND_COM8=Weitere:\r\nMESSAGE_PORTS_COM1_TO_COM8_ONLY=Nur 1 bis 8.\r\n");
  WriteSettings("[PAGE3]\r\nLANGUAGE=Deutsch\r\n");
  FakeDosDevices devices;
  devices.names = {"C:", "COM3", "COM12", "LPT1", "COM9"};
  StartQuietly();
  services->dosDevices = &devices;
  comPort->AddSilent(3);
  PressAutoDetect(true);
  ASSERT_NE(TicksToReport(), 0);

  std::string expected;
  for (int n = 1; n <= 8; ++n) expected += Line(n, n == 3 ? " <== Empty" : " Cannot use this port");
  expected += "\r\n UPS NOT FOUND !\r\n Weitere: COM9, COM12\r\n Nur 1 bis 8.";
  EXPECT_EQ(Report(), expected);

  // Ports up to COM8 only, or a UPS found: the report is as it always was.
  devices.names = {"COM1", "COM3", "COM8"};
  PressAutoDetect(true);
  ASSERT_NE(TicksToReport(), 0);
  EXPECT_EQ(Report().substr(Report().size() - 18), "\r\n UPS NOT FOUND !");
  devices.names = {"COM3", "COM11"};
  comPort->AddUps(5, {"TARVEXI Velto\r\n"});
  PressAutoDetect(true);
  ASSERT_NE(TicksToReport(), 0);
  EXPECT_EQ(Report().find("COM11"), std::string::npos);
  const std::string last = Line(8, " Cannot use this port");
  EXPECT_EQ(Report().substr(Report().size() - last.size()), last);
}

}  // namespace
