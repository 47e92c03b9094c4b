#include "settings/SettingsRules.h"

#include <algorithm>
#include <array>

#include "util/AppError.h"

namespace settings_rules {

namespace {

using Rows = std::vector<int32_t>;

Rows Range(int32_t first, int32_t last, int32_t step = 1) {
  Rows rows;
  for (int32_t value = first; value <= last; value += step) rows.push_back(value);
  return rows;
}

Rows HourRows() {
  Rows rows = Range(1, 23);
  rows.push_back(0);
  return rows;
}

constexpr std::array<SeriesRow, 4> kSeriesRows = {{
    {"QZ series", 3},
    {"Velto series", 0},
    {"Soranthe series", 1},
    {"Generic Series [ Dry contact ]", 2},
}};

// The series that report more than a power failure: Velto, Soranthe, QZ.
bool SpeaksToTheUps(int32_t code) {
  return code == 0 || code == 1 || code == 3;
}

// The series whose UPS runs a test on command: Velto.
bool RunsTests(int32_t code) {
  return code == 0;
}

}  // namespace

int LargestTyped(const TypedNumber& number) {
  int largest = 0;
  for (int digit = 0; digit < number.maxDigits; ++digit) largest = largest * 10 + 9;
  return largest;
}

const ListedValue& PortList() {
  static const ListedValue list{&TINI::UPSPORT, "UPSPORT", Range(1, 8), ListedValue::WhenNoRow::StoreZero};
  return list;
}
const ListedValue& PowerFailTypeList() {
  static const ListedValue list{&TINI::POWERFAIL_SHUTDOWN_TYPE, "POWERFAIL_SHUTDOWN_TYPE", Range(0, 2),
                                ListedValue::WhenNoRow::StoreMinusOne};
  return list;
}
const ListedValue& ScheduleTypeList() {
  static const ListedValue list{&TINI::SCHEDULE_SHUTDOWN_TYPE, "SCHEDULE_SHUTDOWN_TYPE", Range(0, 2),
                                ListedValue::WhenNoRow::StoreMinusOne};
  return list;
}
const ListedValue& HourList() {
  static const ListedValue list{&TINI::LAST_SCHEDULE_SETUP_HOUR, "LAST_SCHEDULE_SETUP_HOUR", HourRows(),
                                ListedValue::WhenNoRow::StoreZero};
  return list;
}
const ListedValue& MinuteList() {
  static const ListedValue list{&TINI::LAST_SCHEDULE_SETUP_MINUTE, "LAST_SCHEDULE_SETUP_MINUTE", Range(0, 59),
                                ListedValue::WhenNoRow::StoreZero};
  return list;
}
const ListedValue& DataLogIntervalList() {
  static const ListedValue list{&TINI::DATALOG_INTERVAL, "DATALOG_INTERVAL", Range(15, 180, 15),
                                ListedValue::WhenNoRow::Refuse};
  return list;
}
const std::vector<const ListedValue*>& ListedValues() {
  static const std::vector<const ListedValue*> lists = {&PortList(),  &PowerFailTypeList(), &ScheduleTypeList(),
                                                        &HourList(),  &MinuteList(),        &DataLogIntervalList()};
  return lists;
}

std::optional<int> RowOf(const ListedValue& list, int32_t value) {
  auto row = std::find(list.rows.begin(), list.rows.end(), value);
  if (row == list.rows.end()) return std::nullopt;
  return static_cast<int>(row - list.rows.begin());
}

AutoSaveAfterType AutoSaveAfter(int32_t type) {
  if (type == kForceShutdown) return {.enabled = false, .untick = true, .warnHibernate = false};
  const bool hibernate = type == kHibernate;
  return {.enabled = true, .untick = hibernate, .warnHibernate = hibernate};
}

std::span<const SeriesRow> SeriesRows() {
  return kSeriesRows;
}

std::optional<int> SeriesRowOfCode(int32_t code) {
  for (int row = 0; row < static_cast<int>(kSeriesRows.size()); ++row)
    if (kSeriesRows[row].code == code) return row;
  return std::nullopt;
}

std::vector<std::string> SeriesCaptions() {
  std::vector<std::string> captions;
  for (const SeriesRow& row : kSeriesRows) captions.emplace_back(row.caption);
  return captions;
}

SeriesRules SeriesRulesOf(int32_t code) {
  const bool speaks = SpeaksToTheUps(code);
  return {.overload = speaks,
          .runtimeZero = speaks,
          .startupEvents = speaks,
          .testEvents = RunsTests(code),
          .dataLog = speaks,
          .cableChoice = !speaks,
          .shutdownUpsOff = !speaks,
          .powerFailOn = !speaks};
}

int32_t MarkerAfterSeries(int32_t button, const SeriesRules& rules) {
  if (button == kStartupMarker && !rules.startupEvents) return kNoMarker;
  if (button == kTestMarker && !rules.testEvents) return kNoMarker;
  return button;
}

PowerFailPair ShownPowerFail(PowerFailPair stored) {
  if (stored.atZero) return {.forMinutes = false, .atZero = true};
  return stored;
}

void ApplyWindowRules(TINI& ini) {
  // The lists give back their row's value, or what an empty list gives.
  for (const ListedValue* list : ListedValues()) {
    int32_t& value = ini.*list->field;
    if (RowOf(*list, value)) continue;
    switch (list->noRow) {
      case ListedValue::WhenNoRow::StoreZero:
        value = 0;
        break;
      case ListedValue::WhenNoRow::StoreMinusOne:
        value = -1;
        break;
      case ListedValue::WhenNoRow::Refuse:
        throw AppError(FormatMessageText("'%s' is not a valid integer value", ""));
    }
  }
  // The cable list shows the stored row, if any; OK stores the adaptor only
  // when it alone is ticked.
  ini.UPSCABLE = ini.UPSCABLE == kOmbrelAdaptor ? kOmbrelAdaptor : kTarvexiCable;
  if (ini.LAST_SCHEDULE_SETUP_BUTTON < kNoMarker || ini.LAST_SCHEDULE_SETUP_BUTTON > kTestMarker)
    ini.LAST_SCHEDULE_SETUP_BUTTON = kNoMarker;
  const PowerFailPair shown = ShownPowerFail({ini.POWERFAIL_SHUTDOWN_STATUS, ini.RUNTIME_ZERO_SHUTDOWN_STATUS});
  ini.POWERFAIL_SHUTDOWN_STATUS = shown.forMinutes;
  ini.RUNTIME_ZERO_SHUTDOWN_STATUS = shown.atZero;

  const SeriesRules rules = SeriesRulesOf(ini.UPSTYPE);
  ini.LAST_SCHEDULE_SETUP_BUTTON = MarkerAfterSeries(ini.LAST_SCHEDULE_SETUP_BUTTON, rules);
  ini.DATALOG_STATUS = rules.dataLog && ini.DATALOG_STATUS;
  if (rules.shutdownUpsOff) {
    ini.POWERFAIL_SHUTDOWN_UPS = false;
    ini.SCHEDULE_SHUTDOWN_UPS = false;
  }
  if (rules.powerFailOn) {
    ini.POWERFAIL_SHUTDOWN_STATUS = true;
    ini.RUNTIME_ZERO_SHUTDOWN_STATUS = false;
  }
}

}  // namespace settings_rules
