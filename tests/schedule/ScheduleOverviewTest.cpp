#include <gtest/gtest.h>

#include "schedule/ScheduleOverview.h"

namespace {

std::vector<std::string> Row(const std::string& line, const TINI_LANGUAGE& texts = TINI_LANGUAGE()) {
  OverviewRow row = OverviewRowOf(line, texts, TAString());
  return {row.day, row.time, row.type, row.warning};
}

using Cells = std::vector<std::string>;

}  // namespace

TEST(OverviewRow, EventLinesShowDateTimeKindNameAndWarning) {
  EXPECT_EQ(Row("2024/05/17,TESTUPS,21:05,0"), (Cells{"2024/05/17", "21:05", "TestUPS", "NO"}));
  EXPECT_EQ(Row("2024/05/17,SHUTDOWN,08:30,1"), (Cells{"2024/05/17", "08:30", "Shutdown", "YES"}));
  EXPECT_EQ(Row("2030/12/31,STARTUP,00:00,1"), (Cells{"2030/12/31", "00:00", "StartUp", "YES"}));

  TINI_LANGUAGE german;
  german.SHUTDOWN = "Ausschalten";
  german.YES = "JA";
  german.NO = "NEIN";
  EXPECT_EQ(Row("2024/05/17,SHUTDOWN,08:30,0", german),
            (Cells{"2024/05/17", "08:30", "Ausschalten", "NEIN"}));
}

TEST(OverviewRow, OnlyTheFlagZeroMeansNoWarning) {
  EXPECT_EQ(Row("2024/05/17,STARTUP,08:30,")[3], "YES");
  EXPECT_EQ(Row("2024/05/17,STARTUP,08:30,00")[3], "YES");
  EXPECT_EQ(Row("2024/05/17,STARTUP,08:30,0,extra")[3], "YES");
  EXPECT_EQ(Row("2024/05/17,REBOOT,08:30,0"), (Cells{"2024/05/17", "08:30", "REBOOT", "NO"}));
}

TEST(OverviewRow, ShortLinesFillTheColumnsOfTheirFieldsAndLeaveTheRestEmpty) {
  EXPECT_EQ(Row(""), (Cells{"", "", "", ""}));
  EXPECT_EQ(Row("not an event"), (Cells{"not an event", "", "", ""}));
  EXPECT_EQ(Row("2024/05/17,SHUTDOWN"), (Cells{"2024/05/17", "", "Shutdown", ""}));
  EXPECT_EQ(Row("2024/05/17,SHUTDOWN,"), (Cells{"2024/05/17", "", "Shutdown", ""}));
  EXPECT_EQ(Row("2024/05/17,TESTUPS,21:05"), (Cells{"2024/05/17", "21:05", "TestUPS", ""}));
  EXPECT_EQ(Row(",,,"), (Cells{"", "", "", "YES"}));
}
