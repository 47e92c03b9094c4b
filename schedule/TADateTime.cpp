#include "schedule/TADateTime.h"

#include <cstdio>

#include "util/CivilDate.h"

namespace {

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

[[noreturn]] void ThrowInvalidDate() {
  throw EConvertError("Invalid argument to date encode");
}

// The arguments are taken as 16-bit unsigned numbers, as the date encoder of
// the run-time library takes them; a date outside 1/1/1..31/12/9999 fails.
CivilDate CheckedDate(int day, int month, int year) {
  const CivilDate date{static_cast<uint16_t>(day), static_cast<uint16_t>(month), static_cast<uint16_t>(year)};
  if (date.year < kFirstYear || date.year > kLastYear) ThrowInvalidDate();
  if (date.day < 1 || date.day > DaysInMonth(static_cast<unsigned>(date.month), date.year))
    ThrowInvalidDate();
  return date;
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
