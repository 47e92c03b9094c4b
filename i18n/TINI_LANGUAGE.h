#pragma once
// The table of user-interface texts: one text per key of the language file,
// holding the English defaults until Load reads a language file.
#include <cstdint>
#include <span>
#include <string>

class TINI_LANGUAGE {
public:
  TINI_LANGUAGE();  // the English defaults, no path

  std::string Path;  // the language file, set before Load
  // The name of the folder holding the file Load read ("Deutsch"); empty
  // while the texts are the built-in English ones.
  std::string Language;

  // COMMON_SETUP
  std::string FONTNAME;
  int32_t FONTSIZE = 0;
  std::string OK;
  std::string CANCEL;

  // SETUP_PAGE_1
  std::string OMBREL_CONFIGURATIONS;
  std::string UPS_COMMUNICATION_PORT;
  std::string COM_1;
  std::string COM_2;
  std::string COM_3;
  std::string COM_4;
  std::string COM_5;
  std::string COM_6;
  std::string COM_7;
  std::string COM_8;
  std::string RUN_OMBREL_WHEN_STARTUP;
  std::string AUTO_DETECT_UPS;
  std::string TARVEXI_UPS_SERIES;
  std::string QZ_SERIES;
  std::string VELTO_SERIES;
  std::string SORANTHE_SERIES;
  std::string GENERIC_SERIES;
  std::string CABLE_KR404D;
  std::string OMBREL_ADAPTOR;
  std::string SHUTDOWN_COMPUTER_WHEN;
  std::string OVERLOAD_SHUTDOWN_IN;
  std::string MINUTES;
  std::string POWER_FAIL_FOR;
  std::string RECOMMENDED_BACKUP_TIME_0_MINUTE;
  std::string AND_COMPUTER_WILL_SHUTDOWN_WHEN_LOW_BATTERY;
  std::string POWER_FAIL_SHUTDOWN_PARAMETER;
  std::string AUTO_SAVE_APPLICATIONS;
  std::string SHUTDOWN_COMPUTER_TYPE;
  std::string NORMAL_SHUTDOWN;
  std::string FORCE_SHUTDOWN;
  std::string HIBERNATE;
  std::string SHUTDOWN_UPS;

  // SETUP_PAGE_2
  std::string SCHEDULE_SETUP;
  std::string MONTH;
  std::string YEAR;
  std::string JANUARY;
  std::string FEBRUARY;
  std::string MARCH;
  std::string APRIL;
  std::string MAY;
  std::string JUNE;
  std::string JULY;
  std::string AUGUST;
  std::string SEPTEMBER;
  std::string OCTOBER;
  std::string NOVEMBER;
  std::string DECEMBER;
  std::string SHUTDOWN_TIME;
  std::string STARTUP_TIME;
  std::string TESTUPS_TIME;
  std::string SHUTDOWN_COMPUTER_PARAMETER;
  std::string HOUR;
  std::string MINUTE;
  std::string WARNING;
  std::string CURRENT_DAY;
  std::string SHUTDOWN;
  std::string STARTUP;
  std::string TESTUPS;
  std::string SUNDAY;
  std::string MONDAY;
  std::string TUESDAY;
  std::string WEDNESDAY;
  std::string THURSDAY;
  std::string FRIDAY;
  std::string SATURDAY;
  std::string APPLY;
  std::string CLEAR;
  std::string VIEW_ALL;
  std::string RESET;

  // SETUP_PAGE_3
  std::string OTHERS;
  std::string EVENT_LOG;
  std::string MAXIMUM;
  std::string RECORDS;
  std::string LOCATION;
  std::string DATA_LOG;
  std::string ENABLED;
  std::string DAYS;
  std::string INTERVAL_TIME;
  std::string SECONDS;
  std::string SELECT_LANGUAGE;

  // VIEW_ALL_PAGE
  std::string DAY;
  std::string TIME;
  std::string TYPE;
  std::string CLOSE;
  std::string NO;
  std::string YES;

  // MESSAGE
  std::string MESSAGE_CONFIRM_DETECT;
  std::string MESSAGE_SELECT_SCHEDULE;
  std::string MESSAGE_CONFIRM_APPLY_EXIT;
  std::string MESSAGE_CONFIRM_CANCEL_EXIT;
  std::string MESSAGE_ERROR_NOT_VALID_INTEGER;
  std::string MESSAGE_NOT_DEFINE_SCHEDULE_TIME;
  std::string MESSAGE_ERROR_FILE_NOT_FOUND;
  std::string MESSAGE_WARNING_HIBERNATE_SELECT;
  std::string MESSAGE_HIBERNATE_NOT_AVAILABLE;  // Hibernate chosen on a computer that cannot hibernate
  std::string MESSAGE_CURRENT_SCHEDULE_NOT_FOUND;
  std::string MESSAGE_SETTINGS_NOT_SAVED;  // OK after a start that could not read everything
  std::string MESSAGE_WARNING_FOLDER_OPEN_TO_ALL;  // followed by the folder
  std::string MESSAGE_PORTS_BEYOND_COM8;
  std::string MESSAGE_PORTS_COM1_TO_COM8_ONLY;
  std::string MESSAGE_MONITOR_NOT_IN_FOLDER;  // followed by the folder
  std::string MESSAGE_SETUP_IN_USE;  // a window started while another run holds the settings

  // Reads every entry from the file at Path; a missing key takes its English
  // default less trailing blanks. Never fails: a file that is missing or
  // cannot be read leaves every entry at its default, and the text of the box
  // that tells the user so is returned; empty when the file was read.
  std::string Load();
};

// One entry of the language file: its section, key and English default, and
// the field that holds it. FONTSIZE, the one integer, has no text field and
// its default is given in digits.
struct LanguageEntry {
  const char* Section;
  const char* Key;
  const char* EnglishDefault;
  std::string TINI_LANGUAGE::*Text;  // null for FONTSIZE
};

// Every entry, in the order Load reads them.
std::span<const LanguageEntry> LanguageEntries();
