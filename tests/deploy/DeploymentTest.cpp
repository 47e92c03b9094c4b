// A run without the window: its arguments, what it writes and what it leaves
// alone when it stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "deploy/Deployment.h"
#include "settings/TINI.h"
#include "support/FakeRegistry.h"
#include "support/FakeShell.h"
#include "support/MemoryFiles.h"
#include "support/ScratchFolder.h"
#include "util/AppError.h"
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
  for (std::vector<std::string> wrong : std::vector<std::vector<std::string>>{
           {"/import"}, {"/import", "/quiet"}, {"/export", "a", "/detect"}, {"/quiet"}, {"/detect", "/detect"}, {"x.conf"}, {"/helps"}}) {
    const auto parsed = ParseCommandLine(wrong);
    EXPECT_FALSE(parsed.command) << wrong.front();
    EXPECT_FALSE(parsed.error.empty()) << wrong.front();
    EXPECT_FALSE(parsed.help) << wrong.front();
  }
  EXPECT_TRUE(ParseCommandLine({"/import", "/quiet"}).quiet);
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
                                         }});
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
  EXPECT_EQ(Run({"/import", folder.File("good.conf")}), deploy::kWriteFailed);
  EXPECT_EQ(Run({"/export", folder.File("out.conf")}), deploy::kWriteFailed);
  EXPECT_EQ(folder.Read("omb.ini"), ini);
  EXPECT_TRUE(registry.values.empty());
}

TEST_F(DeploymentRun, ImportWritesWhatOkWritesAndABadFileNothing) {
  const std::string ini = folder.Read("omb.ini"), schedule = folder.Read("SCHEDULE.TXT");
  folder.Write("bad.conf", "Ombrel Setup configuration 1\r\n[PAGE1]\r\nUPSPORT=12\r\n");
  EXPECT_EQ(Run({"/import", folder.File("bad.conf")}), deploy::kInvalidFile);
  EXPECT_EQ(said.back(), folder.File("bad.conf") + ": line 3: UPSPORT: '12' is not one of 1 to 8; nothing written");
  EXPECT_EQ(Run({"/import", folder.File("missing.conf")}), deploy::kInvalidFile);
  EXPECT_EQ(folder.Read("omb.ini"), ini);
  EXPECT_EQ(folder.Read("SCHEDULE.TXT"), schedule);
  EXPECT_TRUE(registry.values.empty());

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
