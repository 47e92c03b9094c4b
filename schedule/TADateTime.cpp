#include "schedule/TADateTime.h"

#include <cstdio>

namespace {

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

[[noreturn]] void ThrowInvalidDate() {
  throw EConvertError("Invalid argument to date encode");
}

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

struct CivilDate {
  int day;
  int month;
  int year;
};

// The arguments are taken as 16-bit unsigned numbers, as the date encoder of
// the run-time library takes them; a date outside 1/1/1..31/12/9999 fails.
CivilDate CheckedDate(int day, int month, int year) {
  const CivilDate date{static_cast<uint16_t>(day), static_cast<uint16_t>(month), static_cast<uint16_t>(year)};
  if (date.year < kFirstYear || date.year > kLastYear) ThrowInvalidDate();
  if (date.day < 1 || date.day > DaysInMonth(static_cast<unsigned>(date.month), date.year))
    ThrowInvalidDate();
  return date;
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

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

std::string FourDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d", value);
  return text;
}

// The patterns "dd/mm/yyyy" and "yyyy/mm/dd", with the system's date separator.
std::string PatternDate(const CivilDate& date, bool dayFirst, char separator) {
  const std::string sep(1, separator);
  if (dayFirst) return TwoDigits(date.day) + sep + TwoDigits(date.month) + sep + FourDigits(date.year);
  return FourDigits(date.year) + sep + TwoDigits(date.month) + sep + TwoDigits(date.day);
}

}  // namespace

TADateTime::TADateTime(const IClock& clock) : clock_(clock) {}

std::string TADateTime::Current_Time_To_String() const {
  const LocalDateTime now = clock_.Now();
  const std::string sep(1, clock_.TimeSeparator());
  return TwoDigits(now.Hour) + sep + TwoDigits(now.Minute) + sep + TwoDigits(now.Second);
}

std::string TADateTime::Current_Day_To_String() const {
  const LocalDateTime now = clock_.Now();
  return PatternDate(CivilDate{now.Day, now.Month, now.Year}, Direction, clock_.DateSeparator());
}

int TADateTime::Current_Day_Of_Week() const {
  const LocalDateTime now = clock_.Now();
  return Day_Of_Week(now.Day, now.Month, now.Year);
}

std::string TADateTime::Time_To_String() const {
  return TwoDigits(ATime.Hour) + ":" + TwoDigits(ATime.Min) + ":" + TwoDigits(ATime.Sec);
}

std::string TADateTime::Day_To_String() const {
  const std::string day = TwoDigits(ADay);
  const std::string month = TwoDigits(AMonth);
  const std::string year = std::to_string(AYear);
  return Direction ? day + "/" + month + "/" + year : year + "/" + month + "/" + day;
}

int TADateTime::Day_Of_Week(int day, int month, int year) const {
  return WeekdayOfDayNumber(DayNumber(CheckedDate(day, month, year)));
}

int TADateTime::TotalDayOfMonth() const {
  return MaxDayOfMonth(AMonth, AYear);
}

double TADateTime::Time_To_Float() const {
  return ATime.Hour + ATime.Min / 100.0;
}

void TADateTime::NextDay(int day, int month, int year, int offset, std::string& result) const {
  const int64_t number = DayNumber(CheckedDate(day, month, year)) + offset;
  // A result outside the years 1 to 9999 has no date text: fail like the start date.
  const int64_t lastNumber = DayNumber(CivilDate{31, 12, kLastYear});
  if (number < 0 || number > lastNumber) ThrowInvalidDate();
  result = PatternDate(DateOfDayNumber(number), Direction, clock_.DateSeparator());
}

int TADateTime::MaxDayOfMonth(unsigned month, int32_t year) const {
  return DaysInMonth(month, year);
}

void TADateTime::Update() {
  // One reading of the clock, so the date and the time belong together even at midnight.
  const LocalDateTime now = clock_.Now();
  TimeNow.Hour = static_cast<uint16_t>(now.Hour);
  TimeNow.Min = static_cast<uint16_t>(now.Minute);
  TimeNow.Sec = static_cast<uint16_t>(now.Second);
  ADayNow = static_cast<uint16_t>(now.Day);
  AMonthNow = static_cast<uint16_t>(now.Month);
  AYearNow = static_cast<uint16_t>(now.Year);
}
