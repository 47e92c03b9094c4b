#pragma once
// Dates of the Gregorian calendar run backwards to the year 1: the one place
// that knows month lengths and weekdays.
#include <cstdint>

struct CivilDate {
  int day;
  int month;
  int year;
};

bool IsLeapYear(int64_t year);
// 28 to 31; 0 for a month outside 1 to 12.
int DaysInMonth(unsigned month, int64_t year);
// Days since 1 January of year 1 (that day is 0); the date must exist.
int64_t DayNumber(const CivilDate& date);
CivilDate DateOfDayNumber(int64_t number);
// 1 Sunday to 7 Saturday.
int WeekdayOfDayNumber(int64_t number);
inline int WeekdayOf(const CivilDate& date) {
  return WeekdayOfDayNumber(DayNumber(date));
}
