// The calendar's day markers and the times of the selected day under it.
#include <iterator>

#include "app/TFormMain.h"

namespace {

constexpr COLORREF kMarkerColours[kKindCount] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};

}  // namespace

// The markers are the calendar's marks, drawn over its cells: they move with
// its grid at any scale and stay out of what a screen reader finds there.
void TFormMain::BuildDayMarkers() {
  Calendar1.SetMarkColours({std::begin(kMarkerColours), std::end(kMarkerColours)});
  Note("day markers");
}

DayCell TFormMain::FindDayCell(int day) const {
  return Calendar1.FindDayCell(day);
}

void TFormMain::ShowMarker(int set, int day, bool shown) {
  const DayCell cell = FindDayCell(day);
  const int index = CellIndex(cell.column, cell.weekRow);
  if (index < 1 || index > kMarkedCells) return;
  ShowMarkerOfCell(set, index, shown);
}

void TFormMain::ShowMarkerOfCell(int set, int cell, bool shown) {
  Calendar1.ShowMark(set, cell, shown);
}

void TFormMain::HideDayMarkers() {
  Calendar1.HideMarks();
}

void TFormMain::MarkMonth(int month, int year) {
  HideDayMarkers();
  const MonthMarks marks = MarksOfMonth(*schedule_, *settings_, module_.ADateTime1, month, year);
  const int days = module_.ADateTime1.MaxDayOfMonth(static_cast<unsigned>(month), year);
  for (int day = 1; day <= days; ++day)
    for (int set = 0; set < kKindCount; ++set)
      if (marks[set][day - 1]) ShowMarker(set, day, true);
}

void TFormMain::ShowDayTimes(int day, int month, int year) {
  ui::Label* labels[kKindCount] = {&Label2, &Label19, &Label21};
  for (int kind = 0; kind < kKindCount; ++kind) {
    const auto time = DayTime(*schedule_, *settings_, module_.ADateTime1, kind, day, month, year);
    labels[kind]->SetCaption(time.value_or(language_->MESSAGE_NOT_DEFINE_SCHEDULE_TIME));
  }
}

void TFormMain::MarkDay(const std::string& kind) {
  ShowMarker(MarkerSetOf(kind), Calendar1.Day(), true);
}

// A weekly rule that still falls on the day keeps its marker shown, so that
// the marker always agrees with the time shown for the day.
void TFormMain::UnmarkDay(const std::string& kind, int day) {
  const int set = MarkerSetOf(kind);
  const int weekday = FindDayCell(day).column + 1;
  if (!MaskHas((*settings_).*WeeklyRuleOf(set).days, weekday)) ShowMarker(set, day, false);
}

// Days with a dated event of the kind keep their marker.
void TFormMain::MarkWeekly(const std::string& kind, const std::string& mask) {
  const int set = MarkerSetOf(kind);
  for (int day :
       DaysWithoutDatedEvent(*schedule_, module_.ADateTime1, set, Calendar1.Month(), Calendar1.Year()))
    ShowMarker(set, day, MaskHas(mask, FindDayCell(day).column + 1));
}

void TFormMain::UnmarkWeekly(const std::string& kind, const std::string& mask) {
  const int set = MarkerSetOf(kind);
  for (int day :
       DaysWithoutDatedEvent(*schedule_, module_.ADateTime1, set, Calendar1.Month(), Calendar1.Year()))
    if (!MaskHas(mask, FindDayCell(day).column + 1)) ShowMarker(set, day, false);
}
