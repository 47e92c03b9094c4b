// Loads arbitrary bytes as SCHEDULE.TXT, then sets, deletes, sorts and saves
// with texts taken from the input, checking what holds for any file: a saved
// line ends in CR LF, saving and loading again gives the same lines, a set
// event can be found with its time, a delete removes exactly one line, the
// events of a month are those a search finds day by day, a removal of a kind
// leaves no such line on the dates it took; and every saved line splits into
// the overview's columns, its date column being the line up to its first
// comma. Cheap enough for millions of inputs; fuzz_schedule_model checks each
// step deeper.
//
// Input: byte 0 gives the number of operations n (0 to 15); the last 4n bytes
// are the operations, 4 bytes each; the bytes between are the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/support/Check.h"
#include "fuzz/support/MemoryFiles.h"
#include "fuzz/support/MonthDays.h"
#include "i18n/TINI_LANGUAGE.h"
#include "schedule/ScheduleOverview.h"
#include "schedule/TSchedule.h"
#include "util/AppError.h"

namespace {

constexpr const char* kSchedulePath = "C:\\Ombrel\\SCHEDULE.TXT";
constexpr const char* kKinds[] = {"SHUTDOWN", "STARTUP", "TESTUPS", "SHUT"};
constexpr const char* kDates[] = {"2024/05/17", "2024/05/18", "1999/12/31", "2024/5/17"};
constexpr const char* kTimes[] = {"08:30", "23:59", "8:30", "0"};
constexpr const char* kMonths[] = {"2024/05/", "1999/12/", "2024/5/1", "2024/05"};

bool HoldsLineEnd(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// The operands of one operation, from its 4 bytes: byte 0 the operation
// (bits 0-2), a flag (bit 5), whether a delete key names a kind (bit 4) and the
// kind (bits 6-7); bytes 1 and 2 a text each: a choice from a list, or (high
// bit set) bytes of the file from an offset that byte 3 completes, so that
// texts found in its lines come up often.
class Operands {
 public:
  Operands(std::string_view file, const uint8_t* bytes) : file_(file), bytes_(bytes) {}

  int Operation() const { return bytes_[0] & 7; }
  bool Flag() const { return bytes_[0] & 0x20; }
  bool KeyNamesKind() const { return bytes_[0] & 0x10; }
  const char* Kind() const { return kKinds[bytes_[0] >> 6]; }
  // Whether a removal by kind takes the line of this date.
  bool Takes(std::string_view date) const { return (static_cast<uint8_t>(date.back()) + bytes_[2]) % 2 == 0; }
  // Text number slot (1 or 2) of the given length.
  template <size_t N>
  std::string Text(int slot, const char* const (&choices)[N], size_t length) const {
    const uint8_t byte = bytes_[slot];
    if (!(byte & 0x80) || file_.empty()) return choices[byte % N];
    const size_t offset = (static_cast<size_t>(byte & 0x7F) << 8 | bytes_[3]) % file_.size();
    return std::string(file_.substr(offset, length));
  }

 private:
  std::string_view file_;
  const uint8_t* bytes_;
};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Starts with a date "dddd/dd/dd", a comma and kind.
bool IsEventOfKind(std::string_view line, std::string_view kind) {
  if (line.size() < 11 || line[4] != '/' || line[7] != '/' || line[10] != ',') return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (!IsDigit(line[i])) return false;
  return line.substr(11).starts_with(kind);
}

void CheckSorted(const TSchedule& store) {
  for (size_t i = 1; i < store.Count(); ++i)
    Check(store.Line(i - 1).substr(0, 10) <= store.Line(i).substr(0, 10));
}

// Saves and checks the file: each line followed by CR LF and nothing else,
// in sorted order, and loading it again gives the same lines.
void CheckSave(TSchedule& store) {
  try {
    store.SaveSchedule();
  } catch (const AppError&) {
    std::abort();
  }
  CheckSorted(store);
  const std::string* saved = memory_files::Find(store.FilePath);
  Check(saved);
  std::string_view rest = *saved;
  for (size_t i = 0; i < store.Count(); ++i) {
    const std::string_view line = store.Line(i);
    Check(!HoldsLineEnd(line));
    Check(rest.substr(0, line.size()) == line && rest.substr(line.size(), 2) == "\r\n");
    rest.remove_prefix(line.size() + 2);
  }
  Check(rest.empty());

  TSchedule again;
  again.FilePath = store.FilePath;
  again.LoadSchedule();
  Check(again.Count() == store.Count());
  for (size_t i = 0; i < store.Count(); ++i) Check(again.Line(i) == store.Line(i));
}

void CheckOverviewRows(const TSchedule& store) {
  static const TINI_LANGUAGE texts;
  static const TAString strings;
  for (size_t i = 0; i < store.Count(); ++i) {
    const std::string line(store.Line(i));
    const OverviewRow row = OverviewRowOf(line, texts, strings);
    Check(row.day == line.substr(0, line.find(',')));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t operations = data[0] % 16;
  if (operations * 4 > size - 1) operations = (size - 1) / 4;
  const size_t fileEnd = size - operations * 4;
  const std::string_view file(reinterpret_cast<const char*>(data) + 1, fileEnd - 1);

  memory_files::Clear();
  memory_files::Put(kSchedulePath, std::string(file));
  TSchedule store;
  store.FilePath = kSchedulePath;
  store.LoadSchedule();
  for (size_t i = 0; i < store.Count(); ++i) Check(!HoldsLineEnd(store.Line(i)));

  for (const uint8_t* op = data + fileEnd; op < data + size; op += 4) {
    const Operands operands(file, op);
    const size_t count = store.Count();
    switch (operands.Operation()) {
      case 0:
      case 7: {
        store.Kind = operands.Kind();
        const std::string date = operands.Text(1, kDates, 10);
        const std::string time = operands.Text(2, kTimes, 5);
        store.SetEvent(date, time, operands.Flag());
        const std::string key = date + "," + store.Kind;
        const bool takes = store.Kind != "SHUT" && !HoldsLineEnd(date) && !HoldsLineEnd(time);
        if (!takes) {
          Check(store.Count() == count);
        } else {
          Check(store.Count() == count || store.Count() == count + 1);
          Check(store.Holds(key));
          if (time.size() >= 5) Check(store.EventTime(date, store.Kind) == time.substr(0, 5));
        }
        break;
      }
      case 1: {
        // A date, an event key, or any piece of a line.
        std::string key = operands.Text(1, kDates, 1 + op[2] % 12);
        if (operands.KeyNamesKind()) key += std::string(",") + operands.Kind();
        const bool held = store.Holds(key);
        Check(store.DeleteEvent(key) == held);
        Check(store.Count() == count - (held ? 1 : 0));
        break;
      }
      case 2:
        store.SortSchedule();
        Check(store.Count() == count);
        CheckSorted(store);
        break;
      case 3: {
        // Each day and kind as Holds finds it; a day whose date occurs nowhere has none.
        const std::string month = operands.Text(1, kMonths, 8);
        const std::set<std::string> named = DaysNamed(store, month);
        const TSchedule::MonthEvents held = store.EventsOfMonth(month);
        for (int day = 1; day <= 31; ++day) {
          const bool searched = named.contains(DayDigits(day));
          for (int kind = 0; kind < 3; ++kind)
            Check(held[day - 1][kind] ==
                  (searched && store.Holds(month + DayDigits(day) + "," + std::string(kKindWords[kind]))));
        }
        break;
      }
      case 4: {
        const std::string kind = operands.Kind();
        const auto takes = [&operands](std::string_view date) { return operands.Takes(date); };
        const std::vector<std::string> removed = store.DeleteEventsOfKind(kind, takes);
        Check(store.Count() == count - removed.size());
        for (const std::string& date : removed) Check(takes(date));
        for (size_t i = 0; i < store.Count(); ++i) {
          const std::string_view line = store.Line(i);
          Check(!IsEventOfKind(line, kind) || !takes(line.substr(0, 10)));
        }
        break;
      }
      case 5:
        CheckSave(store);
        break;
      default:
        CheckOverviewRows(store);
        break;
    }
  }
  CheckSave(store);
  CheckOverviewRows(store);
  return 0;
}
