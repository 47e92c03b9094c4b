#include "schedule/CalendarMarks.h"

namespace {

int Digits(std::string_view text) {
  int value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

// The kinds of dated events on each day of a month, the store searched once.
TSchedule::MonthEvents DatedEventsOfMonth(const TSchedule& store, TADateTime& dates, int month, int year) {
  return store.EventsOfMonth(MonthDatePrefix(dates, month, year));
}

}  // namespace

std::string TwoDigits(int value) {
  std::string text(value <= 9 ? 1 : 0, '0');
  return text.append(std::to_string(value));
}

int MarkerSetOf(const std::string& kind) {
  if (kind == TSchedule::kKindWords[0]) return 0;
  if (kind == TSchedule::kKindWords[1]) return 1;
  return 2;
}

const WeeklyRuleKeys& WeeklyRuleOf(int kind) {
  static const WeeklyRuleKeys rules[kKindCount] = {
      {&TINI::WEEKLY_SCHEDULE_SHUTDOWN_DAY, &TINI::WEEKLY_SCHEDULE_SHUTDOWN_HOUR,
       &TINI::WEEKLY_SCHEDULE_SHUTDOWN_MINUTE, &TINI::WEEKLY_SCHEDULE_SHUTDOWN_WARNING},
      {&TINI::WEEKLY_SCHEDULE_STARTUP_DAY, &TINI::WEEKLY_SCHEDULE_STARTUP_HOUR,
       &TINI::WEEKLY_SCHEDULE_STARTUP_MINUTE, &TINI::WEEKLY_SCHEDULE_STARTUP_WARNING},
      {&TINI::WEEKLY_SCHEDULE_TESTUPS_DAY, &TINI::WEEKLY_SCHEDULE_TESTUPS_HOUR,
       &TINI::WEEKLY_SCHEDULE_TESTUPS_MINUTE, &TINI::WEEKLY_SCHEDULE_TESTUPS_WARNING},
  };
  return rules[kind];
}

bool MaskHas(const std::string& mask, int weekday) {
  return weekday >= 1 && weekday <= static_cast<int>(mask.size()) && mask[weekday - 1] == '1';
}

std::string DateText(TADateTime& dates, int day, int month, int year) {
  dates.Direction = false;
  dates.ADay = static_cast<uint16_t>(day);
  dates.AMonth = static_cast<uint16_t>(month);
  dates.AYear = static_cast<uint16_t>(year);
  return dates.Day_To_String();
}

std::vector<int> DaysWithoutDatedEvent(const TSchedule& store, TADateTime& dates, int kind, int month,
                                       int year) {
  const TSchedule::MonthEvents dated = DatedEventsOfMonth(store, dates, month, year);
  std::vector<int> days;
  for (int day = 1, last = dates.MaxDayOfMonth(month, year); day <= last; ++day)
    if (!dated[day - 1][kind]) days.push_back(day);
  return days;
}

std::string MonthDatePrefix(TADateTime& dates, int month, int year) {
  const std::string first = DateText(dates, 1, month, year);
  return first.substr(0, first.size() - 2);
}

MonthMarks MarksOfMonth(const TSchedule& store, const TINI& ini, TADateTime& dates, int month, int year) {
  MonthMarks marked{};
  const int days = dates.MaxDayOfMonth(month, year);
  if (days == 0) return marked;
  const TSchedule::MonthEvents held = DatedEventsOfMonth(store, dates, month, year);
  const int firstWeekday = dates.Day_Of_Week(1, month, year);
  for (int day = 1; day <= days; ++day) {
    const int weekday = (firstWeekday - 1 + day - 1) % 7 + 1;
    for (int kind = 0; kind < kKindCount; ++kind)
      marked[kind][day - 1] = held[day - 1][kind] || MaskHas(ini.*WeeklyRuleOf(kind).days, weekday);
  }
  return marked;
}

std::optional<std::string> DayTime(const TSchedule& store, const TINI& ini, TADateTime& dates, int kind,
                                   int day, int month, int year) {
  const std::string date = DateText(dates, day, month, year);
  const std::string kindWord = TSchedule::kKindWords[kind];
  if (auto time = store.EventTime(date, kindWord)) return time;
  const WeeklyRuleKeys& rule = WeeklyRuleOf(kind);
  if (MaskHas(ini.*rule.days, dates.Day_Of_Week(day, month, year)))
    return TwoDigits(ini.*rule.hour) + ":" + TwoDigits(ini.*rule.minute);
  return std::nullopt;
}

std::vector<std::string> ClearWeekdays(TSchedule& store, TINI& ini, const TADateTime& dates, int kind,
                                       const std::array<bool, 7>& ticked) {
  std::string& mask = ini.*WeeklyRuleOf(kind).days;
  for (size_t i = 0; i < ticked.size() && i < mask.size(); ++i)
    if (ticked[i]) mask[i] = '0';

  // The store hands over dates of the form "dddd/dd/dd" only.
  const auto onTickedWeekday = [&dates, &ticked](std::string_view date) {
    const int year = Digits(date.substr(0, 4));
    const int month = Digits(date.substr(5, 2));
    const int day = Digits(date.substr(8, 2));
    if (year < 1 || day < 1 || day > dates.MaxDayOfMonth(month, year)) return false;
    return ticked[dates.Day_Of_Week(day, month, year) - 1];
  };
  return store.DeleteEventsOfKind(TSchedule::kKindWords[kind], onTickedWeekday);
}
