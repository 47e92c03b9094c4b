// The month grid: where its cells lie, selection by mouse and keys, changes
// from code, and what it paints.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/Calendar.h"
#include "util/CivilDate.h"
#include "ui/Gdi.h"
#include "ui/Panel.h"

namespace {

// A hidden top-level window holding a page with the calendar at its place on the schedule page.
class CalendarHost : public ui::Window {
 public:
  CalendarHost() {
    CreateWindowOf(L"OmbrelCalendarTestHost", 0, WS_POPUP, "", {0, 0, 549, 320}, nullptr);
    page.Create({.parent = Handle(), .bounds = {0, 0, 549, 320}, .bevelWidth = 0});
  }
  ~CalendarHost() override { DestroyWindow(Handle()); }
  ui::Panel page;
};

class CalendarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }
  CalendarTest() {
    calendar.Create(
        {.parent = host.page.Handle(), .bounds = {3, 28, 367, 172}, .day = 17, .month = 5, .year = 2024});
    calendar.OnChange = [this] { changes.push_back(calendar.Day()); };
  }

  // The centre of a day's cell, in the calendar's client pixels.
  POINT CentreOf(int day) const {
    const ui::DayCell cell = calendar.FindDayCell(day);
    const RECT rect = calendar.CellRect(cell.column, cell.weekRow + 1);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }
  void ClickAt(POINT at) {
    SendMessageW(calendar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(calendar.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }
  void Press(WPARAM key) { SendMessageW(calendar.Handle(), WM_KEYDOWN, key, 1); }

  CalendarHost host;
  ui::Calendar calendar;
  std::vector<int> changes;  // the day after each change
};

TEST_F(CalendarTest, WeekCellsStartWhereTheDayMarkersOfTheSchedulePageStand) {
  // The markers of cell i stand at left 6 + 52 * column, top 54 + 24 * week row
  // of the page: one pixel inside the cell's left edge, at its top.
  for (int weekRow = 0; weekRow < 6; ++weekRow) {
    for (int column = 0; column < 7; ++column) {
      RECT cell = calendar.CellRect(column, weekRow + 1);
      MapWindowPoints(calendar.Handle(), host.page.Handle(), reinterpret_cast<POINT*>(&cell), 2);
      EXPECT_EQ(cell.left + 1, 6 + 52 * column) << column << "," << weekRow;
      EXPECT_EQ(cell.top, 54 + 24 * weekRow) << column << "," << weekRow;
      EXPECT_GE(cell.right - cell.left, 15 + 1);
      EXPECT_GE(cell.bottom - cell.top, 24 - 1);
    }
  }
  RECT client;
  GetClientRect(calendar.Handle(), &client);
  const RECT last = calendar.CellRect(6, 6);
  EXPECT_LE(last.right, client.right);
  EXPECT_LE(last.bottom, client.bottom);
}

TEST_F(CalendarTest, AClickSelectsADayCellAndNotAnEmptyOrHeaderCell) {
  ClickAt(CentreOf(20));
  EXPECT_EQ(calendar.Day(), 20);
  EXPECT_EQ(GetFocus(), calendar.Handle());
  ClickAt(CentreOf(20));                             // the same day again changes nothing
  const RECT beforeFirst = calendar.CellRect(0, 1);  // May 2024 starts on a Wednesday
  ClickAt({beforeFirst.left + 5, beforeFirst.top + 5});
  const RECT afterLast = calendar.CellRect(6, 5);
  ClickAt({afterLast.left + 5, afterLast.top + 5});
  const RECT header = calendar.CellRect(3, 0);
  ClickAt({header.left + 5, header.top + 5});
  EXPECT_EQ(calendar.Day(), 20);
  EXPECT_EQ(changes, std::vector<int>{20});
}

TEST_F(CalendarTest, ArrowKeysMoveWithinTheShownMonthOnly) {
  EXPECT_EQ(SendMessageW(calendar.Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
  Press(VK_RIGHT);
  Press(VK_DOWN);
  Press(VK_LEFT);
  Press(VK_UP);
  Press(VK_UP);
  Press(VK_UP);
  Press(VK_UP);  // 3 May would be before the 1st: stays
  EXPECT_EQ(calendar.Day(), 3);
  Press(VK_END);
  Press(VK_RIGHT);
  Press(VK_DOWN);
  EXPECT_EQ(calendar.Day(), 31);
  Press(VK_HOME);
  EXPECT_EQ(changes, (std::vector<int>{18, 25, 24, 17, 10, 3, 31, 1}));
  EXPECT_EQ(calendar.Month(), 5);
}

TEST_F(CalendarTest, ChangesFromCodeNotifyAtOnceAndHoldTheDayWithinTheMonth) {
  calendar.SetDay(31);
  calendar.SetMonth(2);  // February 2024 has 29 days
  EXPECT_EQ(calendar.Day(), 29);
  calendar.SetYear(2023);
  EXPECT_EQ(calendar.Day(), 28);
  calendar.SetYear(2023);
  calendar.SetMonth(13);
  calendar.SetDay(40);
  EXPECT_EQ(changes, (std::vector<int>{31, 29, 28}));
  EXPECT_EQ(calendar.Month(), 2);
  EXPECT_EQ(calendar.Year(), 2023);
  // February 2015 starts on a Sunday: the 1st in the first cell.
  calendar.SetYear(2015);
  EXPECT_EQ(calendar.FindDayCell(1).column, 0);
  EXPECT_EQ(calendar.FindDayCell(28).weekRow, 3);
}

TEST_F(CalendarTest, PaintsTheSelectedDayHighlightedOnWhiteAndTakesItsFont) {
  ui::Font font = ui::MakeFont("Arial", 10, true);
  calendar.SetFont(font.Get());
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(calendar.Handle(), WM_GETFONT, 0, 0)), font.Get());

  RECT client;
  GetClientRect(calendar.Handle(), &client);
  HDC screen = GetDC(nullptr);
  ui::MemoryDc dc(screen);
  ui::Bitmap canvas(CreateCompatibleBitmap(screen, client.right, client.bottom));
  ReleaseDC(nullptr, screen);
  ui::SelectInDc select(dc.Get(), canvas.Get());
  SendMessageW(calendar.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);

  const auto corner = [this](int day) {
    const ui::DayCell cell = calendar.FindDayCell(day);
    const RECT rect = calendar.CellRect(cell.column, cell.weekRow + 1);
    return POINT{rect.left + 2, rect.top + 2};
  };
  POINT at = corner(17);
  EXPECT_EQ(GetPixel(dc.Get(), at.x, at.y), GetSysColor(COLOR_HIGHLIGHT));
  at = corner(16);
  EXPECT_EQ(GetPixel(dc.Get(), at.x, at.y), RGB(255, 255, 255));
  // Day 16 shows its number: some pixel of its cell is not white.
  const ui::DayCell cell = calendar.FindDayCell(16);
  const RECT rect = calendar.CellRect(cell.column, cell.weekRow + 1);
  bool lettered = false;
  for (int y = rect.top; y < rect.bottom && !lettered; ++y)
    for (int x = rect.left; x < rect.right && !lettered; ++x)
      lettered = GetPixel(dc.Get(), x, y) != RGB(255, 255, 255);
  EXPECT_TRUE(lettered);
}

TEST_F(CalendarTest, MarksDrawOverTheirCellCornersStackedBySetAndLeaveClicksToTheDay) {
  const COLORREF red = RGB(255, 0, 0), lime = RGB(0, 255, 0), blue = RGB(0, 0, 255);
  calendar.ShowMark(0, 1, true);  // before the colours: nothing to show
  EXPECT_FALSE(calendar.MarkShown(0, 1));
  calendar.SetMarkColours({red, lime, blue});
  // 16 May 2024, a Thursday in the third week row: cell 19; 17 is selected.
  for (int set : {0, 2}) calendar.ShowMark(set, 19, true);
  calendar.ShowMark(1, 20, true);
  calendar.ShowMark(0, 43, true);  // beyond the grid: ignored
  EXPECT_TRUE(calendar.MarkShown(0, 19) && calendar.MarkShown(2, 19) && !calendar.MarkShown(1, 19));

  // Where the schedule page puts its markers: 15 x 8 in the cell's corner, one under the other.
  for (int set = 0; set < 3; ++set) {
    RECT mark = calendar.MarkRect(set, 19);
    MapWindowPoints(calendar.Handle(), host.page.Handle(), reinterpret_cast<POINT*>(&mark), 2);
    EXPECT_EQ(mark.left, 6 + 52 * 4);
    EXPECT_EQ(mark.top, 54 + 24 * 2 + 8 * set);
    EXPECT_EQ(mark.right - mark.left, 15);
    EXPECT_EQ(mark.bottom - mark.top, 8);
  }

  RECT client;
  GetClientRect(calendar.Handle(), &client);
  HDC screen = GetDC(nullptr);
  ui::MemoryDc dc(screen);
  ui::Bitmap canvas(CreateCompatibleBitmap(screen, client.right, client.bottom));
  ReleaseDC(nullptr, screen);
  ui::SelectInDc select(dc.Get(), canvas.Get());
  const auto colourIn = [&](int set, int cell) -> COLORREF {
    SendMessageW(calendar.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
    const RECT mark = calendar.MarkRect(set, cell);
    // Its corners and its middle.
    const COLORREF colour = GetPixel(dc.Get(), mark.left, mark.top);
    if (GetPixel(dc.Get(), mark.right - 1, mark.bottom - 1) != colour) return CLR_INVALID;
    if (GetPixel(dc.Get(), (mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2) != colour) return CLR_INVALID;
    return colour;
  };
  EXPECT_EQ(colourIn(0, 19), red);
  EXPECT_EQ(colourIn(1, 19), RGB(255, 255, 255));
  EXPECT_EQ(colourIn(2, 19), blue);
  EXPECT_EQ(colourIn(1, 20), lime);  // over the selected day's highlight

  const RECT mark = calendar.MarkRect(0, 19);
  ClickAt({mark.left + 2, mark.top + 2});
  EXPECT_EQ(calendar.Day(), 16);

  calendar.HideMarks();
  EXPECT_EQ(colourIn(0, 19), GetSysColor(COLOR_HIGHLIGHT));  // 16 is selected now
  EXPECT_EQ(colourIn(1, 20), RGB(255, 255, 255));
}

}  // namespace

TEST(CalendarGrid, LastDaysOfAMonthTakeTheirCells) {
  // January 2022 starts on a Saturday: day 31 takes cell 37, the last one with markers.
  ui::DayCell cell = ui::DayCellOf(31, WeekdayOf({1, 1, 2022}) - 1);
  EXPECT_EQ(ui::CellIndex(cell.column, cell.weekRow), ui::kMarkedCells);
  cell = ui::DayCellOf(28, WeekdayOf({1, 2, 2021}) - 1);  // a Monday
  EXPECT_EQ(ui::CellIndex(cell.column, cell.weekRow), 29);
  cell = ui::DayCellOf(28, WeekdayOf({1, 2, 2015}) - 1);  // a Sunday
  EXPECT_EQ(ui::CellIndex(cell.column, cell.weekRow), 28);
  EXPECT_EQ(ui::CellIndex(7, 0), 0);
  EXPECT_EQ(ui::CellIndex(0, 8), 0);
  EXPECT_EQ(ui::CellIndex(-1, 2), 0);
}
