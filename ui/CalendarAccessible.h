#pragma once
// What a screen reader finds in the calendar (MSAA, which UI Automation reads
// too): a table named by the shown month, with 42 cells, one per place of the
// grid's six weeks, each named by its date and what is planned on it. The
// selected day's cell is selected and, while the calendar has the keyboard
// focus, focused. The cells of the months before and after are named too but
// unavailable, as they cannot be chosen. The marks drawn over the cells (the
// day markers) are decoration and stay out of the table.
//
// oleacc.dll and COM are loaded on the first request only: start-up does not
// pay for a screen reader that most users do not run.
#include <windows.h>

namespace ui {

class Calendar;
class CalendarObject;

class CalendarAccessibility {
 public:
  CalendarAccessibility() = default;
  CalendarAccessibility(const CalendarAccessibility&) = delete;
  CalendarAccessibility& operator=(const CalendarAccessibility&) = delete;
  ~CalendarAccessibility() { Disconnect(); }

  // The answer to WM_GETOBJECT: the table for OBJID_CLIENT; 0, the system's
  // own object, for anything else or when the libraries cannot be had.
  LRESULT Answer(Calendar& calendar, WPARAM wParam, LPARAM lParam);
  // The object given out answers nothing more: the calendar is going.
  void Disconnect();

  // Tells screen readers that the selection moved to a cell (1 to 42) and,
  // when the calendar has the focus, that the focus did too.
  static void SelectionMoved(HWND calendar, int cell);
  // The table's name changed with the shown month.
  static void MonthChanged(HWND calendar);

 private:
  CalendarObject* object_ = nullptr;
};

}  // namespace ui
