#pragma once
// The settings record: every value of omb.ini, the file the monitor reads.
// Fields are named after their keys.
#include <cstdint>
#include <string>

// <windows.h> defines SHUTDOWN_POWEROFF as a flag of InitiateShutdown; here the
// name is the settings key, so the macro must not replace the field's name.
#ifdef SHUTDOWN_POWEROFF
#undef SHUTDOWN_POWEROFF
#endif

// A new record is empty (integers 0, flags off, texts empty); the defaults of
// missing keys are Load's, in its key table, and nowhere else.
class TINI {
public:
  std::string Path;  // the file Load read; Save writes to it

  // PAGE1
  int32_t UPSPORT = 0;
  bool RUN_STARTUP_STATUS = false;
  int32_t UPSTYPE = 0;
  int32_t UPSCABLE = 0;
  bool OVERLOAD_SHUTDOWN_STATUS = false;
  int32_t OVERLOAD_SHUTDOWN_TIME = 0;
  bool POWERFAIL_SHUTDOWN_STATUS = false;
  bool RUNTIME_ZERO_SHUTDOWN_STATUS = false;
  int32_t BACKUP_TIME = 0;
  bool POWERFAIL_AUTO_SAVE = false;
  int32_t POWERFAIL_SHUTDOWN_TYPE = 0;
  bool POWERFAIL_SHUTDOWN_UPS = false;

  // PAGE2
  int32_t LAST_SCHEDULE_SETUP_HOUR = 0;
  int32_t LAST_SCHEDULE_SETUP_MINUTE = 0;
  bool LAST_SCHEDULE_WARNING = false;
  bool LAST_SCHEDULE_CURRENT_DAY_SCHEDULE = false;
  bool LAST_SCHEDULE_SUNDAY = false;
  bool LAST_SCHEDULE_MONDAY = false;
  bool LAST_SCHEDULE_TUESDAY = false;
  bool LAST_SCHEDULE_WEDNESDAY = false;
  bool LAST_SCHEDULE_THURSDAY = false;
  bool LAST_SCHEDULE_FRIDAY = false;
  bool LAST_SCHEDULE_SATURDAY = false;
  int32_t LAST_SCHEDULE_SETUP_BUTTON = 0;
  std::string WEEKLY_SCHEDULE_SHUTDOWN_DAY;
  int32_t WEEKLY_SCHEDULE_SHUTDOWN_HOUR = 0;
  int32_t WEEKLY_SCHEDULE_SHUTDOWN_MINUTE = 0;
  bool WEEKLY_SCHEDULE_SHUTDOWN_WARNING = false;
  std::string WEEKLY_SCHEDULE_STARTUP_DAY;
  int32_t WEEKLY_SCHEDULE_STARTUP_HOUR = 0;
  int32_t WEEKLY_SCHEDULE_STARTUP_MINUTE = 0;
  bool WEEKLY_SCHEDULE_STARTUP_WARNING = false;
  std::string WEEKLY_SCHEDULE_TESTUPS_DAY;
  int32_t WEEKLY_SCHEDULE_TESTUPS_HOUR = 0;
  int32_t WEEKLY_SCHEDULE_TESTUPS_MINUTE = 0;
  bool WEEKLY_SCHEDULE_TESTUPS_WARNING = false;
  bool SCHEDULE_AUTO_SAVE = false;
  int32_t SCHEDULE_SHUTDOWN_TYPE = 0;
  bool SCHEDULE_SHUTDOWN_UPS = false;

  // PAGE3
  int32_t EVENTLOG_RECORD = 0;
  std::string EVENTLOG_LOCATION;
  bool DATALOG_STATUS = false;
  int32_t DATALOG_DAY = 0;
  int32_t DATALOG_INTERVAL = 0;
  std::string DATALOG_LOCATION;
  std::string LANGUAGE;
  bool SHUTDOWN_POWEROFF = false;

  // DEBUG (read only)
  bool DEBUG_LOG = false;
  std::string DEBUG_FILE;

  // The file exists but could not be read (another program held it, a read
  // error): the values are defaults, not what the file holds.
  bool Unreadable = false;
  // There was no file to read: the values are defaults.
  bool Missing = false;

  // Reads every key, missing or unreadable ones taking their defaults. Never fails.
  void Load(const std::string& path);
  // Writes PAGE1, PAGE2 and PAGE3 to Path in one step, leaving every other
  // line of the file as it was. Throws AppError("Unable to write to <path>: <cause>").
  void Save();

  // Every field alike, the path included.
  friend bool operator==(const TINI&, const TINI&) = default;
};
