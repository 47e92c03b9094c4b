// The settings file as an outside interface, read and written by the monitor
// too: every key checked against the list in tests/data (section,
// key, type, default), and every key read into and written from the field of
// its own name.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <variant>

#include "platform/FileSystem.h"
#include "settings/IniFile.h"
#include "settings/TINI.h"
#include "support/KeyLists.h"
#include "support/ScratchFolder.h"

namespace {

struct ListedKey {
  std::string section;
  std::string key;
  std::string type;  // integer, flag or text
  std::string byDefault;
};

std::vector<ListedKey> ListedKeys() {
  std::vector<ListedKey> keys;
  for (const auto& row : ReadKeyList("settings-keys.txt", 4))
    keys.push_back({row.at(0), row.at(1), row.at(2), row.at(3)});
  return keys;
}

using Field = std::variant<int32_t TINI::*, bool TINI::*, std::string TINI::*>;

// The fields by the names of their keys, written out here rather than taken
// from the table the program reads with.
#define FIELD(name) \
  { #name, &TINI::name }
// clang-format off
const std::map<std::string, Field> kFields = {
    FIELD(UPSPORT), FIELD(RUN_STARTUP_STATUS), FIELD(UPSTYPE), FIELD(UPSCABLE),
    FIELD(OVERLOAD_SHUTDOWN_STATUS), FIELD(OVERLOAD_SHUTDOWN_TIME), FIELD(POWERFAIL_SHUTDOWN_STATUS),
    FIELD(RUNTIME_ZERO_SHUTDOWN_STATUS), FIELD(BACKUP_TIME), FIELD(POWERFAIL_AUTO_SAVE),
    FIELD(POWERFAIL_SHUTDOWN_TYPE), FIELD(POWERFAIL_SHUTDOWN_UPS), FIELD(LAST_SCHEDULE_SETUP_HOUR),
    FIELD(LAST_SCHEDULE_SETUP_MINUTE), FIELD(LAST_SCHEDULE_WARNING),
    FIELD(LAST_SCHEDULE_CURRENT_DAY_SCHEDULE), FIELD(LAST_SCHEDULE_SUNDAY), FIELD(LAST_SCHEDULE_MONDAY),
    FIELD(LAST_SCHEDULE_TUESDAY), FIELD(LAST_SCHEDULE_WEDNESDAY), FIELD(LAST_SCHEDULE_THURSDAY),
    FIELD(LAST_SCHEDULE_FRIDAY), FIELD(LAST_SCHEDULE_SATURDAY), FIELD(LAST_SCHEDULE_SETUP_BUTTON),
    FIELD(WEEKLY_SCHEDULE_SHUTDOWN_DAY), FIELD(WEEKLY_SCHEDULE_SHUTDOWN_HOUR),
    FIELD(WEEKLY_SCHEDULE_SHUTDOWN_MINUTE), FIELD(WEEKLY_SCHEDULE_SHUTDOWN_WARNING),
    FIELD(WEEKLY_SCHEDULE_STARTUP_DAY), FIELD(WEEKLY_SCHEDULE_STARTUP_HOUR),
    FIELD(WEEKLY_SCHEDULE_STARTUP_MINUTE), FIELD(WEEKLY_SCHEDULE_STARTUP_WARNING),
    FIELD(WEEKLY_SCHEDULE_TESTUPS_DAY), FIELD(WEEKLY_SCHEDULE_TESTUPS_HOUR),
    FIELD(WEEKLY_SCHEDULE_TESTUPS_MINUTE), FIELD(WEEKLY_SCHEDULE_TESTUPS_WARNING), FIELD(SCHEDULE_AUTO_SAVE),
    FIELD(SCHEDULE_SHUTDOWN_TYPE), FIELD(SCHEDULE_SHUTDOWN_UPS), FIELD(EVENTLOG_RECORD),
    FIELD(EVENTLOG_LOCATION), FIELD(DATALOG_STATUS), FIELD(DATALOG_DAY), FIELD(DATALOG_INTERVAL),
    FIELD(DATALOG_LOCATION), FIELD(LANGUAGE), FIELD(SHUTDOWN_POWEROFF), FIELD(DEBUG_LOG), FIELD(DEBUG_FILE),
};
// clang-format on
#undef FIELD

std::string TypeOf(const Field& field) {
  return field.index() == 0 ? "integer" : field.index() == 1 ? "flag" : "text";
}

// A field's value as the file writes it: integers in decimal, flags 1 and 0.
std::string ValueOf(const TINI& settings, const Field& field) {
  return std::visit(
      [&](auto member) {
        const auto& value = settings.*member;
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>)
          return value;
        else
          return std::to_string(static_cast<int32_t>(value));
      },
      field);
}

// A default as the file would hold it; the working folder put in.
std::string Written(const ListedKey& key) {
  if (key.type == "flag") return key.byDefault == "yes" ? "1" : "0";
  std::string value = key.byDefault;
  const std::string folder = "<working folder>";
  if (value.starts_with(folder)) value = fs_seam::CurrentDirectory() + value.substr(folder.size());
  return value;
}

bool IsDayString(const ListedKey& key) {
  return key.type == "text" && key.byDefault == "0000000";
}

std::string FileOf(const std::vector<ListedKey>& keys, const std::map<std::string, std::string>& values) {
  std::string file;
  for (const char* section : {"PAGE1", "PAGE2", "PAGE3", "DEBUG"}) {
    file += std::string("[") + section + "]\r\n";
    for (const ListedKey& key : keys)
      if (key.section == section) file += key.key + "=" + values.at(key.key) + "\r\n";
  }
  return file;
}

TEST(SettingsFileKeys, EveryListedKeyHasAFieldOfItsTypeAndTakesItsDefault) {
  const std::vector<ListedKey> keys = ListedKeys();
  ASSERT_EQ(keys.size(), 49u);
  EXPECT_EQ(kFields.size(), keys.size());
  ScratchFolder folder;
  TINI settings;
  settings.Load(folder.File("omb.ini"));
  for (const ListedKey& key : keys) {
    SCOPED_TRACE(key.key);
    ASSERT_TRUE(kFields.count(key.key)) << "no field named " << key.key;
    const Field& field = kFields.at(key.key);
    EXPECT_EQ(TypeOf(field), key.type);
    EXPECT_EQ(ValueOf(settings, field), Written(key));
  }
}

// Each key is written in its section, with the value of the field of its name.
TEST(SettingsFileKeys, SaveWritesEveryKeyButDebugInItsSection) {
  const std::vector<ListedKey> keys = ListedKeys();
  ScratchFolder folder;
  TINI settings;
  settings.Load(folder.File("omb.ini"));
  settings.Save();
  IniFile saved(folder.Read("omb.ini"));
  for (const ListedKey& key : keys) {
    SCOPED_TRACE(key.key);
    const std::string written = saved.ReadString(key.section, key.key, "missing");
    EXPECT_EQ(written, key.section == "DEBUG" ? "missing" : Written(key));
  }
}

// "0x10" tells the types apart: an integer reads 16, a flag yes, a text keeps it.
TEST(SettingsFileKeys, EachKeyIsReadByTheRuleOfItsType) {
  const std::vector<ListedKey> keys = ListedKeys();
  std::map<std::string, std::string> values;
  for (const ListedKey& key : keys) values[key.key] = "0x10";
  ScratchFolder folder;
  folder.Write("omb.ini", FileOf(keys, values));
  TINI settings;
  settings.Load(folder.File("omb.ini"));
  for (const ListedKey& key : keys) {
    SCOPED_TRACE(key.key);
    const std::string expected = key.type == "integer" ? "16"
                                 : key.type == "flag"  ? "1"
                                 : IsDayString(key)    ? "0x10000"
                                                       : "0x10";
    EXPECT_EQ(ValueOf(settings, kFields.at(key.key)), expected);
  }
}

// Values that differ from key to key, so that two fields wired to each
// other's keys show. Flags have two values only: over five files, flag n
// takes the bits of n + 1, and any two flags differ in at least one file.
TEST(SettingsFileKeys, EveryKeyReadsIntoAndIsWrittenFromTheFieldOfItsName) {
  const std::vector<ListedKey> keys = ListedKeys();
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::map<std::string, std::string> values;
    int index = 0, flags = 0, days = 0;
    for (const ListedKey& key : keys) {
      ++index;
      if (key.type == "integer")
        values[key.key] = std::to_string(100 * round + index);
      else if (key.type == "flag")
        values[key.key] = ((++flags >> round) & 1) ? "1" : "0";
      else if (IsDayString(key))
        values[key.key] = std::string(days, '0') + "1" + std::string(6 - days, '0'), ++days;
      else
        values[key.key] = "text " + std::to_string(round) + " of " + key.key;
    }
    ASSERT_GT(flags, 0);
    ASSERT_LT(flags, 32);
    ScratchFolder folder;
    folder.Write("omb.ini", FileOf(keys, values));
    TINI settings;
    settings.Load(folder.File("omb.ini"));
    for (const ListedKey& key : keys)
      EXPECT_EQ(ValueOf(settings, kFields.at(key.key)), values[key.key]) << key.key;

    // Written back from the fields: each key keeps its own value.
    settings.Save();
    IniFile saved(folder.Read("omb.ini"));
    for (const ListedKey& key : keys)
      EXPECT_EQ(saved.ReadString(key.section, key.key, ""), values[key.key]) << key.key;
  }
}

}  // namespace
