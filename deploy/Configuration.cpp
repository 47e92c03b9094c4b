#include "deploy/Configuration.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <set>
#include <type_traits>
#include <variant>

#include "i18n/LanguageFileText.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"
#include "schedule/ScheduleOrder.h"
#include "settings/SettingsRules.h"
#include "util/AppError.h"
#include "util/CivilDate.h"
#include "util/Unicode.h"

namespace deploy {

namespace {

namespace rules = settings_rules;

// How a key's value is checked: each kind is the limit of the control that
// shows the key in the window.
enum class Check {
  kFlag,      // a tick: 0 or 1
  kTyped,     // a typed number: digits, as many as its field takes
  kListed,    // a value of a list: one of its rows
  kSeries,    // a UPS series code of the series list
  kCable,     // 0 the Tarvexi cable, 1 the Ombrel adaptor
  kMarker,    // the pressed marker: 0 none to 3 blue
  kDays,      // a weekday mask: seven characters 0 or 1, Sunday first
  kHour,      // a weekly rule's hour, as the hour list offers it
  kMinute,    // a weekly rule's minute, as the minute list offers it
  kText,      // a path: one line of text
  kLanguage,  // a language folder of this PC
};

using Field = std::variant<int32_t TINI::*, bool TINI::*, std::string TINI::*>;

struct Key {
  std::string_view section;
  std::string_view name;
  Field field;
  Check check;
  const rules::TypedNumber* typed = nullptr;
  const rules::ListedValue* (*listed)() = nullptr;
};

template <const rules::ListedValue& (*List)()>
const rules::ListedValue* ListOf() {
  return &List();
}

constexpr Key Flag(std::string_view section, std::string_view name, bool TINI::*field) {
  return {section, name, field, Check::kFlag};
}
constexpr Key Typed(std::string_view section, const rules::TypedNumber& number) {
  return {section, number.key, number.field, Check::kTyped, &number};
}
constexpr Key Listed(std::string_view section, std::string_view name, int32_t TINI::*field,
                     const rules::ListedValue* (*list)()) {
  return {section, name, field, Check::kListed, nullptr, list};
}
constexpr Key Number(std::string_view section, std::string_view name, int32_t TINI::*field, Check check) {
  return {section, name, field, check};
}
constexpr Key Text(std::string_view section, std::string_view name, std::string TINI::*field, Check check) {
  return {section, name, field, check};
}

// The keys the window edits, in the order omb.ini is saved in. Neither
// SHUTDOWN_POWEROFF (no control shows it) nor the DEBUG section, which is
// edited by hand on one PC, travels.
const std::array kKeys = {
    Listed("PAGE1", "UPSPORT", &TINI::UPSPORT, ListOf<rules::PortList>),
    Flag("PAGE1", "RUN_STARTUP_STATUS", &TINI::RUN_STARTUP_STATUS),
    Number("PAGE1", "UPSTYPE", &TINI::UPSTYPE, Check::kSeries),
    Number("PAGE1", "UPSCABLE", &TINI::UPSCABLE, Check::kCable),
    Flag("PAGE1", "OVERLOAD_SHUTDOWN_STATUS", &TINI::OVERLOAD_SHUTDOWN_STATUS),
    Typed("PAGE1", rules::kOverloadMinutes),
    Flag("PAGE1", "POWERFAIL_SHUTDOWN_STATUS", &TINI::POWERFAIL_SHUTDOWN_STATUS),
    Typed("PAGE1", rules::kBackupMinutes),
    Flag("PAGE1", "POWERFAIL_AUTO_SAVE", &TINI::POWERFAIL_AUTO_SAVE),
    Listed("PAGE1", "POWERFAIL_SHUTDOWN_TYPE", &TINI::POWERFAIL_SHUTDOWN_TYPE, ListOf<rules::PowerFailTypeList>),
    Flag("PAGE1", "POWERFAIL_SHUTDOWN_UPS", &TINI::POWERFAIL_SHUTDOWN_UPS),
    Flag("PAGE1", "RUNTIME_ZERO_SHUTDOWN_STATUS", &TINI::RUNTIME_ZERO_SHUTDOWN_STATUS),

    Listed("PAGE2", "LAST_SCHEDULE_SETUP_HOUR", &TINI::LAST_SCHEDULE_SETUP_HOUR, ListOf<rules::HourList>),
    Listed("PAGE2", "LAST_SCHEDULE_SETUP_MINUTE", &TINI::LAST_SCHEDULE_SETUP_MINUTE, ListOf<rules::MinuteList>),
    Flag("PAGE2", "LAST_SCHEDULE_WARNING", &TINI::LAST_SCHEDULE_WARNING),
    Flag("PAGE2", "LAST_SCHEDULE_CURRENT_DAY_SCHEDULE", &TINI::LAST_SCHEDULE_CURRENT_DAY_SCHEDULE),
    Flag("PAGE2", "LAST_SCHEDULE_SUNDAY", &TINI::LAST_SCHEDULE_SUNDAY),
    Flag("PAGE2", "LAST_SCHEDULE_MONDAY", &TINI::LAST_SCHEDULE_MONDAY),
    Flag("PAGE2", "LAST_SCHEDULE_TUESDAY", &TINI::LAST_SCHEDULE_TUESDAY),
    Flag("PAGE2", "LAST_SCHEDULE_WEDNESDAY", &TINI::LAST_SCHEDULE_WEDNESDAY),
    Flag("PAGE2", "LAST_SCHEDULE_THURSDAY", &TINI::LAST_SCHEDULE_THURSDAY),
    Flag("PAGE2", "LAST_SCHEDULE_FRIDAY", &TINI::LAST_SCHEDULE_FRIDAY),
    Flag("PAGE2", "LAST_SCHEDULE_SATURDAY", &TINI::LAST_SCHEDULE_SATURDAY),
    Number("PAGE2", "LAST_SCHEDULE_SETUP_BUTTON", &TINI::LAST_SCHEDULE_SETUP_BUTTON, Check::kMarker),
    Text("PAGE2", "WEEKLY_SCHEDULE_SHUTDOWN_DAY", &TINI::WEEKLY_SCHEDULE_SHUTDOWN_DAY, Check::kDays),
    Number("PAGE2", "WEEKLY_SCHEDULE_SHUTDOWN_HOUR", &TINI::WEEKLY_SCHEDULE_SHUTDOWN_HOUR, Check::kHour),
    Number("PAGE2", "WEEKLY_SCHEDULE_SHUTDOWN_MINUTE", &TINI::WEEKLY_SCHEDULE_SHUTDOWN_MINUTE, Check::kMinute),
    Flag("PAGE2", "WEEKLY_SCHEDULE_SHUTDOWN_WARNING", &TINI::WEEKLY_SCHEDULE_SHUTDOWN_WARNING),
    Text("PAGE2", "WEEKLY_SCHEDULE_STARTUP_DAY", &TINI::WEEKLY_SCHEDULE_STARTUP_DAY, Check::kDays),
    Number("PAGE2", "WEEKLY_SCHEDULE_STARTUP_HOUR", &TINI::WEEKLY_SCHEDULE_STARTUP_HOUR, Check::kHour),
    Number("PAGE2", "WEEKLY_SCHEDULE_STARTUP_MINUTE", &TINI::WEEKLY_SCHEDULE_STARTUP_MINUTE, Check::kMinute),
    Flag("PAGE2", "WEEKLY_SCHEDULE_STARTUP_WARNING", &TINI::WEEKLY_SCHEDULE_STARTUP_WARNING),
    Text("PAGE2", "WEEKLY_SCHEDULE_TESTUPS_DAY", &TINI::WEEKLY_SCHEDULE_TESTUPS_DAY, Check::kDays),
    Number("PAGE2", "WEEKLY_SCHEDULE_TESTUPS_HOUR", &TINI::WEEKLY_SCHEDULE_TESTUPS_HOUR, Check::kHour),
    Number("PAGE2", "WEEKLY_SCHEDULE_TESTUPS_MINUTE", &TINI::WEEKLY_SCHEDULE_TESTUPS_MINUTE, Check::kMinute),
    Flag("PAGE2", "WEEKLY_SCHEDULE_TESTUPS_WARNING", &TINI::WEEKLY_SCHEDULE_TESTUPS_WARNING),
    Flag("PAGE2", "SCHEDULE_AUTO_SAVE", &TINI::SCHEDULE_AUTO_SAVE),
    Listed("PAGE2", "SCHEDULE_SHUTDOWN_TYPE", &TINI::SCHEDULE_SHUTDOWN_TYPE, ListOf<rules::ScheduleTypeList>),
    Flag("PAGE2", "SCHEDULE_SHUTDOWN_UPS", &TINI::SCHEDULE_SHUTDOWN_UPS),

    Typed("PAGE3", rules::kEventLogRecords),
    Text("PAGE3", "EVENTLOG_LOCATION", &TINI::EVENTLOG_LOCATION, Check::kText),
    Flag("PAGE3", "DATALOG_STATUS", &TINI::DATALOG_STATUS),
    Typed("PAGE3", rules::kDataLogDays),
    Listed("PAGE3", "DATALOG_INTERVAL", &TINI::DATALOG_INTERVAL, ListOf<rules::DataLogIntervalList>),
    Text("PAGE3", "DATALOG_LOCATION", &TINI::DATALOG_LOCATION, Check::kText),
    Text("PAGE3", "LANGUAGE", &TINI::LANGUAGE, Check::kLanguage),
};

constexpr std::string_view kScheduleSection = "SCHEDULE";
constexpr std::array<std::string_view, 4> kSections = {"PAGE1", "PAGE2", "PAGE3", kScheduleSection};
constexpr std::string_view kLineEnd = "\r\n";
// The years the schedule page offers.
constexpr int kFirstYear = 2000;
constexpr int kLastYear = 2200;
// The longest text a reader of omb.ini takes.
constexpr size_t kLongestText = 2047;

std::string FormatLine() {
  return std::string(kFormatName) + " " + std::to_string(kFormatVersion);
}

std::string ValueText(const TINI& ini, const Key& key) {
  return std::visit(
      [&](auto member) -> std::string {
        using Value = std::remove_cvref_t<decltype(ini.*member)>;
        if constexpr (std::is_same_v<Value, bool>)
          return ini.*member ? "1" : "0";
        else if constexpr (std::is_same_v<Value, int32_t>)
          return std::to_string(ini.*member);
        else
          return Utf8FromSystemCodePage(ini.*member);
      },
      key.field);
}

// An event line in SCHEDULE.TXT's form, with a date the calendar has.
std::optional<std::string> EventProblem(std::string_view line) {
  auto digits = [&](size_t at, size_t count) {
    return line.size() >= at + count &&
           std::all_of(line.begin() + at, line.begin() + at + count, [](char c) { return c >= '0' && c <= '9'; });
  };
  auto number = [&](size_t at, size_t count) {
    int value = 0;
    std::from_chars(line.data() + at, line.data() + at + count, value);
    return value;
  };
  const std::string form = "an event is yyyy/mm/dd,KIND,HH:MM,W (KIND SHUTDOWN, STARTUP or TESTUPS; W 1 or 0)";
  if (!digits(0, 4) || line.size() < 11 || line[4] != '/' || !digits(5, 2) || line[7] != '/' || !digits(8, 2) ||
      line[10] != ',')
    return form;
  const size_t kindEnd = line.find(',', 11);
  if (kindEnd == std::string_view::npos) return form;
  const std::string_view kind = line.substr(11, kindEnd - 11);
  if (!KindOfWord(kind))
    return "the kind '" + std::string(kind) + "' is none of SHUTDOWN, STARTUP and TESTUPS";
  const size_t time = kindEnd + 1;
  if (line.size() != time + 7 || !digits(time, 2) || line[time + 2] != ':' || !digits(time + 3, 2) ||
      line[time + 5] != ',' || (line[time + 6] != '0' && line[time + 6] != '1'))
    return form;
  const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
  if (year < kFirstYear || year > kLastYear)
    return "the year " + std::to_string(year) + " is outside " + std::to_string(kFirstYear) + " to " +
           std::to_string(kLastYear);
  if (day < 1 || day > DaysInMonth(static_cast<unsigned>(month), year))
    return "the date " + std::string(line.substr(0, 10)) + " does not exist";
  if (number(time, 2) > 23 || number(time + 3, 2) > 59)
    return "the time " + std::string(line.substr(time, 5)) + " does not exist";
  return std::nullopt;
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// The whole number a value spells in decimal digits, without sign or blank.
std::optional<int32_t> Digits(std::string_view value, size_t most) {
  if (value.empty() || value.size() > most) return std::nullopt;
  int32_t number = 0;
  auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (error != std::errc() || end != value.data() + value.size() || value.front() == '-') return std::nullopt;
  return number;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

std::string RowsText(const std::vector<int32_t>& rows) {
  std::vector<int32_t> sorted = rows;
  std::sort(sorted.begin(), sorted.end());
  const bool steady = sorted.size() > 2 && sorted[1] - sorted[0] == sorted.back() - sorted[sorted.size() - 2];
  if (steady && sorted[1] - sorted[0] == 1)
    return std::to_string(sorted.front()) + " to " + std::to_string(sorted.back());
  std::vector<std::string> names;
  for (int32_t row : sorted) names.push_back(std::to_string(row));
  return Joined(names);
}

// Sets the key's field from the value's text, or says what is wrong with it.
std::optional<std::string> SetValue(TINI& ini, const Key& key, std::string_view value,
                                    const std::vector<std::string>& languages) {
  const std::string quoted = "'" + std::string(value) + "'";
  auto number = [&](int32_t TINI::*field, std::optional<int32_t> parsed, bool allowed,
                    const std::string& limits) -> std::optional<std::string> {
    if (!parsed || !allowed) return quoted + " is not " + limits;
    ini.*field = *parsed;
    return std::nullopt;
  };
  auto listedNumber = [&](int32_t TINI::*field, const rules::ListedValue& list) {
    const std::optional<int32_t> parsed = Digits(value, 4);
    return number(field, parsed, parsed && rules::RowOf(list, *parsed), "one of " + RowsText(list.rows));
  };
  switch (key.check) {
    case Check::kFlag: {
      if (value != "0" && value != "1") return quoted + " is not 0 or 1";
      ini.*std::get<bool TINI::*>(key.field) = value == "1";
      return std::nullopt;
    }
    case Check::kTyped: {
      const std::optional<int32_t> parsed = Digits(value, static_cast<size_t>(key.typed->maxDigits));
      return number(key.typed->field, parsed, true,
                    "a whole number from 0 to " + std::to_string(rules::LargestTyped(*key.typed)));
    }
    case Check::kListed:
      return listedNumber(std::get<int32_t TINI::*>(key.field), *key.listed());
    case Check::kHour:
      return listedNumber(std::get<int32_t TINI::*>(key.field), rules::HourList());
    case Check::kMinute:
      return listedNumber(std::get<int32_t TINI::*>(key.field), rules::MinuteList());
    case Check::kSeries: {
      const std::optional<int32_t> parsed = Digits(value, 1);
      std::vector<int32_t> codes;
      for (const rules::SeriesRow& row : rules::SeriesRows()) codes.push_back(row.code);
      return number(&TINI::UPSTYPE, parsed, parsed && rules::SeriesRowOfCode(*parsed),
                    "a series code, one of " + RowsText(codes));
    }
    case Check::kCable: {
      const std::optional<int32_t> parsed = Digits(value, 1);
      return number(&TINI::UPSCABLE, parsed,
                    parsed && (*parsed == rules::kTarvexiCable || *parsed == rules::kOmbrelAdaptor),
                    "0 (Tarvexi cable) or 1 (Ombrel adaptor)");
    }
    case Check::kMarker: {
      const std::optional<int32_t> parsed = Digits(value, 1);
      return number(&TINI::LAST_SCHEDULE_SETUP_BUTTON, parsed, parsed && *parsed <= rules::kTestMarker,
                    "0 to 3 (none, shutdown, start-up, test)");
    }
    case Check::kDays: {
      if (value.size() != 7 || value.find_first_not_of("01") != std::string_view::npos)
        return quoted + " is not seven days of 0 or 1, Sunday first";
      ini.*std::get<std::string TINI::*>(key.field) = std::string(value);
      return std::nullopt;
    }
    case Check::kText:
    case Check::kLanguage: {
      // A path quoted as in an ini file: omb.ini adds its own quotes, and a
      // Windows path never holds one.
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
      if (value.find('"') != std::string_view::npos) return quoted + " holds a '\"', which no path holds";
      if (std::any_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        return "the value holds a control character";
      std::string text = SystemCodePageFromUtf8(value);
      if (Utf8FromSystemCodePage(text) != value) return quoted + " holds a character this PC's code page lacks";
      if (text.size() > kLongestText) return "the value is longer than " + std::to_string(kLongestText) + " bytes";
      if (key.check == Check::kLanguage && std::find(languages.begin(), languages.end(), text) == languages.end())
        return quoted + " is not a language of this PC (" + Joined(languages) + ")";
      ini.*std::get<std::string TINI::*>(key.field) = std::move(text);
      return std::nullopt;
    }
  }
  return "unknown check";
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return lines;
}

// The file's text as UTF-8 without a byte-order mark.
std::string DecodedText(std::string_view bytes) {
  if (bytes.empty()) throw ConfigurationError(1, "the file is empty");
  const LanguageFileText decoded = DecodeLanguageFile(bytes);
  std::string text = decoded.Text;
  const bool hasNul = text.find('\0') != std::string::npos;
  if (hasNul || !IsValidUtf8(text)) {
    // The first faulty line, numbered as the keys' faults are.
    const std::vector<std::string_view> lines = Lines(text);
    size_t line = 0;
    while (line < lines.size() &&
           (hasNul ? lines[line].find('\0') == std::string_view::npos : IsValidUtf8(lines[line])))
      ++line;
    const int number = line < lines.size() ? static_cast<int>(line) + 1 : 0;
    if (hasNul)
      throw ConfigurationError(number,
                               "the file holds NUL bytes: save it as UTF-8 or as UTF-16 with a byte-order mark");
    throw ConfigurationError(number, "the text is not UTF-8: save the file as UTF-8");
  }
  return text;
}

}  // namespace

std::string ConfigurationError::Text() const {
  return line_ > 0 ? "line " + std::to_string(line_) + ": " + what() : what();
}

std::string Export(const TINI& settings, const TSchedule& schedule, std::vector<std::string>* skipped) {
  std::string out = FormatLine() + std::string(kLineEnd);
  std::string_view section;
  for (const Key& key : kKeys) {
    if (key.section != section) {
      section = key.section;
      out += "[" + std::string(section) + "]" + std::string(kLineEnd);
    }
    out += std::string(key.name) + "=" + ValueText(settings, key) + std::string(kLineEnd);
  }
  out += "[" + std::string(kScheduleSection) + "]" + std::string(kLineEnd);
  // The store's own order once sorted: a copy, so that the PC's store stays.
  TSchedule sorted = schedule;
  sorted.SortSchedule();
  for (size_t i = 0; i < sorted.Count(); ++i) {
    const std::string_view line = sorted.Line(i);
    if (EventProblem(line)) {
      if (skipped && !line.empty()) skipped->emplace_back(line);
      continue;
    }
    out += std::string(line) + std::string(kLineEnd);
  }
  return out;
}

Imported Import(std::string_view bytes, const TINI& present, const std::vector<std::string>& languages,
                std::optional<Detected> detected) {
  const std::string text = DecodedText(bytes);
  const std::vector<std::string_view> lines = Lines(text);
  if (lines.empty() || Trimmed(lines.front()).empty()) throw ConfigurationError(1, "the first line is empty");
  const std::string_view first = Trimmed(lines.front());
  if (first != FormatLine()) {
    if (first.starts_with(kFormatName))
      throw ConfigurationError(1, "the format version '" + std::string(Trimmed(first.substr(kFormatName.size()))) +
                                      "' is not known: this program reads version " +
                                      std::to_string(kFormatVersion));
    throw ConfigurationError(1, "not a configuration file: the first line must be '" + FormatLine() + "'");
  }

  TINI read = present;
  std::optional<std::vector<std::string>> events;
  std::set<std::string> eventKeys;
  std::set<std::string> sectionsSeen;
  std::map<std::string, int> keysSeen;  // key name, its line
  std::string section;
  for (size_t index = 1; index < lines.size(); ++index) {
    const int number = static_cast<int>(index) + 1;
    const std::string_view line = Trimmed(lines[index]);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      if (line.back() != ']') throw ConfigurationError(number, "a section line ends with ']'");
      section = Upper(Trimmed(line.substr(1, line.size() - 2)));
      if (std::find(kSections.begin(), kSections.end(), section) == kSections.end())
        throw ConfigurationError(number, "unknown section [" + std::string(line.substr(1, line.size() - 2)) +
                                             "]: the sections are [PAGE1], [PAGE2], [PAGE3] and [SCHEDULE]");
      if (!sectionsSeen.insert(section).second)
        throw ConfigurationError(number, "the section [" + section + "] comes twice");
      if (section == kScheduleSection) events.emplace();
      continue;
    }
    if (section.empty()) throw ConfigurationError(number, "a line before the first section");
    if (section == kScheduleSection) {
      if (auto problem = EventProblem(line)) throw ConfigurationError(number, *problem);
      const std::string key(line.substr(0, line.find(',', 11)));
      if (!eventKeys.insert(key).second)
        throw ConfigurationError(number, "a second event " + key + ": one event of a kind a day");
      events->emplace_back(line);
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) throw ConfigurationError(number, "a line of KEY=value is expected");
    const std::string name = Upper(Trimmed(line.substr(0, equals)));
    const std::string_view value = Trimmed(line.substr(equals + 1));
    const auto key = std::find_if(kKeys.begin(), kKeys.end(), [&](const Key& k) { return k.name == name; });
    if (key == kKeys.end())
      throw ConfigurationError(number, "unknown key '" + std::string(Trimmed(line.substr(0, equals))) + "'");
    if (key->section != section)
      throw ConfigurationError(number, name + " belongs in [" + std::string(key->section) + "]");
    if (auto [seen, added] = keysSeen.emplace(name, number); !added)
      throw ConfigurationError(number, name + " is given twice (first on line " + std::to_string(seen->second) + ")");
    if (auto problem = SetValue(read, *key, value, languages)) throw ConfigurationError(number, name + ": " + *problem);
  }

  if (detected) {
    read.UPSPORT = detected->port;
    read.UPSTYPE = detected->series;
  }
  Imported imported{read, std::move(events), {}};
  // The window's rules, as OK stores the record; a value they change is said.
  try {
    rules::ApplyWindowRules(imported.settings);
  } catch (const std::exception&) {
    // Only a value the file did not name can be off its list: the PC's own.
    throw ConfigurationError(0, "this PC's DATALOG_INTERVAL (" + std::to_string(read.DATALOG_INTERVAL) +
                                    ") is not one of " + RowsText(rules::DataLogIntervalList().rows) +
                                    ": name DATALOG_INTERVAL in the file");
  }
  for (const Key& key : kKeys) {
    const std::string before = ValueText(present, key), given = ValueText(read, key),
                      stored = ValueText(imported.settings, key);
    if (given != stored)
      imported.changes.push_back(std::string(key.name) + "=" + stored +
                                 (keysSeen.contains(std::string(key.name)) ? " (the file says " : " (was ") + given +
                                 "; changed by the window's rules)");
    else if (before != stored)
      imported.changes.push_back(std::string(key.name) + "=" + stored + " (was " + before + ")" +
                                 (detected && (key.name == "UPSPORT" || key.name == "UPSTYPE") ? ", detected" : ""));
  }
  if (imported.events) imported.changes.push_back("SCHEDULE.TXT: " + std::to_string(imported.events->size()) + " events");
  return imported;
}

std::vector<std::string> Differences(const TINI& present, const TSchedule& schedule, const Imported& imported) {
  std::vector<std::string> differences;
  for (const Key& key : kKeys) {
    const std::string here = ValueText(present, key), there = ValueText(imported.settings, key);
    if (here != there) differences.push_back(std::string(key.name) + ": this PC " + here + ", the file " + there);
  }
  if (!imported.events) return differences;
  // The lines of SCHEDULE.TXT that are not events an import drops unsaid, as
  // an export leaves them out.
  std::set<std::string> onThisPc, inTheFile(imported.events->begin(), imported.events->end());
  for (size_t i = 0; i < schedule.Count(); ++i)
    if (!EventProblem(schedule.Line(i))) onThisPc.emplace(schedule.Line(i));
  for (const std::string& event : inTheFile)
    if (!onThisPc.contains(event)) differences.push_back("SCHEDULE: " + event + ": in the file, not on this PC");
  for (const std::string& event : onThisPc)
    if (!inTheFile.contains(event)) differences.push_back("SCHEDULE: " + event + ": on this PC, not in the file");
  return differences;
}

std::vector<std::string> Changes(const TINI& before, const TINI& after) {
  std::vector<std::string> changes;
  for (const Key& key : kKeys) {
    const std::string was = ValueText(before, key), now = ValueText(after, key);
    if (was != now) changes.push_back(std::string(key.name) + "=" + now + " (was " + was + ")");
  }
  return changes;
}

std::string ReadConfigurationFile(const std::string& path) {
  if (fs_seam::DirectoryExists(path)) throw ConfigurationError(0, "a folder, not a file");
  try {
    const std::optional<uint64_t> size = fs_seam::FileSize(path);
    if (!size) throw ConfigurationError(0, "the file does not exist");
    if (*size > kLargestFile)
      throw ConfigurationError(0, "the file is larger than any configuration (" + std::to_string(*size) +
                                      " bytes; at most " + std::to_string(kLargestFile) + ")");
    return fs_seam::ReadWholeFile(path);
  } catch (const fs_seam::FileError& error) {
    throw ConfigurationError(0, std::string("the file cannot be read: ") + error.what());
  }
}

}  // namespace deploy
