// The configuration file an administrator carries from PC to PC: every way a
// file can be wrong, one row each; and a configuration through export and
// import unchanged, with the window's rules applied on the way.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <system_error>
#include <utility>
#include <vector>

#include "deploy/Configuration.h"
#include "support/ScratchFolder.h"

namespace {

const std::vector<std::string> kLanguages = {"English", "Deutsch"};
const std::string kHeader = "Ombrel Setup configuration 1\r\n";

// The record a PC without omb.ini has.
TINI Defaults() {
  ScratchFolder folder;
  TINI ini;
  ini.Load(folder.File("omb.ini"));
  return ini;
}

struct BadFile {
  const char* what;
  std::string bytes;
  int line;
  const char* says;
};

TEST(ConfigurationImport, RefusesEveryFaultWithItsLine) {
  const BadFile kCases[] = {
      {"empty", "", 1, "empty"},
      {"another format", "[PAGE1]\r\nUPSPORT=2\r\n", 1, "not a configuration file"},
      {"another version", "Ombrel Setup configuration 2\r\n", 1, "version '2'"},
      {"UTF-16 without its mark", std::string("O\0m\0", 4), 1, "NUL"},
      {"bytes that are not UTF-8", kHeader + "[PAGE3]\r\nEVENTLOG_LOCATION=C:\\\xE9t\xE9\r\n", 3, "not UTF-8"},
      {"a port without a row", kHeader + "[PAGE1]\r\nUPSPORT=12\r\n", 3, "UPSPORT: '12' is not one of 1 to 8"},
      {"a minute of letters", kHeader + "[PAGE2]\r\nLAST_SCHEDULE_SETUP_MINUTE=ab\r\n", 3, "one of 0 to 59"},
      {"a typed number longer than its field", kHeader + "[PAGE1]\r\nBACKUP_TIME=100\r\n", 3, "0 to 99"},
      {"a negative number", kHeader + "[PAGE3]\r\nEVENTLOG_RECORD=-5\r\n", 3, "0 to 9999"},
      {"an interval off its list", kHeader + "[PAGE3]\r\nDATALOG_INTERVAL=20\r\n", 3, "15, 30"},
      {"a flag other than 0 or 1", kHeader + "[PAGE1]\r\nRUN_STARTUP_STATUS=yes\r\n", 3, "0 or 1"},
      {"a series without a row", kHeader + "[PAGE1]\r\nUPSTYPE=4\r\n", 3, "series code"},
      {"a cable other than the two", kHeader + "[PAGE1]\r\nUPSCABLE=2\r\n", 3, "Ombrel adaptor"},
      {"a day mask of six days", kHeader + "[PAGE2]\r\nWEEKLY_SCHEDULE_SHUTDOWN_DAY=010101\r\n", 3, "seven days"},
      {"a weekly hour 24", kHeader + "[PAGE2]\r\nWEEKLY_SCHEDULE_TESTUPS_HOUR=24\r\n", 3, "0 to 23"},
      {"a language this PC lacks", kHeader + "[PAGE3]\r\nLANGUAGE=Klingon\r\n", 3, "English, Deutsch"},
      {"an unknown key", kHeader + "[PAGE1]\r\nUPSPORTS=1\r\n", 3, "unknown key 'UPSPORTS'"},
      {"a key in another section", kHeader + "[PAGE2]\r\nUPSPORT=1\r\n", 3, "belongs in [PAGE1]"},
      {"an unknown section", kHeader + "[DEBUG]\r\n", 2, "unknown section [DEBUG]"},
      {"a section twice", kHeader + "[PAGE1]\r\n[PAGE2]\r\n[page1]\r\n", 4, "[PAGE1] comes twice"},
      {"a key twice", kHeader + "[PAGE1]\r\nUPSPORT=1\r\n\r\nupsport=2\r\n", 5, "first on line 3"},
      {"a key before a section", kHeader + "UPSPORT=1\r\n", 2, "before the first section"},
      {"a line without =", kHeader + "[PAGE1]\r\nUPSPORT\r\n", 3, "KEY=value"},
      {"an impossible date", kHeader + "[SCHEDULE]\r\n2026/02/30,SHUTDOWN,08:00,0\r\n", 3, "2026/02/30 does not"},
      {"an impossible hour", kHeader + "[SCHEDULE]\r\n2026/02/28,STARTUP,25:00,0\r\n", 3, "25:00 does not"},
      {"a year the calendar lacks", kHeader + "[SCHEDULE]\r\n9999/01/01,TESTUPS,08:00,1\r\n", 3, "year 9999"},
      {"a five-digit year", kHeader + "[SCHEDULE]\r\n99999/01/01,TESTUPS,08:00,1\r\n", 3, "yyyy/mm/dd"},
      {"an unknown kind", kHeader + "[SCHEDULE]\r\n2026/01/01,REBOOT,08:00,1\r\n", 3, "'REBOOT'"},
      {"a warning flag 2", kHeader + "[SCHEDULE]\r\n2026/01/01,STARTUP,08:00,2\r\n", 3, "yyyy/mm/dd"},
      {"one event of a kind twice on a day",
       kHeader + "[SCHEDULE]\r\n2026/01/01,STARTUP,08:00,1\r\n2026/01/01,STARTUP,09:00,1\r\n", 4, "second event"},
      {"an event at 24:00", kHeader + "[SCHEDULE]\r\n2026/02/28,STARTUP,24:00,0\r\n", 3, "24:00 does not"},
      {"a year past the calendar", kHeader + "[SCHEDULE]\r\n2201/01/01,TESTUPS,08:00,1\r\n", 3, "year 2201"},
      {"a path one byte too long", kHeader + "[PAGE3]\r\nDATALOG_LOCATION=" + std::string(2048, 'a') + "\r\n", 3,
       "longer than 2047"},
      {"a quote inside a path", kHeader + "[PAGE3]\r\nDATALOG_LOCATION=D:\\lo\"gs\r\n", 3, "which no path holds"},
      {"not UTF-8 after lines ended by CR alone",
       "Ombrel Setup configuration 1\r[PAGE3]\rEVENTLOG_LOCATION=C:\\\xE9t\xE9\r", 3, "not UTF-8"},
      {"a NUL after a line ended by CR CR LF", std::string("Ombrel Setup configuration 1\r\r\nX\0\r\n", 35), 3,
       "NUL"},
  };
  const TINI present = Defaults();
  for (const BadFile& bad : kCases) {
    SCOPED_TRACE(bad.what);
    try {
      deploy::Import(bad.bytes, present, kLanguages);
      ADD_FAILURE() << "accepted";
    } catch (const deploy::ConfigurationError& error) {
      EXPECT_EQ(error.Line(), bad.line) << error.Text();
      EXPECT_NE(error.Text().find(bad.says), std::string::npos) << error.Text();
    }
  }
}

// Values at their limits, each accepted and stored as the window stores it.
TEST(ConfigurationImport, AcceptsEveryValueAtItsLimit) {
  const struct {
    const char* what;
    std::string bytes;
    std::function<bool(const deploy::Imported&)> holds;
  } kCases[] = {
      {"a path of 2047 bytes", kHeader + "[PAGE3]\r\nDATALOG_LOCATION=" + std::string(2047, 'a') + "\r\n",
       [](const deploy::Imported& i) { return i.settings.DATALOG_LOCATION.size() == 2047; }},
      {"a quoted path, stored without its quotes",
       kHeader + "[PAGE3]\r\nEVENTLOG_LOCATION=\"C:\\Program Files\\Ombrel\\EVENTLOG.TXT\"\r\n",
       [](const deploy::Imported& i) { return i.settings.EVENTLOG_LOCATION == "C:\\Program Files\\Ombrel\\EVENTLOG.TXT"; }},
      {"the last year and minute of the calendar", kHeader + "[SCHEDULE]\r\n2200/12/31,SHUTDOWN,23:59,0\r\n",
       [](const deploy::Imported& i) { return i.events && i.events->size() == 1; }},
      {"an empty [SCHEDULE] clears the events", kHeader + "[SCHEDULE]\r\n",
       [](const deploy::Imported& i) { return i.events && i.events->empty(); }},
      {"the test marker of the Velto series", kHeader + "[PAGE1]\r\nUPSTYPE=0\r\n[PAGE2]\r\nLAST_SCHEDULE_SETUP_BUTTON=3\r\n",
       [](const deploy::Imported& i) { return i.settings.LAST_SCHEDULE_SETUP_BUTTON == 3; }},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    try {
      EXPECT_TRUE(c.holds(deploy::Import(c.bytes, Defaults(), kLanguages)));
    } catch (const deploy::ConfigurationError& error) {
      ADD_FAILURE() << error.Text();
    }
  }
}

TEST(ConfigurationImport, RefusesFilesThatCannotBeRead) {
  ScratchFolder folder;
  folder.Write("huge.conf", std::string(deploy::kLargestFile + 1, ' '));
  folder.Write("largest.conf", std::string(deploy::kLargestFile, ' '));
  EXPECT_EQ(deploy::ReadConfigurationFile(folder.File("largest.conf")).size(), deploy::kLargestFile);
  std::vector<std::pair<std::string, const char*>> cases = {
      {folder.File("missing.conf"), "does not exist"},
      {folder.Path(), "a folder, not a file"},
      {folder.File("huge.conf"), "larger than any configuration"}};
  // A name the system cannot resolve is there but unreadable, not missing
  // (where the system lets a link be made).
  std::error_code noLink;
  std::filesystem::create_symlink(folder.File("loop.conf"), folder.File("loop.conf"), noLink);
  if (!noLink) cases.emplace_back(folder.File("loop.conf"), "cannot be read");
  for (const auto& bad : cases) {
    SCOPED_TRACE(bad.first);
    try {
      deploy::ReadConfigurationFile(bad.first);
      ADD_FAILURE() << "read";
    } catch (const deploy::ConfigurationError& error) {
      EXPECT_NE(error.Text().find(bad.second), std::string::npos) << error.Text();
    }
  }
}

TEST(ConfigurationExport, GoesThroughImportAndBackUnchanged) {
  ScratchFolder folder;
  folder.Write("omb.ini",
               "[PAGE1]\r\nUPSPORT=3\r\nRUN_STARTUP_STATUS=1\r\nUPSTYPE=3\r\nBACKUP_TIME=42\r\nRUNTIME_ZERO_SHUTDOWN_STATUS=0\r\n"
               "[PAGE2]\r\nWEEKLY_SCHEDULE_SHUTDOWN_DAY=0111110\r\nWEEKLY_SCHEDULE_SHUTDOWN_HOUR=22\r\n"
               "[PAGE3]\r\nDATALOG_INTERVAL=120\r\nDATALOG_LOCATION=D:\\logs\\\r\nLANGUAGE=Deutsch\r\n"
               "SHUTDOWN_POWEROFF=1\r\n[DEBUG]\r\nDEBUG_LOG=1\r\n");
  folder.Write("SCHEDULE.TXT", "2026/05/17,TESTUPS,21:05,0\r\n2026/05/17,SHUTDOWN,08:30,1\r\nnot an event\r\n");
  TINI source;
  source.Load(folder.File("omb.ini"));
  TSchedule schedule;
  schedule.FilePath = folder.File("SCHEDULE.TXT");
  schedule.LoadSchedule();

  std::vector<std::string> skipped;
  const std::string exported = deploy::Export(source, schedule, &skipped);
  EXPECT_EQ(exported, deploy::Export(source, schedule));
  EXPECT_EQ(skipped, std::vector<std::string>{"not an event"});
  EXPECT_NE(exported.find("\r\n[SCHEDULE]\r\n2026/05/17,SHUTDOWN,08:30,1\r\n2026/05/17,TESTUPS,21:05,0\r\n"),
            std::string::npos);
  EXPECT_EQ(exported.find("DEBUG"), std::string::npos);
  EXPECT_EQ(exported.find("SHUTDOWN_POWEROFF"), std::string::npos);

  // Another PC, with its own debug options and no events yet.
  const TINI other = Defaults();
  deploy::Imported imported = deploy::Import(exported, other, kLanguages);
  ASSERT_TRUE(imported.events);
  TSchedule copied;
  copied.Kind = "SHUTDOWN";
  for (const std::string& line : *imported.events) {
    copied.Kind = line.substr(11, line.find(',', 11) - 11);
    copied.SetEvent(line.substr(0, 10), line.substr(line.size() - 7, 5), line.back() == '1');
  }
  EXPECT_EQ(deploy::Export(imported.settings, copied), exported);
  EXPECT_EQ(imported.settings.DEBUG_LOG, other.DEBUG_LOG);
  EXPECT_EQ(imported.settings.BACKUP_TIME, 42);
  EXPECT_NE(std::find(imported.changes.begin(), imported.changes.end(), "UPSPORT=3 (was 1)"), imported.changes.end());
  // A check: the exporting PC (its line that is no event aside) and the
  // imported one hold the file; the other PC differs in each value and event.
  EXPECT_EQ(deploy::Differences(source, schedule, imported), std::vector<std::string>{});
  EXPECT_EQ(deploy::Differences(imported.settings, copied, imported), std::vector<std::string>{});
  TSchedule otherEvents;
  otherEvents.Kind = "SHUTDOWN";
  otherEvents.SetEvent("2026/05/17", "08:30", true);  // the file's SHUTDOWN, and one it lacks:
  otherEvents.Kind = "STARTUP";
  otherEvents.SetEvent("2027/01/01", "07:00", false);
  const std::vector<std::string> differences = deploy::Differences(other, otherEvents, imported);
  for (const char* line : {"UPSPORT: this PC 1, the file 3",
                           "SCHEDULE: 2026/05/17,TESTUPS,21:05,0: in the file, not on this PC",
                           "SCHEDULE: 2027/01/01,STARTUP,07:00,0: on this PC, not in the file"})
    EXPECT_NE(std::find(differences.begin(), differences.end(), line), differences.end()) << line;
  EXPECT_EQ(std::count_if(differences.begin(), differences.end(),
                          [](const std::string& line) { return line.starts_with("SCHEDULE:"); }),
            2);

  // UTF-16 with its mark reads as the same file.
  std::string utf16 = "\xFF\xFE";
  for (char c : exported) utf16 += std::string{c, '\0'};
  EXPECT_EQ(deploy::Export(deploy::Import(utf16, other, kLanguages).settings, copied), exported);
}

TEST(ConfigurationImport, KeepsWhatItDoesNotNameAndSaysWhatTheRulesChange) {
  TINI present = Defaults();
  present.BACKUP_TIME = 17;
  present.SCHEDULE_SHUTDOWN_UPS = true;
  const deploy::Imported imported = deploy::Import(
      kHeader + "; the generic series: no Shutdown UPS\r\n[PAGE1]\r\nUPSTYPE=2\r\n  POWERFAIL_SHUTDOWN_UPS = 1 \r\n",
      present, kLanguages);
  EXPECT_FALSE(imported.events);
  EXPECT_EQ(imported.settings.BACKUP_TIME, 17);
  EXPECT_EQ(imported.settings.UPSTYPE, 2);
  EXPECT_FALSE(imported.settings.POWERFAIL_SHUTDOWN_UPS);
  EXPECT_FALSE(imported.settings.SCHEDULE_SHUTDOWN_UPS);
  const std::vector<std::string>& said = imported.changes;
  EXPECT_NE(std::find(said.begin(), said.end(), "POWERFAIL_SHUTDOWN_UPS=0 (the file says 1; changed by the window's rules)"),
            said.end());
  EXPECT_NE(std::find(said.begin(), said.end(), "SCHEDULE_SHUTDOWN_UPS=0 (was 1; changed by the window's rules)"),
            said.end());
}

}  // namespace
