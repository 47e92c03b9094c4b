#include "util/CivilDate.h"

bool IsLeapYear(int64_t year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(unsigned month, int64_t year) {
  switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
      return 31;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    case 2:
      return IsLeapYear(year) ? 29 : 28;
    default:
      return 0;
  }
}

// Days since 1 January of year 1 in the Gregorian calendar run backwards (that day is 0).
int64_t DayNumber(const CivilDate& date) {
  const int64_t y = date.year - 1;
  int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
  for (int month = 1; month < date.month; ++month)
    days += DaysInMonth(static_cast<unsigned>(month), date.year);
  return days + date.day - 1;
}

CivilDate DateOfDayNumber(int64_t number) {
  constexpr int64_t kDaysIn400Years = 146097;
  constexpr int64_t kDaysIn100Years = 36524;
  constexpr int64_t kDaysIn4Years = 1461;
  int64_t rest = number;
  const int64_t cycles400 = rest / kDaysIn400Years;
  rest %= kDaysIn400Years;
  int64_t cycles100 = rest / kDaysIn100Years;
  if (cycles100 == 4) cycles100 = 3;  // the last day of a 400-year cycle
  rest -= cycles100 * kDaysIn100Years;
  const int64_t cycles4 = rest / kDaysIn4Years;
  rest %= kDaysIn4Years;
  int64_t years = rest / 365;
  if (years == 4) years = 3;  // the last day of a leap year
  rest -= years * 365;
  const int64_t year = cycles400 * 400 + cycles100 * 100 + cycles4 * 4 + years + 1;
  int month = 1;
  while (rest >= DaysInMonth(static_cast<unsigned>(month), year)) {
    rest -= DaysInMonth(static_cast<unsigned>(month), year);
    ++month;
  }
  return CivilDate{static_cast<int>(rest) + 1, month, static_cast<int>(year)};
}

// 1 January of year 1 was a Monday.
int WeekdayOfDayNumber(int64_t number) {
  return static_cast<int>((number + 1) % 7) + 1;
}
