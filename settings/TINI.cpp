#include "settings/TINI.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/FileSystem.h"
#include "settings/IniFile.h"
#include "util/AppError.h"

namespace {

// Where a default comes from when it is not a constant.
enum class Computed { kNone, kEventLogInWorkingFolder, kDataLogInWorkingFolder };

struct Setting {
  std::string_view section;
  std::string_view key;
  std::variant<int32_t TINI::*, bool TINI::*, std::string TINI::*> field;
  int32_t integerDefault = 0;  // integers; flags: 1 for yes
  std::string_view textDefault = {};
  Computed computed = Computed::kNone;
};

constexpr Setting Integer(std::string_view section, std::string_view key, int32_t TINI::*field,
                          int32_t byDefault) {
  return {section, key, field, byDefault};
}
constexpr Setting Flag(std::string_view section, std::string_view key, bool TINI::*field, bool byDefault) {
  return {section, key, field, byDefault ? 1 : 0};
}
constexpr Setting Text(std::string_view section, std::string_view key, std::string TINI::*field,
                       std::string_view byDefault, Computed computed = Computed::kNone) {
  return {section, key, field, 0, byDefault, computed};
}

// Every key of omb.ini, in the order Load reads them.
constexpr std::array kSettings = {
    Integer("PAGE1", "UPSPORT", &TINI::UPSPORT, 1),
    Flag("PAGE1", "RUN_STARTUP_STATUS", &TINI::RUN_STARTUP_STATUS, false),
    Integer("PAGE1", "UPSTYPE", &TINI::UPSTYPE, 0),
    Integer("PAGE1", "UPSCABLE", &TINI::UPSCABLE, 0),
    Flag("PAGE1", "OVERLOAD_SHUTDOWN_STATUS", &TINI::OVERLOAD_SHUTDOWN_STATUS, true),
    Integer("PAGE1", "OVERLOAD_SHUTDOWN_TIME", &TINI::OVERLOAD_SHUTDOWN_TIME, 2),
    Flag("PAGE1", "POWERFAIL_SHUTDOWN_STATUS", &TINI::POWERFAIL_SHUTDOWN_STATUS, true),
    Flag("PAGE1", "RUNTIME_ZERO_SHUTDOWN_STATUS", &TINI::RUNTIME_ZERO_SHUTDOWN_STATUS, true),
    Integer("PAGE1", "BACKUP_TIME", &TINI::BACKUP_TIME, 5),
    Flag("PAGE1", "POWERFAIL_AUTO_SAVE", &TINI::POWERFAIL_AUTO_SAVE, false),
    Integer("PAGE1", "POWERFAIL_SHUTDOWN_TYPE", &TINI::POWERFAIL_SHUTDOWN_TYPE, 1),
    Flag("PAGE1", "POWERFAIL_SHUTDOWN_UPS", &TINI::POWERFAIL_SHUTDOWN_UPS, false),

    Integer("PAGE2", "LAST_SCHEDULE_SETUP_HOUR", &TINI::LAST_SCHEDULE_SETUP_HOUR, 12),
    Integer("PAGE2", "LAST_SCHEDULE_SETUP_MINUTE", &TINI::LAST_SCHEDULE_SETUP_MINUTE, 0),
    Flag("PAGE2", "LAST_SCHEDULE_WARNING", &TINI::LAST_SCHEDULE_WARNING, false),
    Flag("PAGE2", "LAST_SCHEDULE_CURRENT_DAY_SCHEDULE", &TINI::LAST_SCHEDULE_CURRENT_DAY_SCHEDULE, true),
    Flag("PAGE2", "LAST_SCHEDULE_SUNDAY", &TINI::LAST_SCHEDULE_SUNDAY, false),
    Flag("PAGE2", "LAST_SCHEDULE_MONDAY", &TINI::LAST_SCHEDULE_MONDAY, false),
    Flag("PAGE2", "LAST_SCHEDULE_TUESDAY", &TINI::LAST_SCHEDULE_TUESDAY, false),
    Flag("PAGE2", "LAST_SCHEDULE_WEDNESDAY", &TINI::LAST_SCHEDULE_WEDNESDAY, false),
    Flag("PAGE2", "LAST_SCHEDULE_THURSDAY", &TINI::LAST_SCHEDULE_THURSDAY, false),
    Flag("PAGE2", "LAST_SCHEDULE_FRIDAY", &TINI::LAST_SCHEDULE_FRIDAY, false),
    Flag("PAGE2", "LAST_SCHEDULE_SATURDAY", &TINI::LAST_SCHEDULE_SATURDAY, false),
    Integer("PAGE2", "LAST_SCHEDULE_SETUP_BUTTON", &TINI::LAST_SCHEDULE_SETUP_BUTTON, 1),
    Text("PAGE2", "WEEKLY_SCHEDULE_SHUTDOWN_DAY", &TINI::WEEKLY_SCHEDULE_SHUTDOWN_DAY, "0000000"),
    Integer("PAGE2", "WEEKLY_SCHEDULE_SHUTDOWN_HOUR", &TINI::WEEKLY_SCHEDULE_SHUTDOWN_HOUR, 12),
    Integer("PAGE2", "WEEKLY_SCHEDULE_SHUTDOWN_MINUTE", &TINI::WEEKLY_SCHEDULE_SHUTDOWN_MINUTE, 0),
    Flag("PAGE2", "WEEKLY_SCHEDULE_SHUTDOWN_WARNING", &TINI::WEEKLY_SCHEDULE_SHUTDOWN_WARNING, false),
    Text("PAGE2", "WEEKLY_SCHEDULE_STARTUP_DAY", &TINI::WEEKLY_SCHEDULE_STARTUP_DAY, "0000000"),
    Integer("PAGE2", "WEEKLY_SCHEDULE_STARTUP_HOUR", &TINI::WEEKLY_SCHEDULE_STARTUP_HOUR, 12),
    Integer("PAGE2", "WEEKLY_SCHEDULE_STARTUP_MINUTE", &TINI::WEEKLY_SCHEDULE_STARTUP_MINUTE, 0),
    Flag("PAGE2", "WEEKLY_SCHEDULE_STARTUP_WARNING", &TINI::WEEKLY_SCHEDULE_STARTUP_WARNING, false),
    Text("PAGE2", "WEEKLY_SCHEDULE_TESTUPS_DAY", &TINI::WEEKLY_SCHEDULE_TESTUPS_DAY, "0000000"),
    Integer("PAGE2", "WEEKLY_SCHEDULE_TESTUPS_HOUR", &TINI::WEEKLY_SCHEDULE_TESTUPS_HOUR, 12),
    Integer("PAGE2", "WEEKLY_SCHEDULE_TESTUPS_MINUTE", &TINI::WEEKLY_SCHEDULE_TESTUPS_MINUTE, 0),
    Flag("PAGE2", "WEEKLY_SCHEDULE_TESTUPS_WARNING", &TINI::WEEKLY_SCHEDULE_TESTUPS_WARNING, false),
    Flag("PAGE2", "SCHEDULE_AUTO_SAVE", &TINI::SCHEDULE_AUTO_SAVE, false),
    Integer("PAGE2", "SCHEDULE_SHUTDOWN_TYPE", &TINI::SCHEDULE_SHUTDOWN_TYPE, 1),
    Flag("PAGE2", "SCHEDULE_SHUTDOWN_UPS", &TINI::SCHEDULE_SHUTDOWN_UPS, false),

    Integer("PAGE3", "EVENTLOG_RECORD", &TINI::EVENTLOG_RECORD, 50),
    Text("PAGE3", "EVENTLOG_LOCATION", &TINI::EVENTLOG_LOCATION, "", Computed::kEventLogInWorkingFolder),
    Flag("PAGE3", "DATALOG_STATUS", &TINI::DATALOG_STATUS, true),
    Integer("PAGE3", "DATALOG_DAY", &TINI::DATALOG_DAY, 7),
    Integer("PAGE3", "DATALOG_INTERVAL", &TINI::DATALOG_INTERVAL, 30),
    Text("PAGE3", "DATALOG_LOCATION", &TINI::DATALOG_LOCATION, "", Computed::kDataLogInWorkingFolder),
    Text("PAGE3", "LANGUAGE", &TINI::LANGUAGE, "English"),
    Flag("PAGE3", "SHUTDOWN_POWEROFF", &TINI::SHUTDOWN_POWEROFF, false),

    Flag("DEBUG", "DEBUG_LOG", &TINI::DEBUG_LOG, false),
    Text("DEBUG", "DEBUG_FILE", &TINI::DEBUG_FILE, "C:\\debug.dbg"),
};

constexpr size_t kDayStringLength = 7;

bool IsDayString(std::string_view key) {
  return key.ends_with("_DAY") && key.starts_with("WEEKLY_");
}

// The working folder as the system reports it: a drive root keeps its
// backslash, so "C:\" gives "C:\\Eventlog.txt": the path is kept as it is
// built, doubled backslash included.
std::string ComputedDefault(Computed computed) {
  switch (computed) {
    case Computed::kEventLogInWorkingFolder:
      return fs_seam::CurrentDirectory() + "\\Eventlog.txt";
    case Computed::kDataLogInWorkingFolder:
      return fs_seam::CurrentDirectory() + "\\DATALOG\\";
    case Computed::kNone:
      break;
  }
  return {};
}

// Save writes the table's order except in PAGE1, where RUNTIME_ZERO_SHUTDOWN_STATUS
// comes last, after POWERFAIL_SHUTDOWN_UPS: that is where a file Save creates
// has it. The DEBUG section is edited by hand only and never written.
std::vector<const Setting*> WritingOrder() {
  std::vector<const Setting*> order;
  for (const Setting& setting : kSettings)
    if (setting.section != "DEBUG") order.push_back(&setting);
  auto key = [](std::string_view name) {
    return [name](const Setting* setting) { return setting->key == name; };
  };
  auto runtimeZero = std::find_if(order.begin(), order.end(), key("RUNTIME_ZERO_SHUTDOWN_STATUS"));
  auto lastOfPage1 = std::find_if(order.begin(), order.end(), key("POWERFAIL_SHUTDOWN_UPS"));
  std::rotate(runtimeZero, runtimeZero + 1, lastOfPage1 + 1);
  return order;
}

}  // namespace

void TINI::Load(const std::string& path) {
  Path = path;
  IniFile file;
  Unreadable = false;
  Missing = false;
  // Only an open that says the file is not there makes it a missing file.
  try {
    file = IniFile(fs_seam::ReadWholeFile(path));
  } catch (const fs_seam::FileNotFound&) {
    Missing = true;
  } catch (const fs_seam::FileError&) {
    Unreadable = true;
  }
  for (const Setting& setting : kSettings) {
    std::string section(setting.section), key(setting.key);
    std::visit(
        [&](auto member) {
          using Field = std::remove_reference_t<decltype(this->*member)>;
          if constexpr (std::is_same_v<Field, int32_t>) {
            this->*member = file.ReadInteger(section, key, setting.integerDefault);
          } else if constexpr (std::is_same_v<Field, bool>) {
            this->*member = file.ReadFlag(section, key, setting.integerDefault != 0);
          } else {
            std::string byDefault = setting.computed == Computed::kNone ? std::string(setting.textDefault)
                                                                        : ComputedDefault(setting.computed);
            std::string value = file.ReadString(section, key, byDefault);
            // A short day string is filled with days that are off.
            if (IsDayString(setting.key)) value.resize(kDayStringLength, '0');
            this->*member = std::move(value);
          }
        },
        setting.field);
  }
}

void TINI::Save() {
  const std::string failure = FormatMessageText("Unable to write to %s", Path);
  // The file as it is now, so that lines edited by hand since Load stay.
  // An existing file that cannot be read is not replaced: its other lines would be lost.
  IniFile file;
  try {
    file = IniFile(fs_seam::ReadWholeFile(Path));
  } catch (const fs_seam::FileNotFound&) {
  } catch (const fs_seam::FileError& error) {
    throw AppError(WithCause(failure, error.what()));
  }

  for (const Setting* setting : WritingOrder()) {
    std::string section(setting->section), key(setting->key);
    std::visit(
        [&](auto member) {
          using Field = std::remove_reference_t<decltype(this->*member)>;
          if constexpr (std::is_same_v<Field, int32_t>)
            file.WriteInteger(section, key, this->*member);
          else if constexpr (std::is_same_v<Field, bool>)
            file.WriteFlag(section, key, this->*member);
          else
            file.WriteString(section, key, this->*member);
        },
        setting->field);
  }

  try {
    fs_seam::WriteFileAtomically(Path, file.Bytes());
  } catch (const fs_seam::FileError& error) {
    throw AppError(WithCause(failure, error.what()));
  }
}
