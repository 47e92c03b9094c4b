#include "i18n/TINI_LANGUAGE.h"

#include "platform/FileSystem.h"

#include <array>

#include "i18n/LanguageFileText.h"
#include "platform/TextEncoding.h"
#include "settings/IniFile.h"
#include "util/FolderOf.h"

namespace {

// Every entry of the language file, in the order Load reads them.
constexpr std::array<LanguageEntry, 106> kEntries = {{
    {"COMMON_SETUP", "FONTNAME", "Microsoft Sans Serif", &TINI_LANGUAGE::FONTNAME},
    {"COMMON_SETUP", "FONTSIZE", "8", nullptr},
    {"COMMON_SETUP", "OK", "OK", &TINI_LANGUAGE::OK},
    {"COMMON_SETUP", "CANCEL", "CANCEL", &TINI_LANGUAGE::CANCEL},

    {"SETUP_PAGE_1", "OMBREL_CONFIGURATIONS", "Ombrel Configurations", &TINI_LANGUAGE::OMBREL_CONFIGURATIONS},
    {"SETUP_PAGE_1", "UPS_COMMUNICATION_PORT", "UPS Communication Port",
     &TINI_LANGUAGE::UPS_COMMUNICATION_PORT},
    {"SETUP_PAGE_1", "COM_1", "COM 1", &TINI_LANGUAGE::COM_1},
    {"SETUP_PAGE_1", "COM_2", "COM 2", &TINI_LANGUAGE::COM_2},
    {"SETUP_PAGE_1", "COM_3", "COM 3", &TINI_LANGUAGE::COM_3},
    {"SETUP_PAGE_1", "COM_4", "COM 4", &TINI_LANGUAGE::COM_4},
    {"SETUP_PAGE_1", "COM_5", "COM 5", &TINI_LANGUAGE::COM_5},
    {"SETUP_PAGE_1", "COM_6", "COM 6", &TINI_LANGUAGE::COM_6},
    {"SETUP_PAGE_1", "COM_7", "COM 7", &TINI_LANGUAGE::COM_7},
    {"SETUP_PAGE_1", "COM_8", "COM 8", &TINI_LANGUAGE::COM_8},
    {"SETUP_PAGE_1", "RUN_OMBREL_WHEN_STARTUP", "Run Ombrel when startup",
     &TINI_LANGUAGE::RUN_OMBREL_WHEN_STARTUP},
    {"SETUP_PAGE_1", "AUTO_DETECT_UPS", "Auto Detect UPS", &TINI_LANGUAGE::AUTO_DETECT_UPS},
    {"SETUP_PAGE_1", "TARVEXI_UPS_SERIES", "Tarvexi UPS Series", &TINI_LANGUAGE::TARVEXI_UPS_SERIES},
    {"SETUP_PAGE_1", "QZ_SERIES", "QZ series", &TINI_LANGUAGE::QZ_SERIES},
    {"SETUP_PAGE_1", "VELTO_SERIES", "Velto series", &TINI_LANGUAGE::VELTO_SERIES},
    {"SETUP_PAGE_1", "SORANTHE_SERIES", "Soranthe Series", &TINI_LANGUAGE::SORANTHE_SERIES},
    {"SETUP_PAGE_1", "GENERIC_SERIES", "Generic Series [ Dry contact ]", &TINI_LANGUAGE::GENERIC_SERIES},
    {"SETUP_PAGE_1", "CABLE_KR404D", "Cable KR404D", &TINI_LANGUAGE::CABLE_KR404D},
    {"SETUP_PAGE_1", "OMBREL_ADAPTOR", "Ombrel Adaptor", &TINI_LANGUAGE::OMBREL_ADAPTOR},
    {"SETUP_PAGE_1", "SHUTDOWN_COMPUTER_WHEN", "Shutdown computer when",
     &TINI_LANGUAGE::SHUTDOWN_COMPUTER_WHEN},
    {"SETUP_PAGE_1", "OVERLOAD_SHUTDOWN_IN", "Overload Shutdown in", &TINI_LANGUAGE::OVERLOAD_SHUTDOWN_IN},
    {"SETUP_PAGE_1", "MINUTES", "Minute", &TINI_LANGUAGE::MINUTES},
    {"SETUP_PAGE_1", "POWER_FAIL_FOR", "Power fail for", &TINI_LANGUAGE::POWER_FAIL_FOR},
    {"SETUP_PAGE_1", "RECOMMENDED_BACKUP_TIME_0_MINUTE", "Recommended backup time = 0 minute",
     &TINI_LANGUAGE::RECOMMENDED_BACKUP_TIME_0_MINUTE},
    {"SETUP_PAGE_1", "AND_COMPUTER_WILL_SHUTDOWN_WHEN_LOW_BATTERY",
     "And Computer will shutdown when low battery",
     &TINI_LANGUAGE::AND_COMPUTER_WILL_SHUTDOWN_WHEN_LOW_BATTERY},
    {"SETUP_PAGE_1", "POWER_FAIL_SHUTDOWN_PARAMETER", "Power fail shutdown parameter",
     &TINI_LANGUAGE::POWER_FAIL_SHUTDOWN_PARAMETER},
    {"SETUP_PAGE_1", "AUTO_SAVE_APPLICATIONS", "Auto-Save Applications",
     &TINI_LANGUAGE::AUTO_SAVE_APPLICATIONS},
    {"SETUP_PAGE_1", "SHUTDOWN_COMPUTER_TYPE", "Shutdown computer type",
     &TINI_LANGUAGE::SHUTDOWN_COMPUTER_TYPE},
    {"SETUP_PAGE_1", "NORMAL_SHUTDOWN", "Normal Shutdown", &TINI_LANGUAGE::NORMAL_SHUTDOWN},
    {"SETUP_PAGE_1", "FORCE_SHUTDOWN", "Force Shutdown", &TINI_LANGUAGE::FORCE_SHUTDOWN},
    {"SETUP_PAGE_1", "HIBERNATE", "Hibernate", &TINI_LANGUAGE::HIBERNATE},
    {"SETUP_PAGE_1", "SHUTDOWN_UPS", "Shutdown UPS", &TINI_LANGUAGE::SHUTDOWN_UPS},

    {"SETUP_PAGE_2", "SCHEDULE_SETUP", "Schedule Setup", &TINI_LANGUAGE::SCHEDULE_SETUP},
    {"SETUP_PAGE_2", "MONTH", "Month", &TINI_LANGUAGE::MONTH},
    {"SETUP_PAGE_2", "YEAR", "Year", &TINI_LANGUAGE::YEAR},
    {"SETUP_PAGE_2", "JANUARY", "January", &TINI_LANGUAGE::JANUARY},
    {"SETUP_PAGE_2", "FEBRUARY", "February", &TINI_LANGUAGE::FEBRUARY},
    {"SETUP_PAGE_2", "MARCH", "March", &TINI_LANGUAGE::MARCH},
    {"SETUP_PAGE_2", "APRIL", "April", &TINI_LANGUAGE::APRIL},
    {"SETUP_PAGE_2", "MAY", "May", &TINI_LANGUAGE::MAY},
    {"SETUP_PAGE_2", "JUNE", "June", &TINI_LANGUAGE::JUNE},
    {"SETUP_PAGE_2", "JULY", "July", &TINI_LANGUAGE::JULY},
    {"SETUP_PAGE_2", "AUGUST", "August", &TINI_LANGUAGE::AUGUST},
    {"SETUP_PAGE_2", "SEPTEMBER", "September", &TINI_LANGUAGE::SEPTEMBER},
    {"SETUP_PAGE_2", "OCTOBER", "October", &TINI_LANGUAGE::OCTOBER},
    {"SETUP_PAGE_2", "NOVEMBER", "November", &TINI_LANGUAGE::NOVEMBER},
    {"SETUP_PAGE_2", "DECEMBER", "December", &TINI_LANGUAGE::DECEMBER},
    {"SETUP_PAGE_2", "SHUTDOWN_TIME", "Shutdown Time :", &TINI_LANGUAGE::SHUTDOWN_TIME},
    {"SETUP_PAGE_2", "STARTUP_TIME", "StartUp Time :", &TINI_LANGUAGE::STARTUP_TIME},
    {"SETUP_PAGE_2", "TESTUPS_TIME", "TestUPS Time :", &TINI_LANGUAGE::TESTUPS_TIME},
    {"SETUP_PAGE_2", "SHUTDOWN_COMPUTER_PARAMETER", "Shutdown computer parameter",
     &TINI_LANGUAGE::SHUTDOWN_COMPUTER_PARAMETER},
    {"SETUP_PAGE_2", "HOUR", "Hour", &TINI_LANGUAGE::HOUR},
    {"SETUP_PAGE_2", "MINUTE", "Min.", &TINI_LANGUAGE::MINUTE},
    {"SETUP_PAGE_2", "WARNING", "Warning", &TINI_LANGUAGE::WARNING},
    {"SETUP_PAGE_2", "CURRENT_DAY", "Current Day", &TINI_LANGUAGE::CURRENT_DAY},
    {"SETUP_PAGE_2", "SHUTDOWN", "Shutdown", &TINI_LANGUAGE::SHUTDOWN},
    {"SETUP_PAGE_2", "STARTUP", "StartUp", &TINI_LANGUAGE::STARTUP},
    {"SETUP_PAGE_2", "TESTUPS", "TestUPS", &TINI_LANGUAGE::TESTUPS},
    {"SETUP_PAGE_2", "SUNDAY", "Sunday", &TINI_LANGUAGE::SUNDAY},
    {"SETUP_PAGE_2", "MONDAY", "Monday", &TINI_LANGUAGE::MONDAY},
    {"SETUP_PAGE_2", "TUESDAY", "Tuesday", &TINI_LANGUAGE::TUESDAY},
    {"SETUP_PAGE_2", "WEDNESDAY", "Wednesday", &TINI_LANGUAGE::WEDNESDAY},
    {"SETUP_PAGE_2", "THURSDAY", "Thursday", &TINI_LANGUAGE::THURSDAY},
    {"SETUP_PAGE_2", "FRIDAY", "Friday", &TINI_LANGUAGE::FRIDAY},
    {"SETUP_PAGE_2", "SATURDAY", "Saturday", &TINI_LANGUAGE::SATURDAY},
    {"SETUP_PAGE_2", "APPLY", "Apply", &TINI_LANGUAGE::APPLY},
    {"SETUP_PAGE_2", "CLEAR", "Clear", &TINI_LANGUAGE::CLEAR},
    {"SETUP_PAGE_2", "VIEW_ALL", "View All", &TINI_LANGUAGE::VIEW_ALL},
    {"SETUP_PAGE_2", "RESET", "Reset", &TINI_LANGUAGE::RESET},

    {"SETUP_PAGE_3", "OTHERS", "Others", &TINI_LANGUAGE::OTHERS},
    {"SETUP_PAGE_3", "EVENT_LOG", "Event Log", &TINI_LANGUAGE::EVENT_LOG},
    {"SETUP_PAGE_3", "MAXIMUM", "Maximum", &TINI_LANGUAGE::MAXIMUM},
    {"SETUP_PAGE_3", "RECORDS", "record(s)", &TINI_LANGUAGE::RECORDS},
    {"SETUP_PAGE_3", "LOCATION", "Location", &TINI_LANGUAGE::LOCATION},
    {"SETUP_PAGE_3", "DATA_LOG", "Data Log", &TINI_LANGUAGE::DATA_LOG},
    {"SETUP_PAGE_3", "ENABLED", "Enabled", &TINI_LANGUAGE::ENABLED},
    {"SETUP_PAGE_3", "DAYS", "days", &TINI_LANGUAGE::DAYS},
    {"SETUP_PAGE_3", "INTERVAL_TIME", "Interval time", &TINI_LANGUAGE::INTERVAL_TIME},
    {"SETUP_PAGE_3", "SECONDS", "seconds", &TINI_LANGUAGE::SECONDS},
    {"SETUP_PAGE_3", "SELECT_LANGUAGE", "Select Language", &TINI_LANGUAGE::SELECT_LANGUAGE},

    {"VIEW_ALL_PAGE", "DAY", "DAY", &TINI_LANGUAGE::DAY},
    {"VIEW_ALL_PAGE", "TIME", "TIME", &TINI_LANGUAGE::TIME},
    {"VIEW_ALL_PAGE", "TYPE", "TYPE", &TINI_LANGUAGE::TYPE},
    {"VIEW_ALL_PAGE", "CLOSE", "Close", &TINI_LANGUAGE::CLOSE},
    {"VIEW_ALL_PAGE", "NO", "NO", &TINI_LANGUAGE::NO},
    {"VIEW_ALL_PAGE", "YES", "YES", &TINI_LANGUAGE::YES},

    {"MESSAGE", "MESSAGE_CONFIRM_DETECT",
     "Detect UPS Communication port will take 5 - 30 seconds ! Do you want to continue ?",
     &TINI_LANGUAGE::MESSAGE_CONFIRM_DETECT},
    {"MESSAGE", "MESSAGE_SELECT_SCHEDULE", "Please select schedule before click apply button!",
     &TINI_LANGUAGE::MESSAGE_SELECT_SCHEDULE},
    {"MESSAGE", "MESSAGE_CONFIRM_APPLY_EXIT", "Do you want to apply new setup and exit Program ?",
     &TINI_LANGUAGE::MESSAGE_CONFIRM_APPLY_EXIT},
    {"MESSAGE", "MESSAGE_CONFIRM_CANCEL_EXIT", "Do you want to cancel setup and exit Program ?",
     &TINI_LANGUAGE::MESSAGE_CONFIRM_CANCEL_EXIT},
    {"MESSAGE", "MESSAGE_ERROR_NOT_VALID_INTEGER", "Error,Not a valid number !",
     &TINI_LANGUAGE::MESSAGE_ERROR_NOT_VALID_INTEGER},
    {"MESSAGE", "MESSAGE_NOT_DEFINE_SCHEDULE_TIME", "Not define",
     &TINI_LANGUAGE::MESSAGE_NOT_DEFINE_SCHEDULE_TIME},
    {"MESSAGE", "MESSAGE_ERROR_FILE_NOT_FOUND",
     "Error, File not found : ", &TINI_LANGUAGE::MESSAGE_ERROR_FILE_NOT_FOUND},
    {"MESSAGE", "MESSAGE_WARNING_HIBERNATE_SELECT",
     "You must sure that Hardware and software support for this function.",
     &TINI_LANGUAGE::MESSAGE_WARNING_HIBERNATE_SELECT},
    {"MESSAGE", "MESSAGE_HIBERNATE_NOT_AVAILABLE",
     "This computer cannot hibernate at present: hibernation is turned off, or the computer does not support it. "
     "With this choice it would stay on until the UPS battery is empty. To turn hibernation on, open Command "
     "Prompt as administrator and run: powercfg /hibernate on",
     &TINI_LANGUAGE::MESSAGE_HIBERNATE_NOT_AVAILABLE},
    {"MESSAGE", "MESSAGE_CURRENT_SCHEDULE_NOT_FOUND", "Have no schedule set on this day !",
     &TINI_LANGUAGE::MESSAGE_CURRENT_SCHEDULE_NOT_FOUND},
    {"MESSAGE", "MESSAGE_SETTINGS_NOT_SAVED",
     "The settings could not all be read at start, so nothing has been saved. Close the program and start it "
     "again once the files can be read.",
     &TINI_LANGUAGE::MESSAGE_SETTINGS_NOT_SAVED},
    {"MESSAGE", "MESSAGE_WARNING_FOLDER_OPEN_TO_ALL",
     "Every user of this computer may change the files in this folder, from which this program and the monitor "
     "run with administrator rights. Let only Administrators and SYSTEM change it:",
     &TINI_LANGUAGE::MESSAGE_WARNING_FOLDER_OPEN_TO_ALL},
    {"MESSAGE", "MESSAGE_PORTS_BEYOND_COM8", "Serial ports beyond COM8 on this computer:",
     &TINI_LANGUAGE::MESSAGE_PORTS_BEYOND_COM8},
    {"MESSAGE", "MESSAGE_PORTS_COM1_TO_COM8_ONLY",
     "The monitor uses COM1 to COM8 only. The help (F1) tells how to renumber an adapter.",
     &TINI_LANGUAGE::MESSAGE_PORTS_COM1_TO_COM8_ONLY},
    {"MESSAGE", "MESSAGE_MONITOR_NOT_IN_FOLDER",
     "The monitor (SPY.EXE) is not in this program's folder, so it will not read these settings. Put this program "
     "in the monitor's folder and start it from there. This folder:",
     &TINI_LANGUAGE::MESSAGE_MONITOR_NOT_IN_FOLDER},
    {"MESSAGE", "MESSAGE_SETUP_IN_USE",
     "Ombrel Setup is already changing this computer's settings (a run from the command line, or its window in "
     "another user's session). Start it again once that has ended.",
     &TINI_LANGUAGE::MESSAGE_SETUP_IN_USE},
}};

// The default of the one integer entry, FONTSIZE, from its digits in the table.
int32_t IntegerDefault(const LanguageEntry& entry) {
  int32_t value = 0;
  ParseIniInteger(entry.EnglishDefault, value);
  return value;
}

}  // namespace

std::span<const LanguageEntry> LanguageEntries() {
  return kEntries;
}

TINI_LANGUAGE::TINI_LANGUAGE() {
  for (const LanguageEntry& entry : kEntries) {
    if (entry.Text)
      this->*entry.Text = entry.EnglishDefault;
    else
      FONTSIZE = IntegerDefault(entry);
  }
}

std::string TINI_LANGUAGE::Load() {
  std::string bytes, failure;
  try {
    bytes = fs_seam::ReadWholeFile(Path);
  } catch (const fs_seam::FileNotFound&) {
    failure = Path + " " + MESSAGE_ERROR_FILE_NOT_FOUND;
  } catch (const fs_seam::FileError& error) {
    failure = Path + ": " + error.what();
  }
  // A file not read leaves every text at its English default, as it is.
  if (!failure.empty()) return failure;
  // The path is ...\Languages\<name>\setup.ini.
  const std::string folder = FolderOf(Path);
  const size_t start = folder.find_last_of("\\/", folder.size() - 2);
  Language = folder.substr(start == std::string::npos ? 0 : start + 1);
  if (!Language.empty()) Language.pop_back();
  // A file in UTF-8 or UTF-16 is read as UTF-8, and its texts are turned into
  // the system's code page, which every other text of the program is in.
  LanguageFileText decoded = DecodeLanguageFile(bytes);
  const bool utf8 = decoded.Utf8;
  const IniFile file(std::move(decoded.Text));
  for (const LanguageEntry& entry : kEntries) {
    if (entry.Text) {
      std::string text = file.ReadString(entry.Section, entry.Key, entry.EnglishDefault);
      this->*entry.Text = utf8 ? SystemCodePageFromUtf8(text) : std::move(text);
    } else {
      FONTSIZE = file.ReadInteger(entry.Section, entry.Key, IntegerDefault(entry));
    }
  }
  return failure;
}
