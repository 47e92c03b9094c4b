#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "settings/IniFile.h"
#include "settings/TINI.h"
#include "support/ScratchFolder.h"
#include "util/AppError.h"

namespace {

// The file that Save creates from a record holding every default, the
// working folder standing for the two locations.
std::string DefaultFile(const std::string& workingFolder) {
  return "[PAGE1]\r\nUPSPORT=1\r\nRUN_STARTUP_STATUS=0\r\nUPSTYPE=0\r\nUPSCABLE=0\r\n"
         "OVERLOAD_SHUTDOWN_STATUS=1\r\nOVERLOAD_SHUTDOWN_TIME=2\r\nPOWERFAIL_SHUTDOWN_STATUS=1\r\n"
         "BACKUP_TIME=5\r\nPOWERFAIL_AUTO_SAVE=0\r\nPOWERFAIL_SHUTDOWN_TYPE=1\r\nPOWERFAIL_SHUTDOWN_UPS=0\r\n"
         "RUNTIME_ZERO_SHUTDOWN_STATUS=1\r\n"
         "[PAGE2]\r\nLAST_SCHEDULE_SETUP_HOUR=12\r\nLAST_SCHEDULE_SETUP_MINUTE=0\r\n"
         "LAST_SCHEDULE_WARNING=0\r\nLAST_SCHEDULE_CURRENT_DAY_SCHEDULE=1\r\nLAST_SCHEDULE_SUNDAY=0\r\n"
         "LAST_SCHEDULE_MONDAY=0\r\nLAST_SCHEDULE_TUESDAY=0\r\nLAST_SCHEDULE_WEDNESDAY=0\r\n"
         "LAST_SCHEDULE_THURSDAY=0\r\nLAST_SCHEDULE_FRIDAY=0\r\nLAST_SCHEDULE_SATURDAY=0\r\n"
         "LAST_SCHEDULE_SETUP_BUTTON=1\r\nWEEKLY_SCHEDULE_SHUTDOWN_DAY=0000000\r\n"
         "WEEKLY_SCHEDULE_SHUTDOWN_HOUR=12\r\nWEEKLY_SCHEDULE_SHUTDOWN_MINUTE=0\r\n"
         "WEEKLY_SCHEDULE_SHUTDOWN_WARNING=0\r\nWEEKLY_SCHEDULE_STARTUP_DAY=0000000\r\n"
         "WEEKLY_SCHEDULE_STARTUP_HOUR=12\r\nWEEKLY_SCHEDULE_STARTUP_MINUTE=0\r\n"
         "WEEKLY_SCHEDULE_STARTUP_WARNING=0\r\nWEEKLY_SCHEDULE_TESTUPS_DAY=0000000\r\n"
         "WEEKLY_SCHEDULE_TESTUPS_HOUR=12\r\nWEEKLY_SCHEDULE_TESTUPS_MINUTE=0\r\n"
         "WEEKLY_SCHEDULE_TESTUPS_WARNING=0\r\nSCHEDULE_AUTO_SAVE=0\r\nSCHEDULE_SHUTDOWN_TYPE=1\r\n"
         "SCHEDULE_SHUTDOWN_UPS=0\r\n"
         "[PAGE3]\r\nEVENTLOG_RECORD=50\r\nEVENTLOG_LOCATION=" +
         workingFolder + "\\Eventlog.txt\r\nDATALOG_STATUS=1\r\nDATALOG_DAY=7\r\nDATALOG_INTERVAL=30\r\n" +
         "DATALOG_LOCATION=" + workingFolder + "\\DATALOG\\\r\nLANGUAGE=English\r\nSHUTDOWN_POWEROFF=0\r\n";
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

TEST_F(TINIFile, MissingFileGivesEveryDefaultAndFirstSaveWritesThemInOrder) {
  TINI settings;
  settings.Load(path);
  EXPECT_EQ(settings.Path, path);
  EXPECT_FALSE(settings.DEBUG_LOG);
  EXPECT_EQ(settings.DEBUG_FILE, "C:\\debug.dbg");
  settings.Save();
  EXPECT_EQ(folder.Read("omb.ini"), DefaultFile(fs_seam::CurrentDirectory()));
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

TEST_F(TINIFile, TextsWithBlanksOrQuotesAtTheirEndsSurviveSaveAndLoad) {
  using namespace std::string_literals;
  TINI settings = LoadFrom(
      "[PAGE2]\r\nWEEKLY_SCHEDULE_SHUTDOWN_DAY=\"  1\"\r\n"
      "[PAGE3]\r\nLANGUAGE=E\v\0\r\nDATALOG_LOCATION='\"D:\\log\\\"'\r\nEVENTLOG_LOCATION=\" x \"\r\n"s);
  EXPECT_EQ(settings.WEEKLY_SCHEDULE_SHUTDOWN_DAY, "  10000");
  EXPECT_EQ(settings.LANGUAGE, "E\v");
  EXPECT_EQ(settings.DATALOG_LOCATION, "\"D:\\log\\\"");
  settings.Save();
  TINI again;
  again.Load(path);
  EXPECT_EQ(again, settings);
  EXPECT_EQ(again.WEEKLY_SCHEDULE_SHUTDOWN_DAY, "  10000");  // Sunday stays off
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
    // The cause follows, in the system's words (they differ between systems).
    const std::string text = error.what(), failure = "Unable to write to " + settings.Path + ": ";
    EXPECT_EQ(text.substr(0, failure.size()), failure);
    EXPECT_GT(text.size(), failure.size());
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
