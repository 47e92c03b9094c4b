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
  EXPECT_EQ(Day(31, 8, 2024), "Saturday, 31 August 2024: Shutdown 08:00, StartUp 07:00, TestUPS 12:30");
  // The weekly rule alone on another Saturday; nothing on a Friday.
  EXPECT_EQ(Day(24, 8, 2024), "Saturday, 24 August 2024: TestUPS 06:05");
  EXPECT_EQ(Day(30, 8, 2024), "Friday, 30 August 2024");
  // A day of another month, as the grid's leading and trailing cells are.
  EXPECT_EQ(Day(1, 9, 2024), "Sunday, 1 September 2024");
  EXPECT_EQ(DescribeMonth(texts, 8, 2024), "August 2024");
}

TEST_F(DayDescription, EachLanguageWritesTheDateInItsOwnFormWithItsOwnNames) {
  Load("2026/12/09,SHUTDOWN,22:00,0\r\n");
  const std::string shipped = std::string(OMBREL_LANGUAGES_DIR) + "/";
  // A language of the user's own: its names, the English order.
  const std::string italian = folder.File("Italiano") + "/setup.ini";
  std::filesystem::create_directories(folder.File("Italiano"));
  WriteFileBytes(italian,
                 "[SETUP_PAGE_2]\r\nDECEMBER=Dicembre\r\nTUESDAY=Marted\xEC\r\nWEDNESDAY=Mercoled\xEC\r\n");
  struct Row {
    std::string file;  // empty: the built-in texts
    const char* ninth;
    const char* first;
    const char* month;
  };
  // Windows-1252, as the texts are on a Western system.
  const Row rows[] = {
      {"", "Wednesday, 9 December 2026: Shutdown 22:00", "Tuesday, 1 December 2026", "December 2026"},
      {shipped + "English/setup.ini", "Wednesday, 9 December 2026: Shutdown 22:00", "Tuesday, 1 December 2026",
       "December 2026"},
      {shipped + "Deutsch/setup.ini", "Mittwoch, 9. Dezember 2026: Ausschalten 22:00", "Dienstag, 1. Dezember 2026",
       "Dezember 2026"},
      {shipped + "Francais/setup.ini", "mercredi 9 d\xE9" "cembre 2026 : Arr\xEAt 22:00",
       "mardi 1er d\xE9" "cembre 2026", "d\xE9" "cembre 2026"},
      {shipped + "Espanol/setup.ini", "mi\xE9rcoles, 9 de diciembre de 2026: Apagado 22:00",
       "martes, 1 de diciembre de 2026", "diciembre de 2026"},
      // A missing file leaves the English texts, and so the English form.
      {folder.File("Deutsch") + "/setup.ini", "Wednesday, 9 December 2026: Shutdown 22:00", "Tuesday, 1 December 2026",
       "December 2026"},
      {italian, "Mercoled\xEC, 9 Dicembre 2026: Shutdown 22:00",
       "Marted\xEC, 1 Dicembre 2026", "Dicembre 2026"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    texts = TINI_LANGUAGE();
    if (!row.file.empty()) {
      texts.Path = row.file;
      texts.Load();
    }
    EXPECT_EQ(Day(9, 12, 2026), row.ninth);
    EXPECT_EQ(Day(1, 12, 2026), row.first);
    EXPECT_EQ(DescribeMonth(texts, 12, 2026), row.month);
  }
}

}  // namespace
