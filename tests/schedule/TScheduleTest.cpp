#include <gtest/gtest.h>

#include "schedule/PlainSchedule.h"
#include "support/ScratchFolder.h"
#include "schedule/TSchedule.h"

namespace {

using Lines = std::vector<std::string>;

class ScheduleStore : public ::testing::Test {
 protected:
  ScheduleStore() { store.FilePath = folder.File("SCHEDULE.TXT"); }

  // Puts lines into the store the way the program gets them: from the file.
  void LoadText(const std::string& bytes) {
    WriteFileBytes(store.FilePath, bytes);
    store.LoadSchedule();
  }

  void Set(const std::string& kind, const std::string& date, const std::string& time, bool warning) {
    store.Kind = kind;
    store.SetEvent(date, time, warning);
  }

  ScratchFolder folder;
  TSchedule store;
};

TEST_F(ScheduleStore, SetAddsNewEventsAtTheEndAndChangesExistingOnesInPlace) {
  Set("SHUTDOWN", "2024/05/17", "08:30", true);
  Set("TESTUPS", "2024/05/17", "21:05", false);
  Set("STARTUP", "2024/05/16", "07:00", false);
  Set("SHUTDOWN", "2024/05/17", "23:59", false);
  EXPECT_EQ(LinesOf(store), (Lines{"2024/05/17,SHUTDOWN,23:59,0", "2024/05/17,TESTUPS,21:05,0",
                                   "2024/05/16,STARTUP,07:00,0"}));
  EXPECT_EQ(store.StoreText(),
            "2024/05/17,SHUTDOWN,23:59,0\r\n2024/05/17,TESTUPS,21:05,0\r\n2024/05/16,STARTUP,07:00,0\r\n");
}

TEST_F(ScheduleStore, UnknownKindOrTextsWithLineEndsChangeNothing) {
  Set("SHUTDOWN", "2024/05/17", "08:30", true);
  Set("shutdown", "2024/05/17", "09:00", true);
  Set("", "2024/05/18", "09:00", true);
  Set("SHUTDOWN", "2024/05/19\r\n2024/05/20", "09:00", true);
  Set("SHUTDOWN", "2024/05/17", "09:00\n", true);
  EXPECT_EQ(LinesOf(store), (Lines{"2024/05/17,SHUTDOWN,08:30,1"}));
}

TEST_F(ScheduleStore, SetNeverReachesIntoTheNextLine) {
  LoadText(
      "2024/05/17,SHUTDOWN,08\r\n"
      "2024/05/18,STARTUP\r\n"
      "2024/05/19,TESTUPS,10:00,1,extra\r\n"
      "2024/05/20,SHUTDOWN,11:00,1\r\n");
  Set("SHUTDOWN", "2024/05/17", "09:15", true);
  Set("STARTUP", "2024/05/18", "06:00", false);
  Set("TESTUPS", "2024/05/19", "12:34", false);
  EXPECT_EQ(LinesOf(store), (Lines{"2024/05/17,SHUTDOWN,09:15,1", "2024/05/18,STARTUP,06:00,0",
                                   "2024/05/19,TESTUPS,12:34,0,extra", "2024/05/20,SHUTDOWN,11:00,1"}));
}

TEST_F(ScheduleStore, FirstLineHoldingTheKeyWinsEvenInsideOtherText) {
  LoadText("note 2024/05/17,SHUTDOWN,08:30,1\r\n2024/05/17,SHUTDOWN,10:00,0\r\n");
  Set("SHUTDOWN", "2024/05/17", "22:00", true);
  EXPECT_EQ(LinesOf(store), (Lines{"note 2024/05/17,SHUTDOWN,22:00,1", "2024/05/17,SHUTDOWN,10:00,0"}));

  LoadText("2024/05/17,SHUTDOWN,10:00,0\r\n2024/05/17,SHUTDOWN,10:00,0\r\n");
  Set("SHUTDOWN", "2024/05/17", "22:00", true);
  EXPECT_TRUE(store.DeleteEvent("2024/05/17,SHUTDOWN"));
  EXPECT_EQ(LinesOf(store), (Lines{"2024/05/17,SHUTDOWN,10:00,0"}));
}

TEST_F(ScheduleStore, DeleteRemovesTheFirstWholeLineHoldingTheKey) {
  LoadText(
      "2024/05/17,TESTUPS,21:05,0\r\n"
      "2024/05/16,SHUTDOWN,08:30,1,with a remark longer than an event line\r\n"
      "prefix 2024/05/18,STARTUP,07:00,0\r\n"
      "2024/05/17,SHUTDOWN,08:30,1\r\n"
      "2024/05/19\r\n");
  EXPECT_FALSE(store.DeleteEvent("2024/05/17,STARTUP"));
  EXPECT_FALSE(store.DeleteEvent("2024/05/20"));
  EXPECT_FALSE(store.DeleteEvent(""));
  EXPECT_FALSE(store.DeleteEvent("0\r\n2024"));
  EXPECT_EQ(store.Count(), 5u);
  EXPECT_TRUE(store.DeleteEvent("2024/05/17"));
  EXPECT_TRUE(store.DeleteEvent("2024/05/16,SHUTDOWN"));
  EXPECT_TRUE(store.DeleteEvent("2024/05/18"));
  EXPECT_TRUE(store.DeleteEvent("2024/05/19"));
  EXPECT_EQ(LinesOf(store), (Lines{"2024/05/17,SHUTDOWN,08:30,1"}));
  store.Clear();
  EXPECT_FALSE(store.Holds("2024/05/17"));
}

TEST_F(ScheduleStore, EventTimeReadsTheTimeAfterTheKeyAndStaysInItsLine) {
  LoadText(
      "2024/05/17,SHUTDOWN,08:30,1\r\n"
      "2024/05/17,STARTUP,07:1\r\n"
      "2024/05/17,TESTUPS\r\n"
      "2024/05/18,SHUTDOWN,09:00,0\r\n");
  EXPECT_EQ(store.EventTime("2024/05/17", "SHUTDOWN"), "08:30");
  EXPECT_EQ(store.EventTime("2024/05/17", "STARTUP"), "07:1");
  EXPECT_EQ(store.EventTime("2024/05/17", "TESTUPS"), "");
  EXPECT_EQ(store.EventTime("2024/05/19", "SHUTDOWN"), std::nullopt);
  EXPECT_TRUE(store.Holds("2024/05/17,TESTUPS"));
  EXPECT_TRUE(store.Holds("STARTUP,07"));
  EXPECT_FALSE(store.Holds("1\r\n2024/05/17"));
}

TEST_F(ScheduleStore, SortOrdersByDateThenShutdownStartupTestAndKeepsTies) {
  LoadText(
      "2024/05/18,TESTUPS,01:00,0\r\n"
      "2024/05/17,TESTUPS,02:00,0\r\n"
      "2024/05/17,STARTUP,03:00,0\r\n"
      "2024/05/17,SHUTDOWN,04:00,0\r\n"
      "2023/12/31,STARTUP,05:00,0\r\n"
      "2024/05/17,STARTUP,06:00,1\r\n"
      "2024/05/17,SHUTDOWN,07:00,1\r\n");
  store.SortSchedule();
  EXPECT_EQ(LinesOf(store),
            (Lines{"2023/12/31,STARTUP,05:00,0", "2024/05/17,SHUTDOWN,04:00,0", "2024/05/17,SHUTDOWN,07:00,1",
                   "2024/05/17,STARTUP,03:00,0", "2024/05/17,STARTUP,06:00,1", "2024/05/17,TESTUPS,02:00,0",
                   "2024/05/18,TESTUPS,01:00,0"}));
}

TEST_F(ScheduleStore, SortPlacesShortAndOddLinesWithoutReadingPastThem) {
  LoadText(
      "2024/05/17,TESTUPS,02:00,0\r\n"
      "\xE9t\xE9\r\n"
      "\xE9t\xE9 2024/05/17\r\n"
      "2024/05/17,XXXXXXX,03:00,0\r\n"
      "2024/05/17,S\r\n"
      "\r\n"
      "2024/05/17,SHUTDOWN,04:00,0\r\n"
      "2024/05/17\r\n"
      "2024\r\n"
      "2024/05/17,STARTUP,05:00,0\r\n");
  store.SortSchedule();
  // Dates compare as bytes (a shorter one that is a prefix first, high bytes last);
  // within a date: too short for a kind, SHUTDOWN, STARTUP, other letters, TESTUPS.
  EXPECT_EQ(LinesOf(store), (Lines{"", "2024", "2024/05/17,S", "2024/05/17", "2024/05/17,SHUTDOWN,04:00,0",
                                   "2024/05/17,STARTUP,05:00,0", "2024/05/17,XXXXXXX,03:00,0",
                                   "2024/05/17,TESTUPS,02:00,0", "\xE9t\xE9", "\xE9t\xE9 2024/05/17"}));
}

// An odd date text can make SetEvent change a line near its start, and so its place in the order.
TEST_F(ScheduleStore, ChangeNearTheStartOfASortedLineKeepsSearchesAndSortRight) {
  LoadText(
      ",STARTUP,08:30,1\r\n"
      ",STARTUP,23:59,0\r\n"
      "2024/05/17,SHUTDOWN,08:30,1\r\n"
      "2024/05/18,STARTUP,07:00,0\r\n");
  Set("STARTUP", "", "99:99", true);
  EXPECT_EQ(store.Line(0), ",STARTUP,99:99,1");
  Set("STARTUP", "2024/05/18", "06:00", true);
  Set("TESTUPS", "2024/05/16", "05:00", true);
  EXPECT_TRUE(store.DeleteEvent("2024/05/17"));
  store.SortSchedule();
  EXPECT_EQ(LinesOf(store), (Lines{",STARTUP,23:59,0", ",STARTUP,99:99,1", "2024/05/16,TESTUPS,05:00,1",
                                   "2024/05/18,STARTUP,06:00,1"}));
  EXPECT_EQ(store.EventTime("2024/05/16", "TESTUPS"), "05:00");
}

}  // namespace
