// A run without the window: its arguments, what it writes and what it leaves
// alone when it stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "deploy/Deployment.h"
#include "settings/SaveOrder.h"
#include "settings/TINI.h"
#include "support/FakeEventLog.h"
#include "support/FakePowerCapabilities.h"
#include "support/FakeRegistry.h"
#include "support/FakeShell.h"
#include "support/MemoryFiles.h"
#include "support/ScratchFolder.h"
#include "util/AppError.h"
#include "util/Sha256.h"
#include "util/FolderOf.h"

namespace {

TEST(CommandLine, TakesTheOptionsAndRefusesTheRest) {
  using deploy::ParseCommandLine;
  EXPECT_FALSE(ParseCommandLine({}).command);
  EXPECT_TRUE(ParseCommandLine({}).error.empty());
  const auto both = ParseCommandLine({"/IMPORT", "x.conf", "-detect", "/quiet", "/log", "r.txt"});
  ASSERT_TRUE(both.command);
  EXPECT_EQ(both.command->importFrom, "x.conf");
  EXPECT_TRUE(both.command->detect && both.command->quiet);
  EXPECT_EQ(both.command->log, "r.txt");
  EXPECT_EQ(ParseCommandLine({"-Check", "x.conf"}).command->check, "x.conf");
  EXPECT_TRUE(ParseCommandLine({"/version", "/log", "r.txt"}).command->version);
  for (std::vector<std::string> wrong : std::vector<std::vector<std::string>>{
           {"/import"}, {"/import", "/quiet"}, {"/export", "a", "/detect"}, {"/quiet"}, {"/detect", "/detect"}, {"x.conf"}, {"/helps"},
           {"/check"}, {"/check", "/version"}, {"/check", "a", "/import", "b"}, {"/check", "a", "/detect"},
           {"/version", "/export", "a"}, {"/version", "/version"}}) {
    const auto parsed = ParseCommandLine(wrong);
    EXPECT_FALSE(parsed.command) << wrong.front();
    EXPECT_FALSE(parsed.error.empty()) << wrong.front();
    EXPECT_FALSE(parsed.help) << wrong.front();
  }
  EXPECT_TRUE(ParseCommandLine({"/import", "/quiet"}).quiet);
  // A wrong command line is logged too: the log is known without the rest.
  EXPECT_EQ(ParseCommandLine({"/imprt", "a", "/log", "r.txt"}).log, "r.txt");
  // A request for the usage wins over anything else on the line.
  for (std::vector<std::string> help : std::vector<std::vector<std::string>>{
           {"/?"}, {"-h"}, {"/HELP"}, {"/import", "x.conf", "/?", "/quiet"}, {"x.conf", "/help"}}) {
    const auto parsed = ParseCommandLine(help);
    EXPECT_TRUE(parsed.help && !parsed.command && parsed.error.empty()) << help.back();
  }
}

class DeploymentRun : public ::testing::Test {
 protected:
  ScratchFolder folder;
  FakeRegistry registry;
  FakeShell shell;
  DetectionReport found;
  std::optional<std::string> detectionFails;  // the run's failure, thrown
  std::vector<std::string> said;
  FakeEventLog eventLog;
  FakePowerCapabilities power;

  deploy::ExitCode Run(std::vector<std::string> arguments) {
    const auto parsed = deploy::ParseCommandLine(arguments);
    EXPECT_TRUE(parsed.command) << parsed.error;
    return deploy::Run(*parsed.command, {registry, shell, folder.File("OmbrelSetup.exe"),
                                         [this] {
                                           if (detectionFails) throw AppError(*detectionFails);
                                           return found;
                                         },
                                         [this](const std::string& line) {
                                           said.push_back(line);
                                         },
                                         &eventLog, &power, "2026-12-09T11:54:02Z"});
  }
  // Nothing in the registry but the record of the last import, which every
  // import leaves, whatever its result.
  bool OnlyTheRecord() const {
    return std::all_of(registry.values.begin(), registry.values.end(),
                       [](const auto& value) { return value.first.second.starts_with("LastImport"); });
  }
  void SetUp() override {
    std::filesystem::create_directories(folder.File("Languages") + "/English");
    folder.Write("omb.ini", "[PAGE1]\r\nUPSPORT=2\r\n[DEBUG]\r\nDEBUG_LOG=1\r\n");
    folder.Write("SCHEDULE.TXT", "2026/01/02,SHUTDOWN,10:00,0\r\n");
    folder.Write("SPY.EXE", "");
  }
};

// Beside no monitor nothing is written, and each run names its folder first.
TEST_F(DeploymentRun, WritesNothingWhereTheMonitorIsNot) {
  folder.Write("good.conf", "Ombrel Setup configuration 1\r\n[PAGE1]\r\nRUN_STARTUP_STATUS=1\r\n");
  found = {" PORT : 5 <== Dry contact\r\n", 1, 5, 2};
  std::filesystem::remove(folder.File("SPY.EXE"));
  const std::string ini = folder.Read("omb.ini"), schedule = folder.Read("SCHEDULE.TXT");
  const std::string named = "Folder: " + FolderOf(folder.File("OmbrelSetup.exe"));
  for (std::vector<std::string> command : std::vector<std::vector<std::string>>{
           {"/import", folder.File("good.conf")}, {"/detect"}, {"/import", folder.File("good.conf"), "/detect"}}) {
    said.clear();
    EXPECT_EQ(Run(command), deploy::kNoMonitor) << command.back();
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said.front(), named);
    EXPECT_EQ(said.back().rfind("The monitor is not in " + FolderOf(folder.File("OmbrelSetup.exe")) + ": SPY.EXE is missing", 0), 0u);
  }
  EXPECT_EQ(folder.Read("omb.ini"), ini);
  EXPECT_EQ(folder.Read("SCHEDULE.TXT"), schedule);
  EXPECT_TRUE(registry.values.empty());

  // An export needs the settings, not the monitor; without them it says so
  // and writes no file of defaults.
  said.clear();
  EXPECT_EQ(Run({"/export", folder.File("out.conf")}), deploy::kDone);
  EXPECT_EQ(said.front(), named);
  std::filesystem::remove(folder.File("omb.ini"));
  std::filesystem::remove(folder.File("out.conf"));
  EXPECT_EQ(Run({"/export", folder.File("out.conf")}), deploy::kNoMonitor);
  EXPECT_NE(said.back().find("no omb.ini in " + FolderOf(folder.File("OmbrelSetup.exe"))), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(folder.File("out.conf")));
}

// What this PC has must be read, and what it was asked to write written, or
// the run fails.
TEST_F(DeploymentRun, FailsWhenItCannotReadOrWrite) {
  EXPECT_EQ(Run({"/export", folder.File("no folder/out.conf")}), deploy::kWriteFailed);
  std::filesystem::remove(folder.File("SCHEDULE.TXT"));
  std::filesystem::create_directory(folder.File("SCHEDULE.TXT"));  // there, and no file to read
  folder.Write("good.conf", "Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=4\r\n");
  const std::string ini = folder.Read("omb.ini");
  EXPECT_EQ(Run({"/import", folder.File("good.conf")}), deploy::kUnreadable);
  EXPECT_EQ(Run({"/export", folder.File("out.conf")}), deploy::kUnreadable);
  EXPECT_EQ(folder.Read("omb.ini"), ini);
  EXPECT_TRUE(OnlyTheRecord());
  // Each failure has its error entry.
  ASSERT_EQ(eventLog.entries.size(), 3u);
  EXPECT_EQ(eventLog.entries[2].kind, IEventLog::Kind::Error);
}

TEST_F(DeploymentRun, ImportWritesWhatOkWritesAndABadFileNothing) {
  const std::string ini = folder.Read("omb.ini"), schedule = folder.Read("SCHEDULE.TXT");
  folder.Write("bad.conf", "Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=12\r\n");
  EXPECT_EQ(Run({"/import", folder.File("bad.conf")}), deploy::kInvalidFile);
  EXPECT_EQ(said.back(), folder.File("bad.conf") + ": line 3: UPSPORT: '12' is not one of 1 to 8; nothing written");
  EXPECT_EQ(Run({"/import", folder.File("missing.conf")}), deploy::kInvalidFile);
  EXPECT_EQ(folder.Read("omb.ini"), ini);
  EXPECT_EQ(folder.Read("SCHEDULE.TXT"), schedule);
  EXPECT_TRUE(OnlyTheRecord());

  folder.Write("good.conf",
               "Ombrel Setup configuration 1\r\n[PAGE1]\r\nRUN_STARTUP_STATUS=1\r\n[SCHEDULE]\r\n"
               "2026/03/04,STARTUP,07:15,1\r\n");
  EXPECT_EQ(Run({"/import", folder.File("good.conf")}), deploy::kDone);
  EXPECT_EQ(folder.Read("SCHEDULE.TXT"), "2026/03/04,STARTUP,07:15,1\r\n");
  TINI stored;
  stored.Load(folder.File("omb.ini"));
  EXPECT_EQ(stored.UPSPORT, 2);
  EXPECT_TRUE(stored.RUN_STARTUP_STATUS && stored.DEBUG_LOG);
  EXPECT_EQ(registry.String("Software\\Microsoft\\Windows\\CurrentVersion\\Run", "OMB_SPY"),
            folder.Path() + static_cast<char>(std::filesystem::path::preferred_separator) + "SPY.EXE");
  EXPECT_EQ(registry.Number("SOFTWARE\\Tarvexi\\Ombrel", "SETUP"), 1u);

  // A file without [SCHEDULE] keeps the PC's events.
  folder.Write("settings only.conf", "Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=6\r\n");
  EXPECT_EQ(Run({"/import", folder.File("settings only.conf")}), deploy::kDone);
  EXPECT_EQ(folder.Read("SCHEDULE.TXT"), "2026/03/04,STARTUP,07:15,1\r\n");
}

// With a detection, the series' rules run once, on the series found: a data
// log the file turns on stays on for a series that keeps one.
TEST_F(DeploymentRun, ImportWithDetectionAppliesTheRulesOfTheSeriesFound) {
  folder.Write("omb.ini", "[PAGE1]\r\nUPSPORT=2\r\nUPSTYPE=2\r\n");
  folder.Write("log.conf", "Ombrel Setup configuration 1\r\n[PAGE3]\r\nDATALOG_STATUS=1\r\n");
  found = {" PORT : 3 <== Velto\r\n", 1, 3, 0};
  EXPECT_EQ(Run({"/import", folder.File("log.conf"), "/detect"}), deploy::kDone);
  TINI stored;
  stored.Load(folder.File("omb.ini"));
  EXPECT_TRUE(stored.DATALOG_STATUS);
  EXPECT_EQ(stored.UPSPORT, 3);
  EXPECT_NE(std::find(said.begin(), said.end(), "UPSPORT=3 (was 2), detected"), said.end());
}

TEST_F(DeploymentRun, DetectionStoresThePortAndSeriesOrNothing) {
  const std::string ini = folder.Read("omb.ini");
  found = {" PORT : 1 <== Empty\r\n\r\n UPS NOT FOUND !", 0, 0, -1};
  EXPECT_EQ(Run({"/detect"}), deploy::kNoUpsFound);
  EXPECT_EQ(folder.Read("omb.ini"), ini);
  EXPECT_TRUE(registry.values.empty());
  EXPECT_EQ(said.at(1), " PORT : 1 <== Empty");  // after the folder

  detectionFails = "Failed to set data for 'RUNNING'";
  EXPECT_EQ(Run({"/detect"}), deploy::kWriteFailed);
  EXPECT_EQ(said.back(), "Failed to set data for 'RUNNING'; nothing written");
  EXPECT_EQ(folder.Read("omb.ini"), ini);
  EXPECT_TRUE(registry.values.empty());
  detectionFails.reset();

  found = {" PORT : 5 <== Dry contact\r\n", 1, 5, 2};
  registry.refused = {"SETUP"};
  EXPECT_EQ(Run({"/detect"}), deploy::kWriteFailed);
  registry.refused.clear();
  EXPECT_EQ(Run({"/detect"}), deploy::kDone);
  TINI stored;
  stored.Load(folder.File("omb.ini"));
  EXPECT_EQ(stored.UPSPORT, 5);
  EXPECT_EQ(stored.UPSTYPE, 2);
  EXPECT_FALSE(stored.RUNTIME_ZERO_SHUTDOWN_STATUS);  // the generic series reports power failure only
  EXPECT_EQ(folder.Read("SCHEDULE.TXT"), "2026/01/02,SHUTDOWN,10:00,0\r\n");
}

// /check compares and writes nothing; /import records itself whatever its
// result; the event log has an entry for each run that wrote or failed, and
// one it refuses changes no exit code. Each row runs after the one before.
TEST_F(DeploymentRun, CheckComparesImportRecordsAndTheEventLogKeepsBoth) {
  using Kind = IEventLog::Kind;
  folder.Write("good.conf",
               "Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=6\r\nPOWERFAIL_SHUTDOWN_TYPE=2\r\n[SCHEDULE]\r\n"
               "2026/03/04,STARTUP,07:15,1\r\n");
  folder.Write("bad.conf", "Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=12\r\n");
  const std::string good = folder.File("good.conf"), bad = folder.File("bad.conf");
  const struct {
    std::vector<std::string> arguments;
    std::optional<Hibernation> power;
    bool logRefuses;
    deploy::ExitCode code;
    std::vector<std::string> lines;  // said, in this order, among the others
    std::optional<Kind> entry;       // none: the run adds no entry
    bool writes;                     // omb.ini or SCHEDULE.TXT changes
  } rows[] = {
      {{"/check", good}, Hibernation::kOff, false, deploy::kDiffers,
       {"UPSPORT: this PC 2, the file 6", "SCHEDULE: 2026/03/04,STARTUP,07:15,1: in the file, not on this PC",
        "SCHEDULE: 2026/01/02,SHUTDOWN,10:00,0: on this PC, not in the file",
        "WARNING: POWERFAIL_SHUTDOWN_TYPE=2 is Hibernate, but this PC cannot hibernate: hibernation is turned off "
        "(powercfg /hibernate on)"},
       std::nullopt, false},
      {{"/check", bad}, Hibernation::kAvailable, false, deploy::kInvalidFile, {bad + ": line 3: UPSPORT: '12' is not one of 1 to 8; nothing written"}, std::nullopt, false},
      {{"/import", bad}, Hibernation::kAvailable, false, deploy::kInvalidFile, {}, Kind::Error, false},
      {{"/import", bad}, Hibernation::kAvailable, true, deploy::kInvalidFile, {}, std::nullopt, false},
      {{"/import", good}, Hibernation::kReducedFile, true, deploy::kDone, {"UPSPORT=6 (was 2)"}, std::nullopt, true},
      {{"/import", good}, Hibernation::kReducedFile, false, deploy::kDone,
       {"SCHEDULE.TXT: 1 events",
        "WARNING: POWERFAIL_SHUTDOWN_TYPE=2 is Hibernate, but this PC cannot hibernate: its hibernation file is the "
        "reduced type, which serves fast start-up only (powercfg /hibernate /type full)"},
       Kind::Information, false},
      {{"/check", good}, Hibernation::kAvailable, false, deploy::kDone, {"This PC holds every value and event of " + good}, std::nullopt, false},
  };
  for (const auto& row : rows) {
    const std::string run = row.arguments[0] + " " + row.arguments[1];
    said.clear();
    eventLog.entries.clear();
    eventLog.refuses = row.logRefuses;
    power.state = row.power;
    const std::string ini = folder.Read("omb.ini"), schedule = folder.Read("SCHEDULE.TXT");
    const auto registryBefore = registry.values;
    EXPECT_EQ(Run(row.arguments), row.code) << run;
    auto next = said.begin();
    for (const std::string& line : row.lines) {
      next = std::find(next, said.end(), line);
      EXPECT_NE(next, said.end()) << run << ": not said in order: " << line;
    }
    EXPECT_EQ(folder.Read("omb.ini") != ini || folder.Read("SCHEDULE.TXT") != schedule, row.writes) << run;
    ASSERT_EQ(eventLog.entries.size(), row.entry ? 1u : 0u) << run;
    if (row.entry) {
      const FakeEventLog::Entry& entry = eventLog.entries[0];
      EXPECT_EQ(entry.kind, *row.entry) << run;
      // What ran, from which file, with what result, by whom, then every line said.
      EXPECT_TRUE(entry.text.starts_with("OmbrelSetup.exe /import \"" + row.arguments[1] + "\": exit code " +
                                         std::to_string(row.code) + "\r\nAccount: PC7\\admin\r\n"))
          << entry.text;
      EXPECT_TRUE(entry.text.ends_with(said.back())) << entry.text;
    }
    if (row.arguments[0] == "/check") {
      EXPECT_EQ(registry.values, registryBefore) << run;
      continue;
    }
    EXPECT_EQ(registry.String(kProgramKey, "LastImportTime"), "2026-12-09T11:54:02Z");
    EXPECT_EQ(registry.String(kProgramKey, "LastImportFile"), row.arguments[1]);
    EXPECT_EQ(registry.String(kProgramKey, "LastImportSha256"), Sha256Hex(folder.Read(row.arguments[1].substr(folder.Path().size() + 1)))) << run;
    EXPECT_EQ(registry.Number(kProgramKey, "LastImportResult"), static_cast<uint32_t>(row.code)) << run;
  }
  // The record names a file that could not be read, without its bytes.
  EXPECT_EQ(Run({"/import", folder.File("missing.conf")}), deploy::kInvalidFile);
  EXPECT_EQ(registry.String(kProgramKey, "LastImportSha256"), "");
  // A record that cannot be written fails a run that had done its part.
  registry.refused = {"LastImportTime"};
  EXPECT_EQ(Run({"/import", good}), deploy::kWriteFailed);
  EXPECT_EQ(said.back(), "The last import could not be recorded: Failed to set data for 'LastImportTime'");
}

// The detection alone tells the monitor only once omb.ini and its folder's
// entries are on the disk.
TEST_F(DeploymentRun, DetectionSetsSetupOnlyAfterTheSettingsAreDurable) {
  found = {" PORT : 5 <== Dry contact\r\n", 1, 5, 2};
  const std::string at = FolderOf(folder.File("OmbrelSetup.exe"));
  for (bool writeFails : {true, false}) {
    MemoryFiles files;
    files.Put(at + "omb.ini", "[PAGE1]\r\nUPSPORT=2\r\n");
    files.Put(at + "SPY.EXE", "");
    if (writeFails) files.faults = {{"write", 1, true}};
    EXPECT_EQ(Run({"/detect"}), writeFails ? deploy::kWriteFailed : deploy::kDone);
    EXPECT_EQ(registry.Has("SOFTWARE\\Tarvexi\\Ombrel", "SETUP"), !writeFails);
    EXPECT_EQ(files.calls.back() == "flush folder " + at, !writeFails);
  }
}

}  // namespace
