// The calendar's day markers and the times of the selected day under it.
#include "app/TFormMain.h"
#include "ui/Dpi.h"

namespace {

constexpr COLORREF kMarkerColours[kKindCount] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
constexpr int kMarkerOffsets[kKindCount] = {0, 8, 16};

}  // namespace

// The markers stand in the top-left corner of their cell, inside the calendar:
// child windows of it, they stay out of what a screen reader finds there (the
// cells' names tell the events) and move with its grid. They are made once
// the window has shown (the calendar is not on the first page), each shown
// as the marking so far says.
void TFormMain::BuildDayMarkers() {
  if (markersMade_) return;
  for (int cell = 1; cell <= kMarkedCells; ++cell) {
    const RECT place = Calendar1.CellRect((cell - 1) % 7, (cell - 1) / 7 + 1);
    for (int set = 0; set < kKindCount; ++set) {
      ui::ColourBlock& marker = DayMarkers[set][cell - 1];
      marker.Create({.parent = Calendar1.Handle(),
                     .bounds = {place.left + 1, place.top + kMarkerOffsets[set], 15, 8},
                     .colour = kMarkerColours[set],
                     .hidden = !markerShown_[set][cell - 1]});
    }
  }
  markersMade_ = true;
  if (Dpi() != ui::kLayoutDpi) AlignDayMarkers();
  Note("day markers");
}

// Each marker goes to the top-left corner of its cell, one pixel in from the
// grid line, wherever the cells are at the calendar's DPI (its border need
// not grow with the rest: Wine keeps it 2 pixels, and the cells share the
// rounding of the grid). Made at 96 DPI the markers stand there already.
void TFormMain::AlignDayMarkers() {
  if (!markersMade_) return;
  const int dpi = Dpi();
  for (int cell = 1; cell <= kMarkedCells; ++cell) {
    const RECT corner = Calendar1.CellRect((cell - 1) % 7, (cell - 1) / 7 + 1);
    for (int set = 0; set < kKindCount; ++set)
      SetWindowPos(DayMarkers[set][cell - 1].Handle(), nullptr, corner.left + ui::Scale(1, dpi),
                   corner.top + ui::Scale(kMarkerOffsets[set], dpi), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
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
  bool& state = markerShown_[set][cell - 1];
  if (state == shown) return;
  state = shown;
  if (markersMade_) DayMarkers[set][cell - 1].SetVisible(shown);
}

void TFormMain::HideDayMarkers() {
  for (int set = 0; set < kKindCount; ++set)
    for (int cell = 1; cell <= kMarkedCells; ++cell) ShowMarkerOfCell(set, cell, false);
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
