// The schedule page as a user works it: calendar cells clicked, month and year
// rows picked, times typed, marker buttons and commands pressed; checked on
// the markers (above or beneath the calendar, and their colours on screen),
// the time labels, the messages, and what OK writes.
#include <map>

#include "MainWindowFixture.h"
#include "settings/TINI.h"

namespace {

using Kind = FakeDialogs::Kind;
constexpr int kRed = 0, kLime = 1, kBlue = 2;
const COLORREF kColours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};

class SchedulePageTest : public MainWindowTest {
 protected:
  // Starts on the given day with the schedule page active; shown on screen
  // only when asked, as hiding a shown window costs time under Wine.
  void StartOn(int year, int month, int day, bool onScreen = false) {
    clock = FakeClock(LocalDateTime{year, month, day, 10, 30, 0, 0});
    StartQuietly();
    if (onScreen) form->Show();
    form->PageControl1.SetActive(1);
    Pump();
  }
  void PressMarker(ui::MarkerButton& marker) {
    if (!marker.Down()) Click(marker);
  }
  void ReleaseMarkers() {
    for (ui::MarkerButton* marker : {&form->Page2.MarkerShutdown, &form->Page2.MarkerStartup, &form->Page2.MarkerTest})
      if (marker->Down()) Click(*marker);
  }
  void SetCurrentDay(bool on) {
    if (Ticked(form->Page2.CheckBox5) != on) Click(form->Page2.CheckBox5);
  }
  void WriteSchedule(const std::string& lines) { folder.Write("SCHEDULE.TXT", lines); }

  HWND Page() const { return form->PageControl1.Page(1).Handle(); }

  // A left click at the centre of the day's cell, through the message loop.
  void ClickDay(int day) {
    const ui::DayCell cell = form->Page2.Calendar1.FindDayCell(day);
    const RECT rect = form->Page2.Calendar1.CellRect(cell.column, cell.weekRow + 1);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(form->Page2.Calendar1.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(form->Page2.Calendar1.Handle(), WM_LBUTTONUP, 0, at);
    Pump();
  }

  // Drops the list down and clicks its row, as a user picks with the mouse.
  void PickRow(ui::ComboBox& box, int row) {
    SendMessageW(box.Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    Pump();
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(box.Handle(), &info);
    SendMessageW(info.hwndList, LB_SETTOPINDEX, row, 0);
    RECT item{};
    SendMessageW(info.hwndList, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    PostMessageW(info.hwndList, WM_MOUSEMOVE, 0, at);
    PostMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(info.hwndList, WM_LBUTTONUP, 0, at);
    Pump();
  }
  // Steps through the closed list with the arrow keys, as a user does with the focus on it.
  void Step(ui::ComboBox& box, WPARAM key, int times) {
    SetFocus(box.Handle());
    for (int i = 0; i < times; ++i) PostMessageW(box.Handle(), WM_KEYDOWN, key, 1);
    Pump();
  }
  // Picks month (1 to 12) and year with the mouse.
  void ShowMonth(int month, int year) {
    PickRow(form->Page2.ComboBox8, year - 2000);
    PickRow(form->Page2.ComboBox7, month - 1);
  }

  void SetBoxText(ui::ComboBox& box, const std::string& text) {
    SendMessageW(box.TypingTarget(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Type(box.TypingTarget(), text);
  }
  void SetWeekdays(const std::string& mask) {
    for (int row = 0; row < 7; ++row)
      if (form->Page2.CheckListBox3.Checked(row) != (mask[row] == '1')) ToggleTick(form->Page2.CheckListBox3, row);
  }

  // A marker shows in its cell (on whatever page is up).
  bool Shown(int set, int cell) const { return form->Page2.Calendar1.MarkShown(set, cell); }
  // The days of the shown month whose marker of a set shows.
  std::vector<int> MarkedDays(int set) const {
    std::vector<int> days;
    for (int day = 1; day <= 31; ++day) {
      const ui::DayCell cell = form->Page2.Calendar1.FindDayCell(day);
      const int index = ui::CellIndex(cell.column, cell.weekRow);
      if (day <= module->ADateTime1.MaxDayOfMonth(form->Page2.Calendar1.Month(), form->Page2.Calendar1.Year()) &&
          Shown(set, index))
        days.push_back(day);
    }
    return days;
  }
  int ShownCount() const {
    int count = 0;
    for (int set = 0; set < 3; ++set)
      for (int cell = 1; cell <= ui::kMarkedCells; ++cell) count += Shown(set, cell);
    return count;
  }
  // The colour on screen at a point of the schedule page.
  COLORREF ScreenColour(int x, int y) {
    UpdateWindow(form->Handle());
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    POINT at{x, y};
    ClientToScreen(Page(), &at);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
  }
  // The colours on screen in the marker places of a cell: top, middle, bottom.
  std::vector<COLORREF> CellColours(int cell) {
    const int left = 6 + 52 * ((cell - 1) % 7), top = 54 + 24 * ((cell - 1) / 7);
    return {ScreenColour(left + 7, top + 4), ScreenColour(left + 7, top + 12),
            ScreenColour(left + 7, top + 20)};
  }

  std::string Times() const {
    return TextOf(form->Page2.Label2) + " | " + TextOf(form->Page2.Label19) + " | " + TextOf(form->Page2.Label21);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (size_t i = 0; i < form->Schedule()->Count(); ++i) lines.emplace_back(form->Schedule()->Line(i));
    return lines;
  }
};

TEST_F(SchedulePageTest, ThreeKindsOnADayStackRedLimeBlueInItsCell) {
  WriteSchedule(
      "2024/05/17,TESTUPS,21:05,0\r\n"
      "2024/05/17,SHUTDOWN,08:30,1\r\n"
      "2024/05/17,STARTUP,07:00,0\r\n");
  StartOn(2024, 5, 17, true);
  // 17 May 2024 is a Friday in the third week row: cell 20.
  EXPECT_EQ(ShownCount(), 3);
  EXPECT_TRUE(Shown(kRed, 20) && Shown(kLime, 20) && Shown(kBlue, 20));
  EXPECT_EQ(CellColours(20), (std::vector<COLORREF>{kColours[kRed], kColours[kLime], kColours[kBlue]}));
  EXPECT_EQ(CellColours(19), (std::vector<COLORREF>(3, RGB(255, 255, 255))));
  EXPECT_EQ(Times(), "08:30 | 07:00 | 21:05");
  ClickDay(16);
  EXPECT_EQ(Times(), "Not define | Not define | Not define");
}

TEST_F(SchedulePageTest, ADatedEventOverridesTheWeeklyTimeOfItsKind) {
  WriteSettings(
      "[PAGE2]\r\nWEEKLY_SCHEDULE_SHUTDOWN_DAY=0100010\r\nWEEKLY_SCHEDULE_SHUTDOWN_HOUR=7\r\n"
      "WEEKLY_SCHEDULE_SHUTDOWN_MINUTE=5\r\n");
  WriteSchedule("2024/05/17,SHUTDOWN,23:15,0\r\n");
  StartOn(2024, 5, 17);
  // Mondays and Fridays of May 2024, the 17th among them, once.
  EXPECT_EQ(MarkedDays(kRed), (std::vector<int>{3, 6, 10, 13, 17, 20, 24, 27, 31}));
  EXPECT_EQ(ShownCount(), 9);
  EXPECT_EQ(TextOf(form->Page2.Label2), "23:15");
  ClickDay(24);
  EXPECT_EQ(TextOf(form->Page2.Label2), "07:05");
  ClickDay(21);  // a Tuesday
  EXPECT_EQ(TextOf(form->Page2.Label2), "Not define");
}

TEST_F(SchedulePageTest, WeeklyMondayAndFridayAppliedMarksEveryMondayAndFridayOfEachMonthShown) {
  StartOn(2024, 5, 17);
  SetCurrentDay(false);
  PressMarker(form->Page2.MarkerShutdown);
  SetWeekdays("0100010");
  SetBoxText(form->Page2.ComboBox13, "22");
  SetBoxText(form->Page2.ComboBox17, "45");
  Click(form->Page2.ButtonApply);
  EXPECT_EQ(form->Settings()->WEEKLY_SCHEDULE_SHUTDOWN_DAY, "0100010");
  EXPECT_EQ(MarkedDays(kRed), (std::vector<int>{3, 6, 10, 13, 17, 20, 24, 27, 31}));
  EXPECT_EQ(Times(), "22:45 | Not define | Not define");
  ClickDay(21);
  EXPECT_EQ(TextOf(form->Page2.Label2), "Not define");
  ShowMonth(6, 2024);
  EXPECT_EQ(MarkedDays(kRed), (std::vector<int>{3, 7, 10, 14, 17, 21, 24, 28}));
  EXPECT_TRUE(Lines().empty());
}

TEST_F(SchedulePageTest, LastDaysTakeTheirCellsAndAMonthChangeHidesThePreviousMarkers) {
  WriteSchedule(
      "2022/01/31,TESTUPS,01:00,0\r\n"
      "2021/02/28,SHUTDOWN,02:00,0\r\n"
      "2015/02/28,STARTUP,03:00,0\r\n");
  StartOn(2024, 5, 17);
  EXPECT_EQ(ShownCount(), 0);
  ShowMonth(1, 2022);  // the 1st a Saturday: day 31 in cell 37
  EXPECT_TRUE(Shown(kBlue, 37));
  EXPECT_EQ(ShownCount(), 1);
  ShowMonth(2, 2021);  // the 1st a Monday
  EXPECT_TRUE(Shown(kRed, 29));
  EXPECT_EQ(ShownCount(), 1);
  ShowMonth(2, 2015);  // the 1st a Sunday
  EXPECT_TRUE(Shown(kLime, 28));
  EXPECT_EQ(ShownCount(), 1);
  EXPECT_EQ(form->Page2.Calendar1.Day(), 17);
  ClickDay(28);
  EXPECT_EQ(Times(), "Not define | 03:00 | Not define");
}

TEST_F(SchedulePageTest, MonthAndYearStepWithTheArrowKeysAndTheDayIsHeldWithinTheMonth) {
  WriteSchedule("2024/02/29,SHUTDOWN,06:00,1\r\n2024/03/31,STARTUP,07:00,0\r\n");
  StartOn(2024, 1, 31);
  Step(form->Page2.ComboBox7, VK_DOWN, 1);  // January to February
  EXPECT_EQ(form->Page2.Calendar1.Day(), 29);
  EXPECT_EQ(form->Page2.Calendar1.Month(), 2);
  EXPECT_EQ(TextOf(form->Page2.Label2), "06:00");
  EXPECT_TRUE(Shown(kRed, 29 + 4));   // February 2024 starts on a Thursday
  Step(form->Page2.ComboBox7, VK_DOWN, 1);  // March keeps the 29th
  EXPECT_EQ(form->Page2.Calendar1.Day(), 29);
  EXPECT_EQ(MarkedDays(kRed), std::vector<int>{});
  EXPECT_EQ(MarkedDays(kLime), std::vector<int>{31});
  Step(form->Page2.ComboBox8, VK_UP, 1);  // 2023
  Step(form->Page2.ComboBox7, VK_UP, 1);  // February 2023 has 28 days
  EXPECT_EQ(form->Page2.Calendar1.Day(), 28);
  EXPECT_EQ(form->Page2.Calendar1.Year(), 2023);
  EXPECT_EQ(ShownCount(), 0);
}

TEST_F(SchedulePageTest, ApplyTakesTypedHoursAsTheyAreAndASecondApplyReplacesTheFirst) {
  StartOn(2024, 5, 17, true);
  SetCurrentDay(true);
  PressMarker(form->Page2.MarkerStartup);
  ClickDay(20);
  SetBoxText(form->Page2.ComboBox13, "7");
  SetBoxText(form->Page2.ComboBox17, "5");
  Click(form->Page2.ButtonApply);
  EXPECT_EQ(Lines(), std::vector<std::string>{"2024/05/20,STARTUP,07:05,0"});
  EXPECT_EQ(TextOf(form->Page2.Label19), "07:05");
  EXPECT_EQ(CellColours(23)[1], kColours[kLime]);

  SetBoxText(form->Page2.ComboBox13, "99");
  Click(form->Page2.CheckBox10);  // warning
  Click(form->Page2.ButtonApply);
  EXPECT_EQ(Lines(), std::vector<std::string>{"2024/05/20,STARTUP,99:05,1"});
  EXPECT_EQ(TextOf(form->Page2.Label19), "99:05");
  EXPECT_EQ(ShownCount(), 1);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SchedulePageTest, ApplyWithoutAMarkerButtonOrWithAnEmptyHourChangesNothing) {
  StartOn(2024, 5, 17);
  SetCurrentDay(true);
  ReleaseMarkers();
  Click(form->Page2.ButtonApply);
  Click(form->Page2.ButtonClear);
  PressMarker(form->Page2.MarkerTest);
  SetBoxText(form->Page2.ComboBox13, "");
  Click(form->Page2.ButtonApply);
  SetCurrentDay(false);
  SetWeekdays("1111111");
  Click(form->Page2.ButtonApply);
  EXPECT_EQ(dialogs.TextsOf(Kind::Message),
            (std::vector<std::string>{"Please select schedule before click apply button!",
                                      "Please select schedule before click apply button!",
                                      "Error,Not a valid number !", "Error,Not a valid number !"}));
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(form->Settings()->WEEKLY_SCHEDULE_TESTUPS_DAY, "0000000");
  EXPECT_EQ(ShownCount(), 0);
  EXPECT_EQ(Times(), "Not define | Not define | Not define");
}

TEST_F(SchedulePageTest, ClearOfWeeklyMondayKeepsOtherKindsAndOtherDays) {
  WriteSettings(
      "[PAGE2]\r\nWEEKLY_SCHEDULE_SHUTDOWN_DAY=0100010\r\nWEEKLY_SCHEDULE_SHUTDOWN_WARNING=1\r\n"
      "WEEKLY_SCHEDULE_STARTUP_DAY=0100000\r\n");
  WriteSchedule(
      "2024/05/20,SHUTDOWN,08:00,0\r\n"
      "2024/05/20,STARTUP,09:00,0\r\n"
      "2024/05/21,SHUTDOWN,10:00,0\r\n"
      "2023/01/02,SHUTDOWN,11:00,0\r\n");
  StartOn(2024, 5, 17);
  SetCurrentDay(false);
  PressMarker(form->Page2.MarkerShutdown);
  SetWeekdays("0100000");
  SetBoxText(form->Page2.ComboBox13, "06");
  SetBoxText(form->Page2.ComboBox17, "30");
  Click(form->Page2.ButtonClear);
  const TINI& ini = *form->Settings();
  EXPECT_EQ(ini.WEEKLY_SCHEDULE_SHUTDOWN_DAY, "0000010");
  EXPECT_EQ(ini.WEEKLY_SCHEDULE_SHUTDOWN_HOUR, 6);
  EXPECT_EQ(ini.WEEKLY_SCHEDULE_SHUTDOWN_MINUTE, 30);
  EXPECT_TRUE(ini.WEEKLY_SCHEDULE_SHUTDOWN_WARNING);
  EXPECT_EQ(ini.WEEKLY_SCHEDULE_STARTUP_DAY, "0100000");
  EXPECT_EQ(Lines(), (std::vector<std::string>{"2024/05/20,STARTUP,09:00,0", "2024/05/21,SHUTDOWN,10:00,0"}));
  EXPECT_EQ(MarkedDays(kRed), (std::vector<int>{3, 10, 17, 21, 24, 31}));
  EXPECT_EQ(MarkedDays(kLime), (std::vector<int>{6, 13, 20, 27}));
  EXPECT_EQ(TextOf(form->Page2.Label2), "06:30");  // the 17th, a Friday
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SchedulePageTest, ClearOfTheSelectedDayRemovesOnlyTheChosenKind) {
  WriteSchedule("2024/05/20,STARTUP,09:00,0\r\n2024/05/20,SHUTDOWN,08:00,0\r\n");
  StartOn(2024, 5, 17);
  SetCurrentDay(true);
  PressMarker(form->Page2.MarkerShutdown);
  ClickDay(21);
  Click(form->Page2.ButtonClear);
  EXPECT_EQ(dialogs.TextsOf(Kind::Message), std::vector<std::string>{"Have no schedule set on this day !"});
  ClickDay(20);
  Click(form->Page2.ButtonClear);
  EXPECT_EQ(Lines(), std::vector<std::string>{"2024/05/20,STARTUP,09:00,0"});
  EXPECT_EQ(MarkedDays(kRed), std::vector<int>{});
  EXPECT_EQ(MarkedDays(kLime), std::vector<int>{20});
  EXPECT_EQ(Times(), "Not define | 09:00 | Not define");
  Click(form->Page2.ButtonClear);
  EXPECT_EQ(dialogs.TextsOf(Kind::Message).size(), 2u);
}

TEST_F(SchedulePageTest, ResetThenOkWritesAnEmptyScheduleAndNoWeekdays) {
  WriteSettings(
      "[PAGE2]\r\nWEEKLY_SCHEDULE_SHUTDOWN_DAY=0100010\r\nWEEKLY_SCHEDULE_STARTUP_DAY=1000000\r\n"
      "WEEKLY_SCHEDULE_TESTUPS_DAY=0000001\r\nWEEKLY_SCHEDULE_TESTUPS_HOUR=4\r\n");
  WriteSchedule("2024/05/17,SHUTDOWN,08:30,1\r\n");
  StartOn(2024, 5, 17);
  EXPECT_GT(ShownCount(), 0);
  Click(form->Page2.ButtonReset);
  EXPECT_EQ(ShownCount(), 0);
  EXPECT_EQ(Times(), " |  | ");
  PressOk();
  EXPECT_FALSE(WindowOpen());
  EXPECT_EQ(folder.Read("SCHEDULE.TXT"), "");
  TINI saved;
  saved.Load(folder.File("omb.ini"));
  EXPECT_EQ(saved.WEEKLY_SCHEDULE_SHUTDOWN_DAY, "0000000");
  EXPECT_EQ(saved.WEEKLY_SCHEDULE_STARTUP_DAY, "0000000");
  EXPECT_EQ(saved.WEEKLY_SCHEDULE_TESTUPS_DAY, "0000000");
  EXPECT_EQ(saved.WEEKLY_SCHEDULE_TESTUPS_HOUR, 4);
}

TEST_F(SchedulePageTest, ApplyWritesItsDebugLineFirstWhenTheLogIsOn) {
  const std::string log = folder.File("debug.dbg");
  WriteSettings("[DEBUG]\r\nDEBUG_LOG=1\r\nDEBUG_FILE=" + log + "\r\n");
  StartOn(2024, 5, 17);
  ReleaseMarkers();
  Click(form->Page2.ButtonApply);
  EXPECT_EQ(folder.Read("debug.dbg"),
            "17/05/2024 , 10:30:00 , TEST VALUE OF DAY ,  Function name : "
            "procedure TFormMain.ButtonApplyClick(Sender: TObject)\r\n");
}

TEST_F(SchedulePageTest, TheCalendarTakesTheFocusAfterTheGroupsAndMovesWithTheArrowKeys) {
  StartOn(2024, 5, 17);
  SetFocus(form->Page2.CheckBox8.Handle());
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
  Pump();
  EXPECT_EQ(GetFocus(), form->Page2.Calendar1.Handle());
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_RIGHT, 1);
  Pump();
  EXPECT_EQ(form->Page2.Calendar1.Day(), 18);
}

TEST_F(SchedulePageTest, MarkerButtonsPressedWithTheMouseChooseTheKindOneAtATime) {
  StartOn(2024, 5, 17);
  SetCurrentDay(true);
  const auto press = [this](ui::MarkerButton& marker) {
    PostMessageW(marker.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(marker.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
  };
  ReleaseMarkers();
  press(form->Page2.MarkerShutdown);
  press(form->Page2.MarkerTest);
  EXPECT_FALSE(form->Page2.MarkerShutdown.Down());
  Click(form->Page2.ButtonApply);
  EXPECT_EQ(Lines(), std::vector<std::string>{"2024/05/17,TESTUPS,12:00,0"});
  press(form->Page2.MarkerTest);  // pressed again: released
  EXPECT_FALSE(form->Page2.MarkerTest.Down());
  Click(form->Page2.ButtonApply);
  EXPECT_EQ(dialogs.TextsOf(Kind::Message),
            std::vector<std::string>{"Please select schedule before click apply button!"});
}

}  // namespace
