// Which days of a month carry markers, the times of a day, and the weekday
// Clear, on a store loaded from a file.
#include <gtest/gtest.h>

#include <array>

#include "schedule/CalendarMarks.h"
#include "schedule/ScheduleLines.h"
#include "support/FakeClock.h"
#include "support/ScratchFolder.h"

namespace {

using Lines = std::vector<std::string>;
constexpr int kShutdown = 0, kStartup = 1, kTest = 2;

class CalendarMarks : public ::testing::Test {
 protected:
  CalendarMarks() { store.FilePath = folder.File("SCHEDULE.TXT"); }

  void Load(const std::string& bytes) {
    WriteFileBytes(store.FilePath, bytes);
    store.LoadSchedule();
  }
  // The days of the month that carry a marker of kind.
  std::vector<int> MarkedDays(int kind, int month, int year) {
    const MonthMarks marks = MarksOfMonth(store, ini, dates, month, year);
    std::vector<int> days;
    for (int day = 1; day <= 31; ++day)
      if (marks[kind][day - 1]) days.push_back(day);
    return days;
  }

  ScratchFolder folder;
  FakeClock clock{LocalDateTime{2024, 5, 17, 10, 30, 0, 0}};
  TADateTime dates{clock};
  TINI ini;
  TSchedule store;
};

TEST_F(CalendarMarks, DatedEventsOfEachKindAndWeeklyRulesMarkTheirDays) {
  Load(
      "2024/04/30,SHUTDOWN,08:00,0\r\n"
      "2024/05/17,SHUTDOWN,08:30,1\r\n"
      "2024/05/17,STARTUP,07:00,0\r\n"
      "2024/05/17,TESTUPS,21:05,0\r\n"
      "2024/05/31,TESTUPS,01:00,0\r\n"
      "2024/06/01,STARTUP,09:00,0\r\n");
  ini.WEEKLY_SCHEDULE_STARTUP_DAY = "0100010";  // Mondays and Fridays
  EXPECT_EQ(MarkedDays(kShutdown, 5, 2024), (std::vector<int>{17}));
  EXPECT_EQ(MarkedDays(kStartup, 5, 2024), (std::vector<int>{3, 6, 10, 13, 17, 20, 24, 27, 31}));
  EXPECT_EQ(MarkedDays(kTest, 5, 2024), (std::vector<int>{17, 31}));
  EXPECT_EQ(MarkedDays(kStartup, 6, 2024), (std::vector<int>{1, 3, 7, 10, 14, 17, 21, 24, 28}));
  EXPECT_EQ(MarkedDays(kShutdown, 13, 2024), std::vector<int>{});
}

TEST_F(CalendarMarks, TheDatedTimeWinsOverTheWeeklyOne) {
  Load("2024/05/17,SHUTDOWN,08:30,1\r\n2024/05/17,STARTUP\r\n");
  ini.WEEKLY_SCHEDULE_SHUTDOWN_DAY = "0100010";
  ini.WEEKLY_SCHEDULE_SHUTDOWN_HOUR = 7;
  ini.WEEKLY_SCHEDULE_SHUTDOWN_MINUTE = 5;
  ini.WEEKLY_SCHEDULE_TESTUPS_DAY = "0000010";
  ini.WEEKLY_SCHEDULE_TESTUPS_HOUR = 23;
  ini.WEEKLY_SCHEDULE_TESTUPS_MINUTE = 45;
  EXPECT_EQ(DayTime(store, ini, dates, kShutdown, 17, 5, 2024), "08:30");  // a Friday
  EXPECT_EQ(DayTime(store, ini, dates, kShutdown, 24, 5, 2024), "07:05");
  EXPECT_EQ(DayTime(store, ini, dates, kShutdown, 21, 5, 2024), std::nullopt);  // a Tuesday
  EXPECT_EQ(DayTime(store, ini, dates, kStartup, 17, 5, 2024), "");             // its line ends at the kind
  EXPECT_EQ(DayTime(store, ini, dates, kTest, 17, 5, 2024), "23:45");
}

TEST_F(CalendarMarks, ClearOfMondaysRemovesThatKindOnMondaysOfAnyMonthOnly) {
  Load(
      "2024/05/20,SHUTDOWN,08:00,0\r\n"  // Monday
      "2024/05/20,STARTUP,09:00,0\r\n"
      "2024/05/21,SHUTDOWN,08:00,0\r\n"  // Tuesday
      "2023/01/02,SHUTDOWN,22:00,1\r\n"  // Monday
      "2024/02/30,SHUTDOWN,08:00,0\r\n"  // no such day
      "note 2024/05/27,SHUTDOWN,08:00,0\r\n"
      "2024/05/27,SHUTDOWN\r\n");  // Monday, line cut short
  ini.WEEKLY_SCHEDULE_SHUTDOWN_DAY = "0110011";
  ini.WEEKLY_SCHEDULE_SHUTDOWN_WARNING = true;
  const auto removed =
      ClearWeekdays(store, ini, dates, kShutdown, {false, true, false, false, false, false, false});
  EXPECT_EQ(removed, (Lines{"2024/05/20", "2023/01/02", "2024/05/27"}));
  EXPECT_EQ(LinesOf(store), (Lines{"2024/05/20,STARTUP,09:00,0", "2024/05/21,SHUTDOWN,08:00,0",
                                   "2024/02/30,SHUTDOWN,08:00,0", "note 2024/05/27,SHUTDOWN,08:00,0"}));
  EXPECT_EQ(ini.WEEKLY_SCHEDULE_SHUTDOWN_DAY, "0010011");
  EXPECT_TRUE(ini.WEEKLY_SCHEDULE_SHUTDOWN_WARNING);
  EXPECT_FALSE(store.Holds("2024/05/20,SHUTDOWN"));
  EXPECT_TRUE(store.Holds("2024/05/21,SHUTDOWN"));
}

// Month ends of 30, 31, 28 and 29 days, and Saturdays, the last weekday of a
// mask: the places where a loop bound one too short goes unnoticed.
TEST_F(CalendarMarks, MonthEndsAndSaturdaysAreMarkedAndCleared) {
  for (const auto [month, year, last] : {std::array{4, 2024, 30}, std::array{5, 2024, 31},
                                         std::array{2, 2023, 28}, std::array{2, 2024, 29}}) {
    const std::vector<int> free = DaysWithoutDatedEvent(store, dates, kShutdown, month, year);
    EXPECT_EQ(free.size(), static_cast<size_t>(last)) << month << "/" << year;
    EXPECT_EQ(free.back(), last) << month << "/" << year;
  }

  ini.WEEKLY_SCHEDULE_TESTUPS_DAY = "0000001";
  ini.WEEKLY_SCHEDULE_TESTUPS_HOUR = 9;
  ini.WEEKLY_SCHEDULE_TESTUPS_MINUTE = 5;
  EXPECT_EQ(MarkedDays(kTest, 8, 2024), (std::vector<int>{3, 10, 17, 24, 31}));
  EXPECT_EQ(MarkedDays(kTest, 11, 2024), (std::vector<int>{2, 9, 16, 23, 30}));
  EXPECT_EQ(DayTime(store, ini, dates, kTest, 30, 11, 2024), "09:05");

  Load(
      "2024/04/30,SHUTDOWN,08:00,0\r\n"  // Tuesday
      "2024/05/31,SHUTDOWN,08:00,0\r\n"  // Friday
      "2023/02/28,SHUTDOWN,08:00,0\r\n"  // Tuesday
      "2024/02/29,SHUTDOWN,08:00,0\r\n"  // Thursday
      "2024/11/30,SHUTDOWN,08:00,0\r\n"  // Saturday
      "2024/11/30,STARTUP,08:00,0\r\n"
      "2024/06/30,SHUTDOWN,08:00,0\r\n");  // Sunday
  ini.WEEKLY_SCHEDULE_SHUTDOWN_DAY = "1111111";
  const auto removed = ClearWeekdays(store, ini, dates, kShutdown, {false, false, true, false, true, true, true});
  EXPECT_EQ(removed, (Lines{"2024/04/30", "2024/05/31", "2023/02/28", "2024/02/29", "2024/11/30"}));
  EXPECT_EQ(LinesOf(store), (Lines{"2024/11/30,STARTUP,08:00,0", "2024/06/30,SHUTDOWN,08:00,0"}));
  EXPECT_EQ(ini.WEEKLY_SCHEDULE_SHUTDOWN_DAY, "1101000");
}

// A 9 in the year or the month, in a file as the program saves it (the load's
// fast pass takes those lines) and in events added after it out of order: the
// month is marked and a weekly Clear finds them like any other date.
TEST_F(CalendarMarks, DatesWithANineAreMarkedAndClearedLikeAnyOther) {
  Load(
      "1999/09/06,SHUTDOWN,08:00,0\r\n"  // Monday
      "2019/05/06,SHUTDOWN,08:00,0\r\n"  // Monday
      "2019/09/02,SHUTDOWN,08:00,0\r\n"  // Monday
      "2019/09/03,SHUTDOWN,08:00,0\r\n"  // Tuesday
      "2019/09/30,STARTUP,07:00,0\r\n"   // Monday, another kind
      "2029/09/03,SHUTDOWN,22:00,1\r\n"  // Monday
      "2029/09/24,SHUTDOWN,08:00,0\r\n"  // Monday
      "2029/09/25,TESTUPS,08:00,0\r\n");
  store.Kind = "SHUTDOWN";
  store.SetEvent("2029/01/01", "06:00", false);  // Monday
  store.SetEvent("2019/09/30", "06:00", false);  // Monday
  ini.WEEKLY_SCHEDULE_SHUTDOWN_DAY = "0100000";
  EXPECT_EQ(MarkedDays(kShutdown, 9, 2019), (std::vector<int>{2, 3, 9, 16, 23, 30}));
  ini.WEEKLY_SCHEDULE_SHUTDOWN_DAY = "0000000";
  EXPECT_EQ(MarkedDays(kShutdown, 9, 2029), (std::vector<int>{3, 24}));
  EXPECT_EQ(MarkedDays(kStartup, 9, 2019), (std::vector<int>{30}));
  EXPECT_EQ(DaysWithoutDatedEvent(store, dates, kShutdown, 1, 2029).front(), 2);

  const auto removed = ClearWeekdays(store, ini, dates, kShutdown, {false, true, false, false, false, false, false});
  EXPECT_EQ(removed, (Lines{"1999/09/06", "2019/05/06", "2019/09/02", "2029/09/03", "2029/09/24", "2029/01/01",
                            "2019/09/30"}));
  EXPECT_EQ(LinesOf(store),
            (Lines{"2019/09/03,SHUTDOWN,08:00,0", "2019/09/30,STARTUP,07:00,0", "2029/09/25,TESTUPS,08:00,0"}));
  EXPECT_EQ(MarkedDays(kShutdown, 9, 2019), (std::vector<int>{3}));
}

// The calendar's marker sets are red, lime and blue for SHUTDOWN, STARTUP and
// TESTUPS; any other word takes the blue one.
TEST_F(CalendarMarks, EachKindWordShowsInItsOwnMarkerSet) {
  EXPECT_EQ(MarkerSetOf("SHUTDOWN"), kShutdown);
  EXPECT_EQ(MarkerSetOf("STARTUP"), kStartup);
  EXPECT_EQ(MarkerSetOf("TESTUPS"), kTest);
  EXPECT_EQ(MarkerSetOf("SHUT"), kTest);
  EXPECT_EQ(MarkerSetOf(""), kTest);
}

}  // namespace
