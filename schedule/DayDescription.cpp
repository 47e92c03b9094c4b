#include "schedule/DayDescription.h"

#include "schedule/CalendarMarks.h"
#include "schedule/ScheduleKinds.h"

namespace {

const std::string& MonthName(const TINI_LANGUAGE& texts, int month) {
  const std::string* names[] = {&texts.JANUARY,   &texts.FEBRUARY, &texts.MARCH,    &texts.APRIL,
                                &texts.MAY,       &texts.JUNE,     &texts.JULY,     &texts.AUGUST,
                                &texts.SEPTEMBER, &texts.OCTOBER,  &texts.NOVEMBER, &texts.DECEMBER};
  return *names[month - 1];
}

// weekday 1 Sunday to 7 Saturday.
const std::string& WeekdayName(const TINI_LANGUAGE& texts, int weekday) {
  const std::string* names[] = {&texts.SUNDAY,   &texts.MONDAY, &texts.TUESDAY, &texts.WEDNESDAY,
                                &texts.THURSDAY, &texts.FRIDAY, &texts.SATURDAY};
  return *names[weekday - 1];
}

}  // namespace

std::string DescribeMonth(const TINI_LANGUAGE& texts, int month, int year) {
  return MonthName(texts, month) + " " + std::to_string(year);
}

std::string DescribeDay(const TINI_LANGUAGE& texts, const TSchedule& store, const TINI& ini,
                        TADateTime& dates, int day, int month, int year) {
  std::string text = WeekdayName(texts, dates.Day_Of_Week(day, month, year)) + " " + std::to_string(day) +
                     " " + DescribeMonth(texts, month, year);
  const char* separator = ": ";
  for (int kind = 0; kind < kKindCount; ++kind) {
    const auto time = DayTime(store, ini, dates, kind, day, month, year);
    if (!time) continue;
    text += separator + texts.*kScheduleKinds[kind].name + " " + *time;
    separator = ", ";
  }
  return text;
}
