// The calendar's day markers and the times of the selected day under it.
#include "app/SchedulePage.h"
#include "schedule/CalendarMarks.h"

void SchedulePage::MarkShownMonth() {
  MarkMonth(Calendar1.Month(), Calendar1.Year());
  ShowDayTimes(Calendar1.Day(), Calendar1.Month(), Calendar1.Year());
}

void SchedulePage::MarkMonth(int month, int year) {
  Calendar1.HideMarks();
  const MonthMarks marks = MarksOfMonth(*stores_.schedule, *stores_.settings, dates_, month, year);
  const int days = dates_.MaxDayOfMonth(static_cast<unsigned>(month), year);
  for (int day = 1; day <= days; ++day)
    for (int kind = 0; kind < kKindCount; ++kind)
      if (marks[kind][day - 1]) Calendar1.ShowDayMark(kind, day, true);
}

void SchedulePage::ShowDayTimes(int day, int month, int year) {
  ui::Label* labels[kKindCount] = {&Label2, &Label19, &Label21};
  for (int kind = 0; kind < kKindCount; ++kind) {
    const auto time = DayTime(*stores_.schedule, *stores_.settings, dates_, kind, day, month, year);
    labels[kind]->SetCaption(time.value_or(stores_.language->MESSAGE_NOT_DEFINE_SCHEDULE_TIME));
  }
}

void SchedulePage::MarkDay(int kind) {
  Calendar1.ShowDayMark(kind, Calendar1.Day(), true);
}

// A weekly rule that still falls on the day keeps its marker shown, so that
// the marker always agrees with the time shown for the day.
void SchedulePage::UnmarkDay(int kind, int day) {
  const int weekday = dates_.Day_Of_Week(day, Calendar1.Month(), Calendar1.Year());
  if (!MaskHas((*stores_.settings).*WeeklyRuleOf(kind).days, weekday)) Calendar1.ShowDayMark(kind, day, false);
}

// Days with a dated event of the kind keep their marker.
void SchedulePage::MarkWeekly(int kind, const std::string& mask) {
  for (int day : DaysWithoutDatedEvent(*stores_.schedule, dates_, kind, Calendar1.Month(), Calendar1.Year()))
    Calendar1.ShowDayMark(kind, day, MaskHas(mask, dates_.Day_Of_Week(day, Calendar1.Month(), Calendar1.Year())));
}

void SchedulePage::UnmarkWeekly(int kind, const std::string& mask) {
  for (int day : DaysWithoutDatedEvent(*stores_.schedule, dates_, kind, Calendar1.Month(), Calendar1.Year()))
    if (!MaskHas(mask, dates_.Day_Of_Week(day, Calendar1.Month(), Calendar1.Year())))
      Calendar1.ShowDayMark(kind, day, false);
}
