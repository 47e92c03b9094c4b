// Loads arbitrary bytes as SCHEDULE.TXT, then sets, deletes and sorts, checking
// after each step against a plain text search over the store's lines. Half the
// inputs are raw bytes; the other half spell the file from schedule-like pieces,
// so that dates, kind words and keys inside odd lines come up often. The
// month's events and the removal of every line of a kind are checked against
// the same plain search. The deep harness: fuzz_schedule runs the same
// operations many times faster, with cheaper checks.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/support/Check.h"
#include "fuzz/support/MemoryFiles.h"
#include "fuzz/support/MonthDays.h"
#include "schedule/TSchedule.h"
#include "util/AppError.h"

namespace {

using Lines = std::vector<std::string>;

const char* const kKinds[] = {"SHUTDOWN", "STARTUP", "TESTUPS", "BOGUS"};
const char* const kDates[] = {"2024/05/17", "2024/05/18", "2023/12/31", "2024/05/1", "", "x"};
const char* const kTimes[] = {"08:30", "23:59", "8:30", "", "12:345", "\r\n"};
constexpr std::string_view kPieces[] = {
    "2024/05/17", "2024/05/18", "2023/12/31", ",",  "SHUTDOWN", "STARTUP", "TESTUPS", "08:30", "23:59",
    ",0",         ",1",         "\r\n",       "\r", "\n",       "x",       "/",       "7",     {"\0", 1}};

template <typename T, size_t N>
T Pick(const T (&choices)[N], uint8_t byte) {
  return choices[byte % N];
}

Lines LinesOf(const TSchedule& store) {
  Lines lines;
  for (size_t i = 0; i < store.Count(); ++i) lines.emplace_back(store.Line(i));
  return lines;
}

long PlainFind(const Lines& lines, const std::string& key) {
  if (key.empty() || key.find_first_of("\r\n") != std::string::npos) return -1;
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].find(key) != std::string::npos) return static_cast<long>(i);
  return -1;
}

std::optional<std::string> PlainEventTime(const Lines& lines, const std::string& key) {
  const long found = PlainFind(lines, key);
  if (found < 0) return std::nullopt;
  const std::string& line = lines[static_cast<size_t>(found)];
  const size_t at = line.find(key) + key.size() + 1;
  return at < line.size() ? line.substr(at, 5) : "";
}

// Starts with a date "dddd/dd/dd".
bool IsDated(const std::string& line) {
  if (line.size() < 10 || line[4] != '/' || line[7] != '/') return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (line[i] < '0' || line[i] > '9') return false;
  return true;
}

constexpr const char* kSchedulePath = "C:\\Ombrel\\SCHEDULE.TXT";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t fileEnd = 1 + (size - 1) / 2;
  std::string file;
  if (data[0] & 1) {
    file.assign(reinterpret_cast<const char*>(data) + 1, fileEnd - 1);
  } else {
    for (size_t i = 1; i < fileEnd; ++i) file += Pick(kPieces, data[i]);
  }
  TSchedule store;
  store.FilePath = kSchedulePath;
  memory_files::Put(store.FilePath, file);
  store.LoadSchedule();
  const Lines loaded = LinesOf(store);

  for (size_t at = fileEnd; at + 3 <= size; at += 3) {
    const uint8_t choice = data[at], a = data[at + 1], b = data[at + 2];
    const std::string kind = Pick(kKinds, choice);
    // A date from the list, or ten characters from anywhere in a loaded line.
    std::string date = Pick(kDates, a);
    if ((a & 0x80) && !loaded.empty()) {
      const std::string& line = loaded[b % loaded.size()];
      date = line.substr(line.empty() ? 0 : (a & 0x7F) % line.size(), 10);
    }
    const std::string key = choice & 0x40 ? date + "," + kind : date;
    const Lines before = LinesOf(store);

    switch ((choice >> 2) & 7) {
      case 0:
      case 1:
      case 2: {
        const std::string time = Pick(kTimes, b);
        store.Kind = kind;
        store.SetEvent(date, time, choice & 0x20);
        const bool ignored = (choice & 3) == 3 || (date + time).find_first_of("\r\n") != std::string::npos;
        const long found = PlainFind(before, date + "," + kind);
        const Lines after = LinesOf(store);
        if (ignored) {
          Check(after == before);
        } else if (found < 0) {
          Check(after.size() == before.size() + 1 &&
                after.back() == date + "," + kind + "," + time + ((choice & 0x20) ? ",1" : ",0"));
          Check(Lines(after.begin(), after.end() - 1) == before);
        } else {
          Check(after.size() == before.size());
          for (size_t i = 0; i < after.size(); ++i)
            if (static_cast<long>(i) != found) Check(after[i] == before[i]);
          // The line keeps everything up to the key and the character after it; time and flag follow.
          const std::string eventKey = date + "," + kind;
          const std::string& was = before[static_cast<size_t>(found)];
          const std::string& is = after[static_cast<size_t>(found)];
          const size_t keyEnd = was.find(eventKey) + eventKey.size();
          Check(is.compare(0, keyEnd, was, 0, keyEnd) == 0);
          Check(is.compare(keyEnd + 1, time.size() + 2, time + ((choice & 0x20) ? ",1" : ",0")) == 0);
        }
        break;
      }
      case 3:
      case 4: {
        const long found = PlainFind(before, key);
        Check(store.DeleteEvent(key) == (found >= 0));
        Lines expected = before;
        if (found >= 0) expected.erase(expected.begin() + found);
        Check(LinesOf(store) == expected);
        break;
      }
      case 5: {
        store.SortSchedule();
        Check(store.Count() == before.size());
        break;
      }
      case 6: {
        // The month of the date: each day and kind as a search of its key would find it.
        const std::string month = date.substr(0, 8);
        const std::set<std::string> named = DaysNamed(store, month);
        const TSchedule::MonthEvents held = store.EventsOfMonth(month);
        for (int day = 1; day <= 31; ++day) {
          const std::string dayDate = month + DayDigits(day);
          for (int k = 0; k < 3; ++k)
            Check(held[day - 1][k] == (named.contains(DayDigits(day)) &&
                                       PlainFind(before, dayDate + "," + TSchedule::kKindWords[k]) >= 0));
        }
        break;
      }
      default: {
        // Every line that starts with a date, a comma and the kind, on the dates that b picks.
        const auto picked = [b](std::string_view lineDate) {
          return (static_cast<uint8_t>(lineDate.back()) + b) % 2 == 0;
        };
        const std::vector<std::string> removed = store.DeleteEventsOfKind(kind, picked);
        Lines expected, expectedRemoved;
        for (const std::string& line : before) {
          const bool ofKind = !kind.empty() && IsDated(line) && line.size() > 10 && line[10] == ',' &&
                              line.compare(11, kind.size(), kind) == 0;
          if (ofKind && picked(std::string_view(line).substr(0, 10)))
            expectedRemoved.push_back(line.substr(0, 10));
          else
            expected.push_back(line);
        }
        Check(removed == expectedRemoved);
        Check(LinesOf(store) == expected);
        break;
      }
    }
    const Lines now = LinesOf(store);
    for (const std::string& line : now) Check(line.find_first_of("\r\n") == std::string::npos);
    Check(store.Holds(key) == (PlainFind(now, key) >= 0));
    Check(store.EventTime(date, kind) == PlainEventTime(now, date + "," + kind));
  }

  // The store text read back gives the same lines, and so does the saved file.
  memory_files::Put(store.FilePath, store.StoreText());
  TSchedule again;
  again.FilePath = store.FilePath;
  again.LoadSchedule();
  Check(LinesOf(again) == LinesOf(store));
  try {
    store.SaveSchedule();
  } catch (const AppError&) {
    std::abort();
  }
  again.LoadSchedule();
  Check(LinesOf(again) == LinesOf(store));
  return 0;
}
