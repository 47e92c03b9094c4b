// A run without the window: its arguments, what it writes and what it leaves
// alone when it stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "deploy/Deployment.h"
#include "settings/SaveOrder.h"
#include "settings/TINI.h"
#include "support/FakeEventLog.h"
#include "support/FakePowerCapabilities.h"
#include "support/FakeRegistry.h"
#include "support/FakeShell.h"
#include "support/ScratchFolder.h"
#include "util/AppError.h"
#include "util/Sha256.h"

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
           {"/import"}, {"/import", "/quiet"}, {"/export", "a", "/detect"}, {"/quiet"}, {"/detect", "/detect"}, {"x.conf"}, {"/help"},
           {"/check"}, {"/check", "/version"}, {"/check", "a", "/import", "b"}, {"/check", "a", "/detect"},
           {"/version", "/export", "a"}, {"/version", "/version"}}) {
    const auto parsed = ParseCommandLine(wrong);
    EXPECT_FALSE(parsed.command) << wrong.front();
    EXPECT_FALSE(parsed.error.empty()) << wrong.front();
  }
  EXPECT_TRUE(ParseCommandLine({"/import", "/quiet"}).quiet);
  // A wrong command line is logged too: the log is known without the rest.
  EXPECT_EQ(ParseCommandLine({"/imprt", "a", "/log", "r.txt"}).log, "r.txt");
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
  void SetUp() override {
    std::filesystem::create_directories(folder.File("Languages") + "/English");
    folder.Write("omb.ini", "[PAGE1]\r\nUPSPORT=2\r\n[DEBUG]\r\nDEBUG_LOG=1\r\n");
    folder.Write("SCHEDULE.TXT", "2026/01/02,SHUTDOWN,10:00,0\r\n");
  }
};

TEST_F(DeploymentRun, ImportWritesWhatOkWritesAndABadFileNothing) {
  const std::string ini = folder.Read("omb.ini"), schedule = folder.Read("SCHEDULE.TXT");
  folder.Write("bad.conf", "Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=12\r\n");
  EXPECT_EQ(Run({"/import", folder.File("bad.conf")}), deploy::kInvalidFile);
  EXPECT_EQ(said.back(), folder.File("bad.conf") + ": line 3: UPSPORT: '12' is not one of 1 to 8; nothing written");
  EXPECT_EQ(Run({"/import", folder.File("missing.conf")}), deploy::kInvalidFile);
  EXPECT_EQ(folder.Read("omb.ini"), ini);
  EXPECT_EQ(folder.Read("SCHEDULE.TXT"), schedule);
  // Nothing but the record of the last import.
  for (const auto& [name, value] : registry.values) EXPECT_TRUE(name.second.starts_with("LastImport")) << name.second;

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
}

TEST_F(DeploymentRun, DetectionStoresThePortAndSeriesOrNothing) {
  const std::string ini = folder.Read("omb.ini");
  found = {" PORT : 1 <== Empty\r\n\r\n UPS NOT FOUND !", 0, 0, -1};
  EXPECT_EQ(Run({"/detect"}), deploy::kNoUpsFound);
  EXPECT_EQ(folder.Read("omb.ini"), ini);
  EXPECT_TRUE(registry.values.empty());
  EXPECT_EQ(said.front(), " PORT : 1 <== Empty");

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

// Files of this PC that cannot be read: exit 8, nothing written.
TEST_F(DeploymentRun, ThisPcsUnreadableFilesAreTheirOwnFailure) {
  std::filesystem::remove(folder.File("SCHEDULE.TXT"));
  std::filesystem::create_directories(folder.File("SCHEDULE.TXT"));
  EXPECT_EQ(Run({"/detect"}), deploy::kUnreadable);
  EXPECT_TRUE(registry.values.empty());
  ASSERT_EQ(eventLog.entries.size(), 1u);
  EXPECT_EQ(eventLog.entries[0].kind, IEventLog::Kind::Error);
}

}  // namespace
