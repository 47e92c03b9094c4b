// Loads arbitrary bytes as SCHEDULE.TXT, then sets, deletes and sorts, checking
// after each step against a plain text search over the store's lines. Half the
// inputs are raw bytes; the other half spell the file from schedule-like pieces,
// so that dates, kind words and keys inside odd lines come up often.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

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

// Stops with the failed condition and its line.
#define Check(condition)                                                         \
  do {                                                                           \
    if (!(condition)) {                                                          \
      std::fprintf(stderr, "check failed, line %d: %s\n", __LINE__, #condition); \
      std::abort();                                                              \
    }                                                                            \
  } while (false)

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

// One folder per fuzzing process, removed when the process ends.
class FuzzFolder {
 public:
  FuzzFolder()
      : folder_(std::filesystem::temp_directory_path() / ("fuzz-schedule-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder_);
  }
  ~FuzzFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::string File() const { return (folder_ / "SCHEDULE.TXT").string(); }

 private:
  std::filesystem::path folder_;
};

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const FuzzFolder folder;
  if (size == 0) return 0;
  const size_t fileEnd = 1 + (size - 1) / 2;
  std::string file;
  if (data[0] & 1) {
    file.assign(reinterpret_cast<const char*>(data) + 1, fileEnd - 1);
  } else {
    for (size_t i = 1; i < fileEnd; ++i) file += Pick(kPieces, data[i]);
  }
  TSchedule store;
  store.FilePath = folder.File();
  WriteFile(store.FilePath, file);
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

    switch ((choice >> 2) & 3) {
      case 0:
      case 1: {
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
      case 2: {
        const long found = PlainFind(before, key);
        Check(store.DeleteEvent(key) == (found >= 0));
        Lines expected = before;
        if (found >= 0) expected.erase(expected.begin() + found);
        Check(LinesOf(store) == expected);
        break;
      }
      default: {
        store.SortSchedule();
        Check(store.Count() == before.size());
        break;
      }
    }
    const Lines now = LinesOf(store);
    for (const std::string& line : now) Check(line.find_first_of("\r\n") == std::string::npos);
    Check(store.Holds(key) == (PlainFind(now, key) >= 0));
    Check(store.EventTime(date, kind) == PlainEventTime(now, date + "," + kind));
  }

  // The store text read back gives the same lines.
  WriteFile(store.FilePath, store.StoreText());
  TSchedule again;
  again.FilePath = store.FilePath;
  again.LoadSchedule();
  Check(LinesOf(again) == LinesOf(store));

  // Saving flushes to disk, which is slow: only now and then.
  if (size % 64 == 0) {
    try {
      store.SaveSchedule();
    } catch (const AppError&) {
      std::abort();
    }
    again.LoadSchedule();
    Check(LinesOf(again) == LinesOf(store));
  }
  return 0;
}
