// The settings' rules on the record: what OK stores for a stored record the
// user leaves alone, one row per rule, and the series table they rest on.
#include <gtest/gtest.h>

#include <functional>

#include "settings/SettingsRules.h"
#include "support/ScratchFolder.h"
#include "support/SettingsSamples.h"
#include "util/AppError.h"

namespace rules = settings_rules;

namespace {

// A record as a fresh omb.ini gives it, but for the Velto series, whose rules
// change nothing.
TINI Stored() {
  TINI ini;
  ini.UPSPORT = 3;
  ini.UPSTYPE = 0;
  ini.OVERLOAD_SHUTDOWN_STATUS = true;
  ini.OVERLOAD_SHUTDOWN_TIME = 2;
  ini.POWERFAIL_SHUTDOWN_STATUS = true;
  ini.BACKUP_TIME = 5;
  ini.POWERFAIL_SHUTDOWN_TYPE = 1;
  ini.POWERFAIL_SHUTDOWN_UPS = true;
  ini.LAST_SCHEDULE_SETUP_HOUR = 12;
  ini.LAST_SCHEDULE_SETUP_BUTTON = 3;
  ini.SCHEDULE_SHUTDOWN_TYPE = 2;
  ini.SCHEDULE_SHUTDOWN_UPS = true;
  ini.EVENTLOG_RECORD = 50;
  ini.DATALOG_STATUS = true;
  ini.DATALOG_DAY = 7;
  ini.DATALOG_INTERVAL = 30;
  ini.LANGUAGE = "English";
  return ini;
}

struct Case {
  const char* rule;
  std::function<void(TINI&)> stored;   // what the file holds beyond Stored()
  std::function<void(TINI&)> changed;  // what OK stores differently from it
};

const Case kCases[] = {
    {"a record within every limit stays", [](TINI&) {}, [](TINI&) {}},
    {"a port without a row stores 0", [](TINI& i) { i.UPSPORT = 9; }, [](TINI& i) { i.UPSPORT = 0; }},
    {"port 8 has a row", [](TINI& i) { i.UPSPORT = 8; }, [](TINI&) {}},
    {"a shutdown type without a row stores -1", [](TINI& i) { i.POWERFAIL_SHUTDOWN_TYPE = 3; },
     [](TINI& i) { i.POWERFAIL_SHUTDOWN_TYPE = -1; }},
    {"so does the schedule's", [](TINI& i) { i.SCHEDULE_SHUTDOWN_TYPE = -7; },
     [](TINI& i) { i.SCHEDULE_SHUTDOWN_TYPE = -1; }},
    {"hour 24 and minute 60 have no row and store 0",
     [](TINI& i) { i.LAST_SCHEDULE_SETUP_HOUR = 24, i.LAST_SCHEDULE_SETUP_MINUTE = 60; },
     [](TINI& i) { i.LAST_SCHEDULE_SETUP_HOUR = 0, i.LAST_SCHEDULE_SETUP_MINUTE = 0; }},
    {"hour 0 is the row 00", [](TINI& i) { i.LAST_SCHEDULE_SETUP_HOUR = 0; }, [](TINI&) {}},
    {"a typed number keeps any value it shows",
     [](TINI& i) { i.OVERLOAD_SHUTDOWN_TIME = 123, i.BACKUP_TIME = -4, i.EVENTLOG_RECORD = 99999; }, [](TINI&) {}},
    {"the cable: the adaptor stays", [](TINI& i) { i.UPSCABLE = 1; }, [](TINI&) {}},
    {"any other cable stores the Tarvexi cable", [](TINI& i) { i.UPSCABLE = 5; }, [](TINI& i) { i.UPSCABLE = 0; }},
    {"a marker value naming no marker stores none", [](TINI& i) { i.LAST_SCHEDULE_SETUP_BUTTON = 7; },
     [](TINI& i) { i.LAST_SCHEDULE_SETUP_BUTTON = 0; }},
    {"both power-fail boxes on show at zero",
     [](TINI& i) { i.POWERFAIL_SHUTDOWN_STATUS = true, i.RUNTIME_ZERO_SHUTDOWN_STATUS = true; },
     [](TINI& i) { i.POWERFAIL_SHUTDOWN_STATUS = false; }},
    {"both off stay off", [](TINI& i) { i.POWERFAIL_SHUTDOWN_STATUS = false, i.RUNTIME_ZERO_SHUTDOWN_STATUS = false; },
     [](TINI&) {}},
    {"Soranthe releases the test marker", [](TINI& i) { i.UPSTYPE = 1; },
     [](TINI& i) { i.LAST_SCHEDULE_SETUP_BUTTON = 0; }},
    {"QZ keeps a start-up marker", [](TINI& i) { i.UPSTYPE = 3, i.LAST_SCHEDULE_SETUP_BUTTON = 2; }, [](TINI&) {}},
    {"QZ releases the test marker", [](TINI& i) { i.UPSTYPE = 3; }, [](TINI& i) { i.LAST_SCHEDULE_SETUP_BUTTON = 0; }},
    {"a data log left off stays off", [](TINI& i) { i.DATALOG_STATUS = false; }, [](TINI&) {}},
    {"the generic series: dry contact rules",
     [](TINI& i) {
       i.UPSTYPE = 2, i.LAST_SCHEDULE_SETUP_BUTTON = 2, i.POWERFAIL_SHUTDOWN_STATUS = false,
       i.RUNTIME_ZERO_SHUTDOWN_STATUS = true;
     },
     [](TINI& i) {
       i.LAST_SCHEDULE_SETUP_BUTTON = 0, i.DATALOG_STATUS = false, i.POWERFAIL_SHUTDOWN_UPS = false,
       i.SCHEDULE_SHUTDOWN_UPS = false, i.POWERFAIL_SHUTDOWN_STATUS = true, i.RUNTIME_ZERO_SHUTDOWN_STATUS = false;
     }},
    {"an unknown series is generic and stays unknown", [](TINI& i) { i.UPSTYPE = 42; },
     [](TINI& i) {
       i.LAST_SCHEDULE_SETUP_BUTTON = 0, i.DATALOG_STATUS = false, i.POWERFAIL_SHUTDOWN_UPS = false,
       i.SCHEDULE_SHUTDOWN_UPS = false;
     }},
    {"the red marker survives the generic series", [](TINI& i) { i.UPSTYPE = 2, i.LAST_SCHEDULE_SETUP_BUTTON = 1; },
     [](TINI& i) { i.DATALOG_STATUS = false, i.POWERFAIL_SHUTDOWN_UPS = false, i.SCHEDULE_SHUTDOWN_UPS = false; }},
};

}  // namespace

TEST(SettingsRules, OkStoresWhatTheControlsGiveBackUnderTheSeriesRules) {
  for (const Case& c : kCases) {
    TINI stored = Stored();
    c.stored(stored);
    TINI expected = stored;
    c.changed(expected);
    TINI applied = stored;
    rules::ApplyWindowRules(applied);
    EXPECT_TRUE(applied == expected) << c.rule;
  }
}

TEST(SettingsRules, AnIntervalWithoutARowIsRefusedAsOkRefusesIt) {
  for (int interval : {0, 14, 16, 195}) {
    TINI ini = Stored();
    ini.DATALOG_INTERVAL = interval;
    try {
      rules::ApplyWindowRules(ini);
      ADD_FAILURE() << interval;
    } catch (const AppError& refused) {
      EXPECT_STREQ(refused.what(), "'' is not a valid integer value");
    }
  }
  TINI last = Stored();
  last.DATALOG_INTERVAL = 180;
  EXPECT_NO_THROW(rules::ApplyWindowRules(last));
}

TEST(SettingsRules, ShutdownTypesAndSeriesTable) {
  EXPECT_FALSE(rules::AutoSaveAfter(rules::kForceShutdown).enabled);
  EXPECT_TRUE(rules::AutoSaveAfter(rules::kHibernate).warnHibernate);
  EXPECT_TRUE(rules::AutoSaveAfter(rules::kHibernate).untick);
  EXPECT_FALSE(rules::AutoSaveAfter(rules::kNormalShutdown).untick);
  // Rows in the list's order, each code once; only the generic row has a cable.
  EXPECT_EQ(rules::SeriesRowOfCode(3), 0);
  EXPECT_EQ(rules::SeriesRowOfCode(2), 3);
  EXPECT_EQ(rules::SeriesRowOfCode(4), std::nullopt);
  for (const rules::SeriesRow& row : rules::SeriesRows())
    EXPECT_EQ(rules::SeriesRulesOf(row.code).cableChoice, row.code == 2) << row.caption;
  EXPECT_EQ(rules::LargestTyped(rules::kEventLogRecords), 9999);
  // The cable list's ticks: only the adaptor ticked alone stores it.
  EXPECT_EQ(rules::StoredCable(false, false), rules::kTarvexiCable);
  EXPECT_EQ(rules::StoredCable(true, false), rules::kTarvexiCable);
  EXPECT_EQ(rules::StoredCable(false, true), rules::kOmbrelAdaptor);
  EXPECT_EQ(rules::StoredCable(true, true), rules::kTarvexiCable);
}

// On every omb.ini the tests hold, without a window: what the rules give is
// what the file then holds, and a second pass over it changes nothing (the
// window's own comparison is tests/app/RulesWithoutWindowTest.cpp).
TEST(SettingsRules, EverySampleSettingsFileSettlesInOnePass) {
  ScratchFolder folder;
  const std::string path = folder.File("omb.ini");
  int stored = 0;
  for (const SettingsSample& sample : SettingsSamples()) {
    folder.Write("omb.ini", sample.bytes);
    TINI ini;
    ini.Load(path);
    try {
      rules::ApplyWindowRules(ini);
    } catch (const AppError&) {
      continue;  // OK refuses this one too
    }
    ini.Save();
    TINI again;
    again.Load(path);
    EXPECT_TRUE(again == ini) << sample.name;
    rules::ApplyWindowRules(again);
    EXPECT_TRUE(again == ini) << sample.name;
    ++stored;
  }
  EXPECT_GT(stored, 20);
}
