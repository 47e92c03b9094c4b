// The language file as an outside interface: its sections, keys and English
// defaults checked against the list in tests/data, and each key
// read into the field of its own name.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "i18n/TINI_LANGUAGE.h"
#include "settings/IniFile.h"
#include "support/KeyLists.h"
#include "support/ScratchFolder.h"

namespace {

struct ListedKey {
  std::string section;
  std::string key;
  std::string english;  // a text default without its quotes, or the digits of FONTSIZE
};

std::vector<ListedKey> ListedEntries() {
  std::vector<ListedKey> entries;
  for (const auto& row : ReadKeyList("language-keys.txt", 3)) {
    std::string english = row.at(2);
    if (english.size() >= 2 && english.front() == '"' && english.back() == '"')
      english = english.substr(1, english.size() - 2);
    entries.push_back({row.at(0), row.at(1), english});
  }
  return entries;
}

// The text fields by the names of their keys, written out here rather than
// taken from the table the program reads with.
#define TEXT(name) \
  { #name, &TINI_LANGUAGE::name }
// clang-format off
const std::map<std::string, std::string TINI_LANGUAGE::*> kTextFields = {
    TEXT(FONTNAME), TEXT(OK), TEXT(CANCEL), TEXT(OMBREL_CONFIGURATIONS), TEXT(UPS_COMMUNICATION_PORT),
    TEXT(COM_1), TEXT(COM_2), TEXT(COM_3), TEXT(COM_4), TEXT(COM_5), TEXT(COM_6), TEXT(COM_7), TEXT(COM_8),
    TEXT(RUN_OMBREL_WHEN_STARTUP), TEXT(AUTO_DETECT_UPS), TEXT(TARVEXI_UPS_SERIES), TEXT(QZ_SERIES),
    TEXT(VELTO_SERIES), TEXT(SORANTHE_SERIES), TEXT(GENERIC_SERIES), TEXT(CABLE_KR404D), TEXT(OMBREL_ADAPTOR),
    TEXT(SHUTDOWN_COMPUTER_WHEN), TEXT(OVERLOAD_SHUTDOWN_IN), TEXT(MINUTES), TEXT(POWER_FAIL_FOR),
    TEXT(RECOMMENDED_BACKUP_TIME_0_MINUTE), TEXT(AND_COMPUTER_WILL_SHUTDOWN_WHEN_LOW_BATTERY),
    TEXT(POWER_FAIL_SHUTDOWN_PARAMETER), TEXT(AUTO_SAVE_APPLICATIONS), TEXT(SHUTDOWN_COMPUTER_TYPE),
    TEXT(NORMAL_SHUTDOWN), TEXT(FORCE_SHUTDOWN), TEXT(HIBERNATE), TEXT(SHUTDOWN_UPS), TEXT(SCHEDULE_SETUP),
    TEXT(MONTH), TEXT(YEAR), TEXT(JANUARY), TEXT(FEBRUARY), TEXT(MARCH), TEXT(APRIL), TEXT(MAY), TEXT(JUNE),
    TEXT(JULY), TEXT(AUGUST), TEXT(SEPTEMBER), TEXT(OCTOBER), TEXT(NOVEMBER), TEXT(DECEMBER),
    TEXT(SHUTDOWN_TIME), TEXT(STARTUP_TIME), TEXT(TESTUPS_TIME), TEXT(SHUTDOWN_COMPUTER_PARAMETER),
    TEXT(HOUR), TEXT(MINUTE), TEXT(WARNING), TEXT(CURRENT_DAY), TEXT(SHUTDOWN), TEXT(STARTUP), TEXT(TESTUPS),
    TEXT(SUNDAY), TEXT(MONDAY), TEXT(TUESDAY), TEXT(WEDNESDAY), TEXT(THURSDAY), TEXT(FRIDAY), TEXT(SATURDAY),
    TEXT(APPLY), TEXT(CLEAR), TEXT(VIEW_ALL), TEXT(RESET), TEXT(OTHERS), TEXT(EVENT_LOG), TEXT(MAXIMUM),
    TEXT(RECORDS), TEXT(LOCATION), TEXT(DATA_LOG), TEXT(ENABLED), TEXT(DAYS), TEXT(INTERVAL_TIME),
    TEXT(SECONDS), TEXT(SELECT_LANGUAGE), TEXT(DAY), TEXT(TIME), TEXT(TYPE), TEXT(CLOSE), TEXT(NO), TEXT(YES),
    TEXT(MESSAGE_CONFIRM_DETECT), TEXT(MESSAGE_SELECT_SCHEDULE), TEXT(MESSAGE_CONFIRM_APPLY_EXIT),
    TEXT(MESSAGE_CONFIRM_CANCEL_EXIT), TEXT(MESSAGE_ERROR_NOT_VALID_INTEGER),
    TEXT(MESSAGE_NOT_DEFINE_SCHEDULE_TIME), TEXT(MESSAGE_ERROR_FILE_NOT_FOUND),
    TEXT(MESSAGE_WARNING_HIBERNATE_SELECT), TEXT(MESSAGE_HIBERNATE_NOT_AVAILABLE),
    TEXT(MESSAGE_CURRENT_SCHEDULE_NOT_FOUND),
    TEXT(MESSAGE_SETTINGS_NOT_SAVED), TEXT(MESSAGE_WARNING_FOLDER_OPEN_TO_ALL),
    TEXT(MESSAGE_PORTS_BEYOND_COM8), TEXT(MESSAGE_PORTS_COM1_TO_COM8_ONLY),
    TEXT(MESSAGE_MONITOR_NOT_IN_FOLDER), TEXT(MESSAGE_SETUP_IN_USE),
};
// clang-format on
#undef TEXT

TEST(LanguageFileKeys, EveryEntryHasTheListedSectionKeyAndDefaultInOrder) {
  const std::vector<ListedKey> listed = ListedEntries();
  ASSERT_EQ(listed.size(), 106u);
  std::span<const LanguageEntry> entries = LanguageEntries();
  ASSERT_EQ(entries.size(), listed.size());
  for (size_t i = 0; i < listed.size(); ++i) {
    SCOPED_TRACE(listed[i].key);
    EXPECT_EQ(entries[i].Section, listed[i].section);
    EXPECT_EQ(entries[i].Key, listed[i].key);
    EXPECT_EQ(entries[i].EnglishDefault, listed[i].english);
  }
}

TEST(LanguageFileKeys, EachKeyOfItsSectionFillsTheFieldOfItsName) {
  const std::vector<ListedKey> listed = ListedEntries();
  TINI_LANGUAGE english;
  std::map<std::string, std::string> sections;
  for (const ListedKey& entry : listed) {
    SCOPED_TRACE(entry.key);
    if (entry.key == "FONTSIZE") {
      EXPECT_EQ(std::to_string(english.FONTSIZE), entry.english);
      sections[entry.section] += "FONTSIZE=13\r\n";
      continue;
    }
    ASSERT_TRUE(kTextFields.count(entry.key)) << "no field named " << entry.key;
    EXPECT_EQ(english.*kTextFields.at(entry.key), entry.english);
    sections[entry.section] += entry.key + "=text of " + entry.key + "\r\n";
  }

  ScratchFolder folder;
  std::string file;
  for (const auto& [section, lines] : sections) file += "[" + section + "]\r\n" + lines;
  folder.Write("setup.ini", file);
  TINI_LANGUAGE loaded;
  loaded.Path = folder.File("setup.ini");
  loaded.Load();
  EXPECT_EQ(loaded.FONTSIZE, 13);
  for (const auto& [key, field] : kTextFields) EXPECT_EQ(loaded.*field, "text of " + key);
}

// A key is looked for in its own section only.
TEST(LanguageFileKeys, KeysUnderAnotherSectionAreNotFound) {
  const std::vector<ListedKey> listed = ListedEntries();
  std::string file = "[ELSEWHERE]\r\n";
  for (const ListedKey& entry : listed) file += entry.key + "=moved\r\n";
  for (const char* section :
       {"COMMON_SETUP", "SETUP_PAGE_1", "SETUP_PAGE_2", "SETUP_PAGE_3", "VIEW_ALL_PAGE", "MESSAGE"}) {
    file += std::string("[") + section + "]\r\n";
    for (const ListedKey& entry : listed)
      if (entry.section != section) file += entry.key + "=moved\r\n";
  }
  ScratchFolder folder;
  folder.Write("setup.ini", file);
  TINI_LANGUAGE loaded;
  loaded.Path = folder.File("setup.ini");
  loaded.Load();
  EXPECT_EQ(loaded.FONTSIZE, 8);
  for (const auto& [key, field] : kTextFields) EXPECT_NE(loaded.*field, "moved") << key;
}

// Every language we ship names each listed key in its own section, and
// no key that is not listed (a misspelt key would leave English showing).
TEST(LanguageFileKeys, ShippedLanguagesNameExactlyTheListedKeys) {
  const std::vector<ListedKey> listed = ListedEntries();
  std::set<std::pair<std::string, std::string>> known;
  for (const ListedKey& entry : listed) known.insert({entry.section, entry.key});
  std::set<std::string> languages;
  for (const auto& folder : std::filesystem::directory_iterator(std::filesystem::path(OMBREL_LANGUAGES_DIR))) {
    const std::string language = folder.path().filename().string();
    languages.insert(language);
    SCOPED_TRACE(language);
    const std::string bytes = ReadFileBytes((folder.path() / "setup.ini").string());
    ASSERT_FALSE(bytes.empty());
    const IniFile file(bytes);
    for (const ListedKey& entry : listed)
      EXPECT_NE(file.ReadString(entry.section, entry.key, "<missing>"), "<missing>") << entry.key;

    std::string section;
    size_t start = 0;
    while (start < bytes.size()) {
      size_t end = bytes.find("\r\n", start);
      if (end == std::string::npos) end = bytes.size();
      const std::string line = bytes.substr(start, end - start);
      start = end + 2;
      if (line.starts_with("[") && line.ends_with("]")) {
        section = line.substr(1, line.size() - 2);
      } else if (size_t equals = line.find('='); equals != std::string::npos) {
        EXPECT_TRUE(known.count({section, line.substr(0, equals)})) << section << ": " << line;
      }
    }
  }
  EXPECT_EQ(languages, (std::set<std::string>{"Deutsch", "English", "Espanol", "Francais"}));
}

}  // namespace
