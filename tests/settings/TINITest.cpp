#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "settings/IniFile.h"
#include "settings/TINI.h"
#include "support/ScratchFolder.h"
#include "util/AppError.h"

namespace {

// The keys of a file that Save creates, in the order they stand.
const char* const kWrittenKeys[] = {
    "[PAGE1]",
    "UPSPORT",
    "RUN_STARTUP_STATUS",
    "UPSTYPE",
    "UPSCABLE",
    "OVERLOAD_SHUTDOWN_STATUS",
    "OVERLOAD_SHUTDOWN_TIME",
    "POWERFAIL_SHUTDOWN_STATUS",
    "BACKUP_TIME",
    "POWERFAIL_AUTO_SAVE",
    "POWERFAIL_SHUTDOWN_TYPE",
    "POWERFAIL_SHUTDOWN_UPS",
    "RUNTIME_ZERO_SHUTDOWN_STATUS",
    "[PAGE2]",
    "LAST_SCHEDULE_SETUP_HOUR",
    "LAST_SCHEDULE_SETUP_MINUTE",
    "LAST_SCHEDULE_WARNING",
    "LAST_SCHEDULE_CURRENT_DAY_SCHEDULE",
    "LAST_SCHEDULE_SUNDAY",
    "LAST_SCHEDULE_MONDAY",
    "LAST_SCHEDULE_TUESDAY",
    "LAST_SCHEDULE_WEDNESDAY",
    "LAST_SCHEDULE_THURSDAY",
    "LAST_SCHEDULE_FRIDAY",
    "LAST_SCHEDULE_SATURDAY",
    "LAST_SCHEDULE_SETUP_BUTTON",
    "WEEKLY_SCHEDULE_SHUTDOWN_DAY",
    "WEEKLY_SCHEDULE_SHUTDOWN_HOUR",
    "WEEKLY_SCHEDULE_SHUTDOWN_MINUTE",
    "WEEKLY_SCHEDULE_SHUTDOWN_WARNING",
    "WEEKLY_SCHEDULE_STARTUP_DAY",
    "WEEKLY_SCHEDULE_STARTUP_HOUR",
    "WEEKLY_SCHEDULE_STARTUP_MINUTE",
    "WEEKLY_SCHEDULE_STARTUP_WARNING",
    "WEEKLY_SCHEDULE_TESTUPS_DAY",
    "WEEKLY_SCHEDULE_TESTUPS_HOUR",
    "WEEKLY_SCHEDULE_TESTUPS_MINUTE",
    "WEEKLY_SCHEDULE_TESTUPS_WARNING",
    "SCHEDULE_AUTO_SAVE",
    "SCHEDULE_SHUTDOWN_TYPE",
    "SCHEDULE_SHUTDOWN_UPS",
    "[PAGE3]",
    "EVENTLOG_RECORD",
    "EVENTLOG_LOCATION",
    "DATALOG_STATUS",
    "DATALOG_DAY",
    "DATALOG_INTERVAL",
    "DATALOG_LOCATION",
    "LANGUAGE",
    "SHUTDOWN_POWEROFF",
};

std::vector<std::string> NamesInOrder(const std::string& bytes) {
  std::vector<std::string> names;
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = bytes.find("\r\n", at);
    std::string line = bytes.substr(at, end - at);
    names.push_back(line[0] == '[' ? line : line.substr(0, line.find('=')));
    at = end + 2;
  }
  return names;
}

class TINIFile : public ::testing::Test {
protected:
  TINI LoadFrom(const std::string& bytes) {
    folder.Write("omb.ini", bytes);
    TINI settings;
    settings.Load(path);
    return settings;
  }

  ScratchFolder folder;
  std::string path = folder.File("omb.ini");
};

}  // namespace

TEST_F(TINIFile, MissingFileGivesEveryDefault) {
  TINI settings;
  settings.Load(path);
  EXPECT_EQ(settings.Path, path);
  EXPECT_EQ(settings.UPSPORT, 1);
  EXPECT_FALSE(settings.RUN_STARTUP_STATUS);
  EXPECT_EQ(settings.UPSTYPE, 0);
  EXPECT_EQ(settings.UPSCABLE, 0);
  EXPECT_TRUE(settings.OVERLOAD_SHUTDOWN_STATUS);
  EXPECT_EQ(settings.OVERLOAD_SHUTDOWN_TIME, 2);
  EXPECT_TRUE(settings.POWERFAIL_SHUTDOWN_STATUS);
  EXPECT_TRUE(settings.RUNTIME_ZERO_SHUTDOWN_STATUS);
  EXPECT_EQ(settings.BACKUP_TIME, 5);
  EXPECT_FALSE(settings.POWERFAIL_AUTO_SAVE);
  EXPECT_EQ(settings.POWERFAIL_SHUTDOWN_TYPE, 1);
  EXPECT_FALSE(settings.POWERFAIL_SHUTDOWN_UPS);
  EXPECT_EQ(settings.LAST_SCHEDULE_SETUP_HOUR, 12);
  EXPECT_EQ(settings.LAST_SCHEDULE_SETUP_MINUTE, 0);
  EXPECT_FALSE(settings.LAST_SCHEDULE_WARNING);
  EXPECT_TRUE(settings.LAST_SCHEDULE_CURRENT_DAY_SCHEDULE);
  EXPECT_FALSE(settings.LAST_SCHEDULE_SUNDAY || settings.LAST_SCHEDULE_MONDAY ||
               settings.LAST_SCHEDULE_TUESDAY || settings.LAST_SCHEDULE_WEDNESDAY ||
               settings.LAST_SCHEDULE_THURSDAY || settings.LAST_SCHEDULE_FRIDAY ||
               settings.LAST_SCHEDULE_SATURDAY);
  EXPECT_EQ(settings.LAST_SCHEDULE_SETUP_BUTTON, 1);
  for (const std::string* days :
       {&settings.WEEKLY_SCHEDULE_SHUTDOWN_DAY, &settings.WEEKLY_SCHEDULE_STARTUP_DAY,
        &settings.WEEKLY_SCHEDULE_TESTUPS_DAY})
    EXPECT_EQ(*days, "0000000");
  for (int32_t hour : {settings.WEEKLY_SCHEDULE_SHUTDOWN_HOUR, settings.WEEKLY_SCHEDULE_STARTUP_HOUR,
                       settings.WEEKLY_SCHEDULE_TESTUPS_HOUR})
    EXPECT_EQ(hour, 12);
  EXPECT_EQ(settings.WEEKLY_SCHEDULE_SHUTDOWN_MINUTE + settings.WEEKLY_SCHEDULE_STARTUP_MINUTE +
                settings.WEEKLY_SCHEDULE_TESTUPS_MINUTE,
            0);
  EXPECT_FALSE(settings.WEEKLY_SCHEDULE_SHUTDOWN_WARNING || settings.WEEKLY_SCHEDULE_STARTUP_WARNING ||
               settings.WEEKLY_SCHEDULE_TESTUPS_WARNING);
  EXPECT_FALSE(settings.SCHEDULE_AUTO_SAVE);
  EXPECT_EQ(settings.SCHEDULE_SHUTDOWN_TYPE, 1);
  EXPECT_FALSE(settings.SCHEDULE_SHUTDOWN_UPS);
  EXPECT_EQ(settings.EVENTLOG_RECORD, 50);
  EXPECT_EQ(settings.EVENTLOG_LOCATION, fs_seam::CurrentDirectory() + "\\Eventlog.txt");
  EXPECT_TRUE(settings.DATALOG_STATUS);
  EXPECT_EQ(settings.DATALOG_DAY, 7);
  EXPECT_EQ(settings.DATALOG_INTERVAL, 30);
  EXPECT_EQ(settings.DATALOG_LOCATION, fs_seam::CurrentDirectory() + "\\DATALOG\\");
  EXPECT_EQ(settings.LANGUAGE, "English");
  EXPECT_FALSE(settings.SHUTDOWN_POWEROFF);
  EXPECT_FALSE(settings.DEBUG_LOG);
  EXPECT_EQ(settings.DEBUG_FILE, "C:\\debug.dbg");
}

TEST_F(TINIFile, FirstSaveCreatesTheThreeSectionsInWritingOrder) {
  TINI settings;
  settings.Load(path);
  settings.Save();
  std::string bytes = folder.Read("omb.ini");
  EXPECT_EQ(NamesInOrder(bytes), std::vector<std::string>(std::begin(kWrittenKeys), std::end(kWrittenKeys)));
  EXPECT_NE(bytes.find("\r\nRUNTIME_ZERO_SHUTDOWN_STATUS=1\r\n[PAGE2]\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\nWEEKLY_SCHEDULE_TESTUPS_DAY=0000000\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find("DEBUG"), std::string::npos);
}

TEST_F(TINIFile, ValuesAreReadByTheirTypeRules) {
  TINI settings = LoadFrom(
      "[page1]\r\nupsport=0x3\r\nUPSTYPE=abc\r\nUPSCABLE=\r\n"
      "[PAGE3]\r\nDATALOG_STATUS=2\r\nDATALOG_DAY=yes\r\nEVENTLOG_LOCATION=\r\n"
      "DATALOG_LOCATION=\"D:\\logs\\\"\r\nSHUTDOWN_POWEROFF=1\r\n"
      "[DEBUG]\r\nDEBUG_LOG=1\r\nDEBUG_FILE=dbg.txt\r\n");
  EXPECT_EQ(settings.UPSPORT, 3);
  EXPECT_EQ(settings.UPSTYPE, 0);
  EXPECT_EQ(settings.UPSCABLE, 0);
  EXPECT_TRUE(settings.DATALOG_STATUS);
  EXPECT_EQ(settings.DATALOG_DAY, 7);
  EXPECT_EQ(settings.EVENTLOG_LOCATION, "");
  EXPECT_EQ(settings.DATALOG_LOCATION, "D:\\logs\\");
  EXPECT_TRUE(settings.SHUTDOWN_POWEROFF);
  EXPECT_TRUE(settings.DEBUG_LOG);
  EXPECT_EQ(settings.DEBUG_FILE, "dbg.txt");

  EXPECT_EQ(LoadFrom("[PAGE1]\r\nUPSPORT=abc\r\n").UPSPORT, 1);
  EXPECT_EQ(LoadFrom("[PAGE1]\r\nUPSPORT=\r\n").UPSPORT, 1);
  EXPECT_TRUE(LoadFrom("[PAGE3]\r\nDATALOG_STATUS=yes\r\n").DATALOG_STATUS);
}

TEST_F(TINIFile, DayStringsAreAlwaysSevenCharacters) {
  TINI settings = LoadFrom(
      "[PAGE2]\r\nWEEKLY_SCHEDULE_SHUTDOWN_DAY=101010111111\r\n"
      "WEEKLY_SCHEDULE_STARTUP_DAY=11\r\nWEEKLY_SCHEDULE_TESTUPS_DAY=\r\n");
  EXPECT_EQ(settings.WEEKLY_SCHEDULE_SHUTDOWN_DAY, "1010101");
  EXPECT_EQ(settings.WEEKLY_SCHEDULE_STARTUP_DAY, "1100000");
  EXPECT_EQ(settings.WEEKLY_SCHEDULE_TESTUPS_DAY, "0000000");
  settings.Save();
  EXPECT_EQ(IniFile(folder.Read("omb.ini")).ReadString("PAGE2", "WEEKLY_SCHEDULE_SHUTDOWN_DAY", ""),
            "1010101");
}

TEST_F(TINIFile, SaveWritesEveryChangeAndKeepsEverythingElse) {
  const std::string original =
      "; written by hand\r\n"
      "[DEBUG]\r\nDEBUG_LOG=1\r\nDEBUG_FILE=C:\\trace.dbg\r\n"
      "\r\n"
      "[PAGE1]\r\nupsport = 2\r\nFUTURE_KEY=keep me\r\n"
      "[PAGE3]\r\nSHUTDOWN_POWEROFF=1\r\nEVENTLOG_LOCATION=\r\n"
      "[OTHER]\r\nx=y";
  TINI settings = LoadFrom(original);
  settings.UPSPORT = 4;
  settings.LANGUAGE = "Deutsch";
  settings.EVENTLOG_RECORD = -1;
  settings.Save();

  std::string saved = folder.Read("omb.ini");
  EXPECT_EQ(
      saved.find("; written by hand\r\n[DEBUG]\r\nDEBUG_LOG=1\r\nDEBUG_FILE=C:\\trace.dbg\r\n\r\n[PAGE1]\r\n"
                 "upsport = 4\r\n"),
      0u);
  IniFile file(saved);
  EXPECT_EQ(file.ReadString("PAGE1", "FUTURE_KEY", ""), "keep me");
  EXPECT_EQ(file.ReadString("OTHER", "x", ""), "y");
  EXPECT_EQ(file.ReadString("PAGE3", "SHUTDOWN_POWEROFF", ""), "1");
  EXPECT_EQ(file.ReadString("PAGE3", "EVENTLOG_LOCATION", "default"), "");
  EXPECT_EQ(file.ReadString("PAGE3", "LANGUAGE", ""), "Deutsch");
  EXPECT_EQ(file.ReadString("PAGE3", "EVENTLOG_RECORD", ""), "-1");
  EXPECT_EQ(file.ReadString("PAGE2", "LAST_SCHEDULE_SETUP_HOUR", ""), "12");

  // Loading what was saved gives the same record; saving it again changes nothing.
  TINI again;
  again.Load(path);
  EXPECT_EQ(again.UPSPORT, 4);
  EXPECT_EQ(again.LANGUAGE, "Deutsch");
  EXPECT_EQ(again.EVENTLOG_RECORD, -1);
  EXPECT_EQ(again.EVENTLOG_LOCATION, "");
  again.Save();
  EXPECT_EQ(folder.Read("omb.ini"), saved);
}

TEST_F(TINIFile, SaveKeepsLinesEditedByHandAfterLoad) {
  TINI settings = LoadFrom("[PAGE1]\r\nUPSPORT=2\r\n");
  folder.Write("omb.ini", "[PAGE1]\r\nUPSPORT=2\r\n[DEBUG]\r\nDEBUG_LOG=1\r\n");
  settings.Save();
  EXPECT_TRUE(IniFile(folder.Read("omb.ini")).ReadFlag("DEBUG", "DEBUG_LOG", false));
}

TEST_F(TINIFile, FailedSaveReportsThePathAndLeavesTheOldFileWhole) {
  TINI settings = LoadFrom("[PAGE1]\r\nUPSPORT=2\r\n");
  settings.Path = folder.File("missing-folder") + "/omb.ini";
  try {
    settings.Save();
    FAIL() << "Save did not fail";
  } catch (const AppError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + settings.Path);
  }
  EXPECT_EQ(folder.Read("omb.ini"), "[PAGE1]\r\nUPSPORT=2\r\n");
  EXPECT_EQ(folder.Count(), 1u);
}

TEST_F(TINIFile, SaveOntoAFolderFails) {
  std::filesystem::create_directory(path);
  TINI settings;
  settings.Load(path);
  EXPECT_EQ(settings.UPSPORT, 1);
  EXPECT_THROW(settings.Save(), AppError);
  EXPECT_TRUE(fs_seam::DirectoryExists(path));
}

TEST_F(TINIFile, MalformedFilesLoadWithDefaultsAndSaveCleanly) {
  std::string garbage;
  for (int i = 0; i < 100000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  const std::string cases[] = {
      garbage,
      std::string(10 * 1024 * 1024, 'A'),
      std::string("[PAGE1]\0UPSPORT=3\0\0", 20),
      "[PAGE1]UPSPORT=3[PAGE2]",
  };
  for (const std::string& bytes : cases) {
    TINI settings = LoadFrom(bytes);
    EXPECT_EQ(settings.UPSPORT, 1);
    EXPECT_EQ(settings.LANGUAGE, "English");
    settings.UPSPORT = 6;
    settings.Save();
    TINI reloaded;
    reloaded.Load(path);
    EXPECT_EQ(reloaded.UPSPORT, 6);
    EXPECT_EQ(reloaded.WEEKLY_SCHEDULE_STARTUP_DAY, "0000000");
    EXPECT_EQ(folder.Read("omb.ini").substr(0, bytes.size()), bytes);
  }
}
