// The calendar's month and days as a screen reader is told them.
#include <gtest/gtest.h>

#include "schedule/DayDescription.h"
#include "support/FakeClock.h"
#include "support/ScratchFolder.h"

namespace {

class DayDescription : public ::testing::Test {
 protected:
  DayDescription() { store.FilePath = folder.File("SCHEDULE.TXT"); }
  void Load(const std::string& bytes) {
    WriteFileBytes(store.FilePath, bytes);
    store.LoadSchedule();
  }
  std::string Day(int day, int month, int year) {
    return DescribeDay(texts, store, ini, dates, day, month, year);
  }

  ScratchFolder folder;
  FakeClock clock{LocalDateTime{2024, 8, 17, 10, 30, 0, 0}};
  TADateTime dates{clock};
  TINI ini;
  TSchedule store;
  TINI_LANGUAGE texts;
};

TEST_F(DayDescription, DateThenEventsInKindOrderDatedBeforeWeekly) {
  // Saturday 31 August 2024: a start-up and a shutdown, written in that order;
  // the weekly test falls on Saturdays but the dated one on that kind wins.
  Load("2024/08/31,STARTUP,07:00,0\r\n2024/08/31,SHUTDOWN,08:00,1\r\n2024/08/31,TESTUPS,12:30,0\r\n");
  ini.WEEKLY_SCHEDULE_TESTUPS_DAY = "0000001";
  ini.WEEKLY_SCHEDULE_TESTUPS_HOUR = 6;
  ini.WEEKLY_SCHEDULE_TESTUPS_MINUTE = 5;
  EXPECT_EQ(Day(31, 8, 2024), "Saturday 31 August 2024: Shutdown 08:00, StartUp 07:00, TestUPS 12:30");
  // The weekly rule alone on another Saturday; nothing on a Friday.
  EXPECT_EQ(Day(24, 8, 2024), "Saturday 24 August 2024: TestUPS 06:05");
  EXPECT_EQ(Day(30, 8, 2024), "Friday 30 August 2024");
  // A day of another month, as the grid's leading and trailing cells are.
  EXPECT_EQ(Day(1, 9, 2024), "Sunday 1 September 2024");
  EXPECT_EQ(DescribeMonth(texts, 8, 2024), "August 2024");
}

TEST_F(DayDescription, NamesComeFromTheLanguage) {
  Load("2024/03/02,SHUTDOWN,22:00,0\r\n");
  texts.Path = std::string(OMBREL_LANGUAGES_DIR) + "/Francais/setup.ini";
  texts.Load();
  EXPECT_EQ(Day(2, 3, 2024), "Samedi 2 Mars 2024: Arr\xEAt 22:00");
  EXPECT_EQ(DescribeMonth(texts, 12, 1999),
            "D\xE9"
            "cembre 1999");
}

}  // namespace
