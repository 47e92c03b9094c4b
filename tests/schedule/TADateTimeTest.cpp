#include <gtest/gtest.h>

#include <chrono>

#include "schedule/TADateTime.h"
#include "support/FakeClock.h"

namespace {

const LocalDateTime kSomeMoment{2024, 3, 5, 13, 45, 30, 250};

}  // namespace

// Every day from 1/1/1 to 31/12/9999 against the standard library's civil calendar.
TEST(TADateTime, WeekdaysAndMonthLengthsMatchTheCivilCalendarOverTheWholeRange) {
  using namespace std::chrono;
  FakeClock clock(kSomeMoment);
  TADateTime date(clock);
  int mismatches = 0;
  for (sys_days day{year{1} / January / 1}; day <= sys_days{year{9999} / December / 31} && mismatches < 10;
       day += days{1}) {
    const year_month_day ymd{day};
    const int d = static_cast<int>(unsigned{ymd.day()}), m = static_cast<int>(unsigned{ymd.month()});
    const int y = static_cast<int>(ymd.year());
    if (date.Day_Of_Week(d, m, y) != static_cast<int>(weekday{day}.c_encoding()) + 1) {
      ADD_FAILURE() << "weekday of " << d << "/" << m << "/" << y;
      ++mismatches;
    }
    const unsigned length = unsigned{year_month_day_last{ymd.year(), month_day_last{ymd.month()}}.day()};
    if (d == 1 && date.MaxDayOfMonth(static_cast<unsigned>(m), y) != static_cast<int>(length)) {
      ADD_FAILURE() << "length of " << m << "/" << y;
      ++mismatches;
    }
  }
}

TEST(TADateTime, MonthNumbersOutsideTheYearHaveNoDays) {
  FakeClock clock(kSomeMoment);
  TADateTime date(clock);
  EXPECT_EQ(date.MaxDayOfMonth(0, 2023), 0);
  EXPECT_EQ(date.MaxDayOfMonth(13, 2023), 0);
  EXPECT_EQ(date.MaxDayOfMonth(2, -400), 29);
  date.AMonth = 2;
  date.AYear = 2100;
  EXPECT_EQ(date.TotalDayOfMonth(), 28);
  date.AMonth = 13;
  EXPECT_EQ(date.TotalDayOfMonth(), 0);
}

TEST(TADateTime, DatesThatDoNotExistFail) {
  FakeClock clock(kSomeMoment);
  TADateTime date(clock);
  const int invalid[][3] = {{0, 1, 2024}, {32, 1, 2024}, {31, 4, 2024}, {29, 2, 2023}, {29, 2, 1900},
                            {1, 0, 2024}, {1, 13, 2024}, {1, 1, 0},     {1, 1, 10000}, {-1, 1, 2024}};
  for (const auto& [d, m, y] : invalid) {
    try {
      date.Day_Of_Week(d, m, y);
      ADD_FAILURE() << "Day_Of_Week accepted " << d << "/" << m << "/" << y;
    } catch (const EConvertError& error) {
      EXPECT_STREQ(error.what(), "Invalid argument to date encode");
    }
    std::string result = "untouched";
    EXPECT_THROW(date.NextDay(d, m, y, 1, result), EConvertError);
    EXPECT_EQ(result, "untouched");
  }
  // The numbers are taken as 16-bit unsigned, as the date encoder takes them: 65536 + 5 reads as 5.
  EXPECT_EQ(date.Day_Of_Week(65536 + 5, 3, 2024), 3);
}

TEST(TADateTime, DateAndTimeTexts) {
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

  date.ATime = TATimes{9, 5, 7, 0};
  EXPECT_EQ(date.Time_To_String(), "09:05:07");
  EXPECT_DOUBLE_EQ(date.Time_To_Float(), 9.05);
  date.ATime = TATimes{23, 59, 10, 999};
  EXPECT_EQ(date.Time_To_String(), "23:59:10");
  EXPECT_DOUBLE_EQ(date.Time_To_Float(), 23.59);
}

TEST(TADateTime, NextDayRollsOverAndStaysWithinTheCalendar) {
  FakeClock clock(kSomeMoment);
  TADateTime date(clock);
  std::string result;
  const struct {
    int day, month, year, offset;
    const char* expected;
  } cases[] = {{28, 2, 2023, 1, "2023/03/01"},   {28, 2, 2024, 1, "2024/02/29"},
               {31, 12, 2024, 1, "2025/01/01"},  {1, 3, 2000, -1, "2000/02/29"},
               {1, 1, 1, 3652058, "9999/12/31"}, {31, 12, 9999, -3652058, "0001/01/01"}};
  for (const auto& c : cases) {
    date.NextDay(c.day, c.month, c.year, c.offset, result);
    EXPECT_EQ(result, c.expected);
  }
  date.Direction = true;
  date.NextDay(31, 12, 2024, 1, result);
  EXPECT_EQ(result, "01/01/2025");

  result = "untouched";
  EXPECT_THROW(date.NextDay(31, 12, 9999, 1, result), EConvertError);
  EXPECT_THROW(date.NextDay(1, 1, 1, -1, result), EConvertError);
  EXPECT_THROW(date.NextDay(1, 1, 2000, -2147483647 - 1, result), EConvertError);
  EXPECT_EQ(result, "untouched");
}

TEST(TADateTime, CurrentValuesComeFromOneReadingOfTheClock) {
  FakeClock clock(LocalDateTime{2024, 3, 5, 7, 8, 9, 10});
  TADateTime date(clock);
  EXPECT_EQ(date.Current_Time_To_String(), "07:08:09");
  EXPECT_EQ(date.Current_Day_To_String(), "2024/03/05");
  EXPECT_EQ(date.Current_Day_Of_Week(), 3);
  date.Direction = true;
  EXPECT_EQ(date.Current_Day_To_String(), "05/03/2024");

  date.TimeNow.MSec = 77;
  date.Update();
  EXPECT_EQ(date.TimeNow.Hour * 10000 + date.TimeNow.Min * 100 + date.TimeNow.Sec, 70809);
  EXPECT_EQ(date.TimeNow.MSec, 77);
  EXPECT_EQ(date.AYearNow * 10000 + date.AMonthNow * 100 + date.ADayNow, 20240305);
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
  EXPECT_TRUE(now.Month >= 1 && now.Month <= 12 && now.Day >= 1 && now.Day <= 31);
  EXPECT_TRUE(now.Hour <= 23 && now.Minute <= 59 && now.Second <= 59 && now.Millisecond <= 999);
  EXPECT_NE(SystemClock().DateSeparator(), '\0');
  EXPECT_NE(SystemClock().TimeSeparator(), '\0');
}
