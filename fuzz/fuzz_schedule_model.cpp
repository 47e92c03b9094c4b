// Loads arbitrary bytes as SCHEDULE.TXT, then sets, deletes, sorts, asks for a
// month's events and removes every line of a kind, checking after each step
// against the plain store the model test uses, which searches its lines one
// by one, as text. Half the inputs are raw bytes; the other half spell the
// file from schedule-like pieces, so that dates, kind words and keys inside
// odd lines come up often. The deep harness: fuzz_schedule runs the same
// operations many times faster, with cheaper checks.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/support/Check.h"
#include "fuzz/support/MemoryFiles.h"
#include "schedule/TSchedule.h"
#include "tests/schedule/PlainSchedule.h"
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
  PlainSchedule model{loaded};

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

    switch ((choice >> 2) & 7) {
      case 0:
      case 1:
      case 2: {
        const std::string time = Pick(kTimes, b);
        store.Kind = kind;
        store.SetEvent(date, time, choice & 0x20);
        model.Set(kind, date, time, choice & 0x20);
        break;
      }
      case 3:
      case 4:
        Check(store.DeleteEvent(key) == model.Delete(key));
        break;
      case 5:
        store.SortSchedule();
        model.Sort();
        break;
      case 6: {
        const std::string month = date.substr(0, 8);
        Check(store.EventsOfMonth(month) == model.EventsOfMonth(month));
        break;
      }
      default: {
        // The dates that b picks.
        const auto picked = [b](std::string_view lineDate) {
          return (static_cast<uint8_t>(lineDate.back()) + b) % 2 == 0;
        };
        Check(store.DeleteEventsOfKind(kind, picked) == model.DeleteEventsOfKind(kind, picked));
        break;
      }
    }
    Check(LinesOf(store) == model.lines);
    Check(store.IndexIsSound());
    for (const std::string& line : model.lines) Check(line.find_first_of("\r\n") == std::string::npos);
    Check(store.Holds(key) == (model.Find(key) >= 0));
    Check(store.EventTime(date, kind) == model.EventTime(date, kind));
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
