#pragma once
// A month grid of our own: a header row of short weekday names above six week
// rows, weeks starting on Sunday, grid lines one pixel wide. It shows one
// month and has no navigation of its own. A click or an arrow key selects a
// day of that month; cells before the 1st and after the last day stay empty
// and cannot be selected. Every change of its date, by the user or by code,
// runs OnChange: a user's change through the parent window, like any control
// notification, a change from code at once.
//
// Over the grid it draws marks: small filled blocks in the top-left corner of
// a cell, one set per colour, each set's marks under those of the set before.
// They are decoration, left out of what a screen reader is told (the cells'
// names tell what they mean).
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ui/CalendarAccessible.h"
#include "ui/Control.h"

namespace ui {

// A cell of the month grid: weeks start on Sunday (column 0); week rows 0 to 5.
struct DayCell {
  int column = 0;
  int weekRow = 0;
};
// Where day stands in a month whose 1st is in column firstColumn.
DayCell DayCellOf(int day, int firstColumn);
// weekRow * 7 + column + 1 for columns 0 to 6 and week rows 0 to 7, else 0.
int CellIndex(int column, int weekRow);
// Days take the cells 1 to 37 only (day 31 of a month whose 1st is a Saturday).
inline constexpr int kMarkedCells = 37;

struct CalendarArgs;

class Calendar : public Control {
 public:
  void Create(const CalendarArgs& args);

  int Day() const { return day_; }
  int Month() const { return month_; }
  int Year() const { return year_; }
  // The day is held within the shown month (a later day becomes its last).
  void SetDay(int day);
  void SetMonth(int month);  // 1 to 12; others are ignored
  void SetYear(int year);    // 1 to 9999; others are ignored

  // Where a day of the shown month stands in the grid.
  DayCell FindDayCell(int day) const;
  // A grid cell in client pixels: row 0 is the header, rows 1 to 6 the weeks.
  RECT CellRect(int column, int row) const;

  // One set of marks per colour, all hidden; a mark set before the colours
  // are given, or for a cell outside 1 to 42, is ignored.
  void SetMarkColours(std::vector<COLORREF> colours);
  // cell numbers the grid as CellIndex does (1 to 42).
  bool MarkShown(int set, int cell) const;
  void ShowMark(int set, int cell, bool shown);
  // The mark of a set on a day of the shown month.
  void ShowDayMark(int set, int day, bool shown);
  void HideMarks();
  // Where a mark is drawn, in client pixels.
  RECT MarkRect(int set, int cell) const;

  std::function<void()> OnChange;
  // What a screen reader is told of the shown month and of a day (one of the
  // month before or after, for the grid's leading and trailing cells); the
  // window that shows the calendar names them in its language.
  std::function<std::string(int month, int year)> MonthName;
  std::function<std::string(int day, int month, int year)> DayName;

  void Paint(HDC dc, const RECT& area) const;
  void OnCommand(int code) override;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void ChangeDate(int day, int month, int year, bool byUser);
  void SelectByUser(int day);
  // The day in the cell under a client point, 0 for none.
  int DayAt(POINT at) const;
  int SelectedCell() const;  // 1 to 42, as CellIndex numbers the grid
  int FirstColumn() const;
  int DaysInMonth() const;
  SIZE Span() const;
  // Where cell index begins (and the line before it ends) along a span.
  static int Edge(int index, int span);

  friend class CalendarObject;  // the accessible table reads the grid
  CalendarAccessibility accessibility_;
  int day_ = 1;
  int month_ = 1;
  int year_ = 2000;
  HFONT font_ = nullptr;
  std::wstring dayNames_[7];  // Sunday first
  std::vector<COLORREF> markColours_;
  std::vector<std::array<bool, 42>> marks_;  // [set][cell - 1]
};

struct CalendarArgs {
  HWND parent = nullptr;
  Bounds bounds{};
  int day = 1;  // the date it starts on
  int month = 1;
  int year = 2000;
  HFONT font = nullptr;
};

}  // namespace ui
