#include <gtest/gtest.h>

#include <chrono>

#include "schedule/TADateTime.h"
#include "support/FakeClock.h"

namespace {

// A moment for the tests that do not look at the current time.
const LocalDateTime kSomeMoment{2024, 3, 5, 13, 45, 30, 250};

const char kInvalidDate[] = "Invalid argument to date encode";

void ExpectInvalidDate(const TADateTime& date, int day, int month, int year) {
  try {
    date.Day_Of_Week(day, month, year);
    ADD_FAILURE() << "Day_Of_Week accepted " << day << "/" << month << "/" << year;
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), kInvalidDate);
  }
  std::string result = "untouched";
  EXPECT_THROW(date.NextDay(day, month, year, 1, result), EConvertError);
  EXPECT_EQ(result, "untouched");
}

}  // namespace

TEST(TADateTime, StartsEmpty) {
  FakeClock clock(kSomeMoment);
  TADateTime date(clock);
  EXPECT_EQ(date.ADay + date.AMonth + date.AYear + date.ADayNow + date.AMonthNow + date.AYearNow, 0);
  EXPECT_EQ(date.ATime.Hour + date.ATime.Min + date.ATime.Sec + date.ATime.MSec, 0);
  EXPECT_EQ(date.TimeNow.Hour + date.TimeNow.Min + date.TimeNow.Sec + date.TimeNow.MSec, 0);
  EXPECT_FALSE(date.Direction);
}

TEST(TADateTime, MonthLengths) {
  FakeClock clock(kSomeMoment);
  TADateTime date(clock);
  EXPECT_EQ(date.MaxDayOfMonth(2, 1900), 28);
  EXPECT_EQ(date.MaxDayOfMonth(2, 2100), 28);
  EXPECT_EQ(date.MaxDayOfMonth(2, 2000), 29);
  EXPECT_EQ(date.MaxDayOfMonth(2, 2024), 29);
  EXPECT_EQ(date.MaxDayOfMonth(2, 2023), 28);
  EXPECT_EQ(date.MaxDayOfMonth(4, 2023), 30);
  EXPECT_EQ(date.MaxDayOfMonth(12, 2023), 31);
  EXPECT_EQ(date.MaxDayOfMonth(0, 2023), 0);
  EXPECT_EQ(date.MaxDayOfMonth(13, 2023), 0);
  EXPECT_EQ(date.MaxDayOfMonth(4000000000u, 2023), 0);
  EXPECT_EQ(date.MaxDayOfMonth(2, -400), 29);
  EXPECT_EQ(date.MaxDayOfMonth(2, 0), 29);

  date.AMonth = 2;
  date.AYear = 2024;
  EXPECT_EQ(date.TotalDayOfMonth(), 29);
  date.AMonth = 13;
  EXPECT_EQ(date.TotalDayOfMonth(), 0);
}

// Every day from 1/1/1 to 31/12/9999 against the standard library's civil calendar.
TEST(TADateTime, WeekdaysAndMonthLengthsMatchTheCivilCalendarOverTheWholeRange) {
  using namespace std::chrono;
  FakeClock clock(kSomeMoment);
  TADateTime date(clock);
  const sys_days first{year{1} / January / 1};
  const sys_days last{year{9999} / December / 31};
  int mismatches = 0;
  for (sys_days day = first; day <= last && mismatches < 10; day += days{1}) {
    const year_month_day ymd{day};
    const int d = static_cast<int>(unsigned{ymd.day()});
    const int m = static_cast<int>(unsigned{ymd.month()});
    const int y = static_cast<int>(ymd.year());
    const int expected = static_cast<int>(weekday{day}.c_encoding()) + 1;
    if (date.Day_Of_Week(d, m, y) != expected) {
      ADD_FAILURE() << "weekday of " << d << "/" << m << "/" << y;
      ++mismatches;
    }
    if (d == 1) {
      const unsigned length = unsigned{year_month_day_last{ymd.year(), month_day_last{ymd.month()}}.day()};
      if (date.MaxDayOfMonth(static_cast<unsigned>(m), y) != static_cast<int>(length)) {
        ADD_FAILURE() << "length of " << m << "/" << y;
        ++mismatches;
      }
    }
  }
}

TEST(TADateTime, KnownWeekdays) {
  FakeClock clock(kSomeMoment);
  TADateTime date(clock);
  EXPECT_EQ(date.Day_Of_Week(1, 1, 2000), 7);
  EXPECT_EQ(date.Day_Of_Week(5, 3, 2024), 3);
  EXPECT_EQ(date.Day_Of_Week(1, 1, 1), 2);
  EXPECT_EQ(date.Day_Of_Week(31, 12, 9999), 6);
  EXPECT_EQ(date.Day_Of_Week(29, 2, 2000), 3);
}

TEST(TADateTime, DatesThatDoNotExistFail) {
  FakeClock clock(kSomeMoment);
  TADateTime date(clock);
  ExpectInvalidDate(date, 0, 1, 2024);
  ExpectInvalidDate(date, 32, 1, 2024);
  ExpectInvalidDate(date, 31, 4, 2024);
  ExpectInvalidDate(date, 29, 2, 2023);
  ExpectInvalidDate(date, 29, 2, 1900);
  ExpectInvalidDate(date, 1, 0, 2024);
  ExpectInvalidDate(date, 1, 13, 2024);
  ExpectInvalidDate(date, 1, 1, 0);
  ExpectInvalidDate(date, 1, 1, 10000);
  ExpectInvalidDate(date, -1, 1, 2024);
  ExpectInvalidDate(date, 1, -1, 2024);
  // The numbers are taken as 16-bit unsigned: 65536 + 5 reads as 5.
  EXPECT_EQ(date.Day_Of_Week(65536 + 5, 3, 2024), 3);
}

TEST(TADateTime, DayToStringInBothDirections) {
  FakeClock clock(kSomeMoment);
  TADateTime date(clock);
  date.ADay = 5;
  date.AMonth = 3;
  date.AYear = 2024;
  EXPECT_EQ(date.Day_To_String(), "2024/03/05");
  date.Direction = true;
  EXPECT_EQ(date.Day_To_String(), "05/03/2024");
  date.AYear = 5;
  EXPECT_EQ(date.Day_To_String(), "05/03/5");
  date.Direction = false;
  date.ADay = 17;
  date.AMonth = 11;
  EXPECT_EQ(date.Day_To_String(), "5/11/17");
}

TEST(TADateTime, TimeTextAndNumber) {
  FakeClock clock(kSomeMoment);
  TADateTime date(clock);
  date.ATime = TATimes{9, 5, 7, 0};
  EXPECT_EQ(date.Time_To_String(), "09:05:07");
  EXPECT_DOUBLE_EQ(date.Time_To_Float(), 9.05);
  date.ATime = TATimes{23, 59, 10, 999};
  EXPECT_EQ(date.Time_To_String(), "23:59:10");
  EXPECT_DOUBLE_EQ(date.Time_To_Float(), 23.59);
}

TEST(TADateTime, NextDayRollsOverMonthsYearsAndLeapDays) {
  FakeClock clock(kSomeMoment);
  TADateTime date(clock);
  std::string result;
  date.NextDay(28, 2, 2023, 1, result);
  EXPECT_EQ(result, "2023/03/01");
  date.NextDay(28, 2, 2024, 1, result);
  EXPECT_EQ(result, "2024/02/29");
  date.NextDay(31, 12, 2024, 1, result);
  EXPECT_EQ(result, "2025/01/01");
  date.NextDay(1, 1, 2025, -1, result);
  EXPECT_EQ(result, "2024/12/31");
  date.NextDay(1, 3, 2000, -1, result);
  EXPECT_EQ(result, "2000/02/29");
  date.NextDay(1, 1, 2000, 366, result);
  EXPECT_EQ(result, "2001/01/01");
  date.NextDay(5, 3, 2024, 0, result);
  EXPECT_EQ(result, "2024/03/05");
  date.NextDay(1, 1, 1, 3652058, result);
  EXPECT_EQ(result, "9999/12/31");
  date.NextDay(31, 12, 9999, -3652058, result);
  EXPECT_EQ(result, "0001/01/01");
  date.Direction = true;
  date.NextDay(31, 12, 2024, 1, result);
  EXPECT_EQ(result, "01/01/2025");
}

TEST(TADateTime, NextDayBeyondTheCalendarFails) {
  FakeClock clock(kSomeMoment);
  TADateTime date(clock);
  std::string result = "untouched";
  EXPECT_THROW(date.NextDay(31, 12, 9999, 1, result), EConvertError);
  EXPECT_THROW(date.NextDay(1, 1, 1, -1, result), EConvertError);
  EXPECT_THROW(date.NextDay(1, 1, 2000, 2147483647, result), EConvertError);
  EXPECT_THROW(date.NextDay(1, 1, 2000, -2147483647 - 1, result), EConvertError);
  EXPECT_EQ(result, "untouched");
}

TEST(TADateTime, CurrentValuesComeFromTheClock) {
  FakeClock clock(LocalDateTime{2024, 3, 5, 7, 8, 9, 10});
  TADateTime date(clock);
  EXPECT_EQ(date.Current_Time_To_String(), "07:08:09");
  EXPECT_EQ(date.Current_Day_To_String(), "2024/03/05");
  EXPECT_EQ(date.Current_Day_Of_Week(), 3);
  date.Direction = true;
  EXPECT_EQ(date.Current_Day_To_String(), "05/03/2024");

  date.TimeNow.MSec = 77;
  date.Update();
  EXPECT_EQ(date.TimeNow.Hour, 7);
  EXPECT_EQ(date.TimeNow.Min, 8);
  EXPECT_EQ(date.TimeNow.Sec, 9);
  EXPECT_EQ(date.TimeNow.MSec, 77);
  EXPECT_EQ(date.ADayNow, 5);
  EXPECT_EQ(date.AMonthNow, 3);
  EXPECT_EQ(date.AYearNow, 2024);

  FakeClock newYear(LocalDateTime{2025, 1, 1, 0, 0, 0, 0});
  TADateTime later(newYear);
  later.Update();
  EXPECT_EQ(later.AYearNow, 2025);
  EXPECT_EQ(later.Current_Day_Of_Week(), 4);
}

// Texts built from a pattern use the system's separators; Day_To_String and
// Time_To_String join with fixed characters, as the schedule lines need.
TEST(TADateTime, PatternTextsUseTheSystemSeparators) {
  FakeClock clock(LocalDateTime{2024, 3, 5, 7, 8, 9, 0}, '.', '-');
  TADateTime date(clock);
  EXPECT_EQ(date.Current_Time_To_String(), "07-08-09");
  EXPECT_EQ(date.Current_Day_To_String(), "2024.03.05");
  std::string result;
  date.NextDay(5, 3, 2024, 1, result);
  EXPECT_EQ(result, "2024.03.06");
  date.ADay = 5;
  date.AMonth = 3;
  date.AYear = 2024;
  date.ATime = TATimes{7, 8, 9, 0};
  EXPECT_EQ(date.Day_To_String(), "2024/03/05");
  EXPECT_EQ(date.Time_To_String(), "07:08:09");
}

TEST(SystemClock, GivesAPlausibleLocalTime) {
  const LocalDateTime now = SystemClock().Now();
  EXPECT_GE(now.Year, 2020);
  EXPECT_GE(now.Month, 1);
  EXPECT_LE(now.Month, 12);
  EXPECT_GE(now.Day, 1);
  EXPECT_LE(now.Day, 31);
  EXPECT_LE(now.Hour, 23);
  EXPECT_LE(now.Minute, 59);
  EXPECT_LE(now.Second, 59);
  EXPECT_LE(now.Millisecond, 999);
  EXPECT_NE(SystemClock().DateSeparator(), '\0');
  EXPECT_NE(SystemClock().TimeSeparator(), '\0');
}
