// The schedule page's commands: Apply, Clear, Reset, the month and year
// lists and the calendar's change. They change the store and the weekly
// rules in memory only; OK writes them.
#include <array>
#include <string>

#include "app/SchedulePage.h"
#include "schedule/CalendarMarks.h"
#include "schedule/ScheduleKinds.h"
#include "settings/DebugLog.h"

namespace {

// The number in an hour or minute box: one or two digits (the boxes take no
// more), nothing when the box is empty.
std::optional<int> BoxNumber(const std::string& text) {
  if (text.empty() || text.size() > 2) return std::nullopt;
  for (char c : text)
    if (c < '0' || c > '9') return std::nullopt;
  return std::stoi(text);
}

// An hour or minute of an event line: the box's text from 10 on, else "0" and
// the number, so that a typed 7 and a typed 07 both give 07.
std::string TimeField(int number, const std::string& text) {
  return number >= 10 ? text : TwoDigits(number);
}

}  // namespace

std::optional<int> SchedulePage::ChosenKind() const {
  const auto markers = Markers();
  for (int kind = 0; kind < kKindCount; ++kind)
    if (markers[kind]->Down()) return kind;
  return std::nullopt;
}

int SchedulePage::ChosenYear() const {
  return ComboBox8.ItemIndex() >= 0 ? std::stoi(ComboBox8.Text()) : Calendar1.Year();
}

std::string SchedulePage::ChosenDateText() {
  const int month = ComboBox7.ItemIndex() >= 0 ? ComboBox7.ItemIndex() + 1 : Calendar1.Month();
  return DateText(dates_, Calendar1.Day(), month, ChosenYear());
}

std::array<bool, 7> SchedulePage::TickedWeekdays() const {
  std::array<bool, 7> ticked{};
  for (int row = 0; row < 7; ++row) ticked[row] = CheckListBox3.Checked(row);
  return ticked;
}

void SchedulePage::ButtonApplyClick() {
  TINI& ini = *stores_.settings;
  TSchedule& schedule = *stores_.schedule;
  WriteDebugLine(ini, "TEST VALUE OF DAY", "procedure TFormMain.ButtonApplyClick(Sender: TObject)", clock_);
  const std::optional<int> kind = ChosenKind();
  if (!kind) {
    dialogs_.Message(stores_.language->MESSAGE_SELECT_SCHEDULE);
    return;
  }
  const std::string date = ChosenDateText();
  schedule.Kind = kScheduleKinds[*kind].word;
  const std::string hourText = ComboBox13.Text(), minuteText = ComboBox17.Text();
  const std::optional<int> hour = BoxNumber(hourText);
  const std::optional<int> minute = hour ? BoxNumber(minuteText) : std::nullopt;
  if (!hour || !minute) {
    dialogs_.Message(stores_.language->MESSAGE_ERROR_NOT_VALID_INTEGER);
    return;
  }

  if (CheckBox5.Checked()) {
    schedule.SetEvent(date, TimeField(*hour, hourText) + ":" + TimeField(*minute, minuteText), CheckBox10.Checked());
    MarkDay(*kind);
  } else {
    const WeeklyRuleKeys& rule = WeeklyRuleOf(*kind);
    std::string mask;
    for (bool ticked : TickedWeekdays()) mask += ticked ? '1' : '0';
    ini.*rule.days = mask;
    ini.*rule.hour = *hour;
    ini.*rule.minute = *minute;
    ini.*rule.warning = CheckBox10.Checked();
    MarkWeekly(*kind, mask);
  }
  ShowDayTimes(Calendar1.Day(), Calendar1.Month(), Calendar1.Year());
}

void SchedulePage::ButtonClearClick() {
  TINI& ini = *stores_.settings;
  TSchedule& schedule = *stores_.schedule;
  const std::optional<int> kind = ChosenKind();
  if (!kind) {
    dialogs_.Message(stores_.language->MESSAGE_SELECT_SCHEDULE);
    return;
  }
  const std::string date = ChosenDateText();
  const std::optional<int> hour = BoxNumber(ComboBox13.Text());
  const std::optional<int> minute = BoxNumber(ComboBox17.Text());
  schedule.Kind = kScheduleKinds[*kind].word;

  if (CheckBox5.Checked()) {
    // Only the event of the chosen kind goes; other kinds on the day stay.
    if (!schedule.DeleteEvent(date + "," + schedule.Kind)) {
      dialogs_.Message(stores_.language->MESSAGE_CURRENT_SCHEDULE_NOT_FOUND);
      return;
    }
    UnmarkDay(*kind, Calendar1.Day());
  } else {
    const WeeklyRuleKeys& rule = WeeklyRuleOf(*kind);
    const std::vector<std::string> removed = ClearWeekdays(schedule, ini, dates_, *kind, TickedWeekdays());
    const std::string shownMonth = MonthDatePrefix(dates_, Calendar1.Month(), Calendar1.Year());
    for (const std::string& removedDate : removed)
      if (removedDate.starts_with(shownMonth)) UnmarkDay(*kind, std::stoi(removedDate.substr(8, 2)));
    // The rule's time follows the boxes; an empty box leaves its part as it was.
    if (hour) ini.*rule.hour = *hour;
    if (minute) ini.*rule.minute = *minute;
    UnmarkWeekly(*kind, ini.*rule.days);
  }
  ShowDayTimes(Calendar1.Day(), Calendar1.Month(), Calendar1.Year());
}

void SchedulePage::ButtonResetClick() {
  Calendar1.HideMarks();
  stores_.schedule->Clear();
  for (ui::Label* label : {&Label2, &Label19, &Label21}) label->SetCaption("");
  for (int kind = 0; kind < kKindCount; ++kind) (*stores_.settings).*WeeklyRuleOf(kind).days = "0000000";
}

void SchedulePage::ComboBox7Change() {
  const int month = ComboBox7.ItemIndex() + 1;
  const int year = ChosenYear();
  const int days = dates_.MaxDayOfMonth(static_cast<unsigned>(month), year);
  if (days == 0) return;
  if (Calendar1.Day() > days) Calendar1.SetDay(days);
  Calendar1.SetMonth(month);
  Calendar1.SetYear(year);
  MarkMonth(Calendar1.Month(), Calendar1.Year());
}

void SchedulePage::Calendar1Change() {
  ShowDayTimes(Calendar1.Day(), Calendar1.Month(), Calendar1.Year());
}
