// Which days of a month carry markers, the times of a day, and the weekday
// Clear, on a store loaded from a file.
#include <gtest/gtest.h>

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

TEST_F(CalendarMarks, LastDaysOfAMonthTakeTheirCells) {
  // January 2022 starts on a Saturday: day 31 takes cell 37, the last one with markers.
  DayCell cell = DayCellOf(31, dates.Day_Of_Week(1, 1, 2022) - 1);
  EXPECT_EQ(CellIndex(cell.column, cell.weekRow), kMarkedCells);
  cell = DayCellOf(28, dates.Day_Of_Week(1, 2, 2021) - 1);  // a Monday
  EXPECT_EQ(CellIndex(cell.column, cell.weekRow), 29);
  cell = DayCellOf(28, dates.Day_Of_Week(1, 2, 2015) - 1);  // a Sunday
  EXPECT_EQ(CellIndex(cell.column, cell.weekRow), 28);
  EXPECT_EQ(CellIndex(7, 0), 0);
  EXPECT_EQ(CellIndex(0, 8), 0);
  EXPECT_EQ(CellIndex(-1, 2), 0);
}

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

}  // namespace
