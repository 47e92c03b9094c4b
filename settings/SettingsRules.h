#pragma once
// The rules that tie the settings together, on the settings record: what each
// field of the window may hold, what a UPS series allows, the power-fail pair
// and the shutdown type. The main window asks these when the user acts; a
// program without a window applies them to a record and stores what OK would.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "settings/TINI.h"

namespace settings_rules {

// A number field the user types into: digits only, up to its length.
struct TypedNumber {
  int32_t TINI::*field;
  const char* key;
  int maxDigits;
};
inline constexpr TypedNumber kOverloadMinutes{&TINI::OVERLOAD_SHUTDOWN_TIME, "OVERLOAD_SHUTDOWN_TIME", 2};
inline constexpr TypedNumber kBackupMinutes{&TINI::BACKUP_TIME, "BACKUP_TIME", 2};
inline constexpr TypedNumber kEventLogRecords{&TINI::EVENTLOG_RECORD, "EVENTLOG_RECORD", 4};
inline constexpr TypedNumber kDataLogDays{&TINI::DATALOG_DAY, "DATALOG_DAY", 2};
inline constexpr TypedNumber kTypedNumbers[] = {kOverloadMinutes, kBackupMinutes, kEventLogRecords, kDataLogDays};
// The largest number a field of that many digits holds.
int LargestTyped(const TypedNumber& number);

// The spinners beside the two minute fields: their own range, not the field's.
struct SpinnerRange {
  int minimum;
  int maximum;
  int start;
};
inline constexpr SpinnerRange kOverloadSpinner{0, 10, 0};
inline constexpr SpinnerRange kBackupSpinner{1, 99, 5};

// A field chosen from a list: the stored values its rows stand for, in row
// order. A stored value without a row shows no row, and OK stores what an
// empty list gives back.
struct ListedValue {
  int32_t TINI::*field;
  const char* key;
  std::vector<int32_t> rows;
  enum class WhenNoRow { StoreZero, StoreMinusOne, Refuse } noRow;
};
const ListedValue& PortList();              // UPSPORT: "COM 1" to "COM 8"
const ListedValue& PowerFailTypeList();     // POWERFAIL_SHUTDOWN_TYPE
const ListedValue& ScheduleTypeList();      // SCHEDULE_SHUTDOWN_TYPE
const ListedValue& HourList();              // LAST_SCHEDULE_SETUP_HOUR: 1 to 23, then 0
const ListedValue& MinuteList();            // LAST_SCHEDULE_SETUP_MINUTE: 0 to 59
const ListedValue& DataLogIntervalList();   // DATALOG_INTERVAL: 15 to 180 seconds
const std::vector<const ListedValue*>& ListedValues();
// The row of a stored value; none when no row stands for it.
std::optional<int> RowOf(const ListedValue& list, int32_t value);

// The shutdown types, rows of both type lists.
enum ShutdownType : int32_t { kNormalShutdown = 0, kForceShutdown = 1, kHibernate = 2 };
// A type's Auto-Save box after the user chose the type: Force leaves no
// time to save (unticked, disabled); Hibernate starts unticked and warns.
struct AutoSaveAfterType {
  bool enabled;
  bool untick;
  bool warnHibernate;
};
AutoSaveAfterType AutoSaveAfter(int32_t type);

// The series of UPSTYPE: the rows of the series list and their codes.
struct SeriesRow {
  const char* caption;  // built-in text of the row
  int32_t code;         // its UPSTYPE code
};
std::span<const SeriesRow> SeriesRows();
// The row that stands for a code; none when no row does.
std::optional<int> SeriesRowOfCode(int32_t code);
std::vector<std::string> SeriesCaptions();

// What a series allows, and what choosing it sets. The generic series (a dry
// contact) and any unknown code can report power failure only.
struct SeriesRules {
  bool overload;        // the overload box and its minutes
  bool runtimeZero;     // "Recommended backup time = 0 minute"
  bool startupEvents;   // the lime start-up marker
  bool testEvents;      // the blue test marker
  bool dataLog;         // the data-log switch, from the stored DATALOG_STATUS
  bool cableChoice;     // the cable list
  bool shutdownUpsOff;  // both "Shutdown UPS" boxes unticked
  bool powerFailOn;     // "Power fail for " ticked
};
SeriesRules SeriesRulesOf(int32_t code);

// The cable a series without a cable choice shows: the adaptor when it is
// ticked, else the Tarvexi cable.
inline constexpr int32_t kTarvexiCable = 0;
inline constexpr int32_t kOmbrelAdaptor = 1;

// The cable OK stores from the cable list's ticks: the adaptor only when it is
// ticked alone; neither, or both, store the Tarvexi cable.
constexpr int32_t StoredCable(bool tarvexiCableTicked, bool adaptorTicked) {
  return adaptorTicked && !tarvexiCableTicked ? kOmbrelAdaptor : kTarvexiCable;
}

// The marker set of LAST_SCHEDULE_SETUP_BUTTON (1 red, 2 lime, 3 blue; 0 none).
inline constexpr int32_t kNoMarker = 0;
inline constexpr int32_t kShutdownMarker = 1;
inline constexpr int32_t kStartupMarker = 2;
inline constexpr int32_t kTestMarker = 3;
// The pressed marker after the series rules: one the series cannot run is released.
int32_t MarkerAfterSeries(int32_t button, const SeriesRules& rules);

// The pair "Power fail for " and "Recommended backup time = 0 minute": after
// any change exactly one is ticked when either was; the minutes are editable
// exactly when "Power fail for " is ticked.
struct PowerFailPair {
  bool forMinutes;  // POWERFAIL_SHUTDOWN_STATUS
  bool atZero;      // RUNTIME_ZERO_SHUTDOWN_STATUS
  friend bool operator==(const PowerFailPair&, const PowerFailPair&) = default;
};
// The pair as the page shows a stored one: both boxes start unticked and each
// tick runs its reaction, so a stored pair with both on shows "at zero".
PowerFailPair ShownPowerFail(PowerFailPair stored);

// What OK stores for a record the window showed and the user left alone: each
// value as its control gives it back, then the rules of the stored series.
// Throws AppError with OK's own message when OK would refuse the record (an
// interval that is not a row of its list).
void ApplyWindowRules(TINI& ini);

}  // namespace settings_rules
