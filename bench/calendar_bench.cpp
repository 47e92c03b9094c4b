// The schedule page's work on a large SCHEDULE.TXT against plain passes over the same bytes.
//   calendar_bench [lines] [rounds]     (defaults 100000 15)
// 1. Marking a month and the times of its selected day (MarkMonth + ShowDayTimes
//    without the windows) on a loaded store, against one plain scan of the bytes:
//    for a file as the program saves it, the same lines unsorted, and lines that
//    are not in event form (searched as text).
// 2. The weekly Clear of Monday for shutdown events, against one plain read and
//    write of the bytes; alone, with loading and saving, and the deletion line by
//    line that it replaces.
// Prints median times of the rounds and their ratios.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "platform/FileSystem.h"
#include "schedule/CalendarMarks.h"
#include "schedule/TADateTime.h"
#include "schedule/TSchedule.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Milliseconds;

constexpr std::array<bool, 7> kMonday = {false, true, false, false, false, false, false};
constexpr int kShutdown = 0;
constexpr int kMonth = 5, kYear = 2050, kDay = 17;

// Kept from being optimised away.
volatile size_t sink;

// A shutdown on every day from 2000 on, and a start-up or a test on alternate days.
std::vector<std::string> EventLines(size_t count) {
  std::vector<std::string> lines;
  std::mt19937 random(17);
  for (const std::string& date : bench::Dates((count + 1) / 2, 2000)) {
    char time[8];
    std::snprintf(time, sizeof time, "%02d:%02d", static_cast<int>(random() % 24),
                  static_cast<int>(random() % 60));
    lines.push_back(date + ",SHUTDOWN," + time + ",1");
    if (lines.size() < count)
      lines.push_back(date + (lines.size() % 4 == 1 ? ",STARTUP," : ",TESTUPS,") + time + ",0");
    if (lines.size() >= count) break;
  }
  return lines;
}

std::string FileOf(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

TSchedule Loaded(const std::string& path) {
  TSchedule store;
  store.FilePath = path;
  store.LoadSchedule();
  return store;
}

double PlainScan(const std::string& bytes) {
  const auto start = Clock::now();
  sink = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  return Milliseconds(Clock::now() - start);
}

double PlainReadWrite(const std::string& path) {
  const auto start = Clock::now();
  const std::string bytes = fs_seam::ReadWholeFile(path);
  fs_seam::WriteFileAtomically(path, bytes);
  return Milliseconds(Clock::now() - start);
}

// The marks of the month and the three times of the selected day.
double MarkMonthAndDay(const TSchedule& store, const TINI& ini, TADateTime& dates) {
  const auto start = Clock::now();
  const MonthMarks marks = MarksOfMonth(store, ini, dates, kMonth, kYear);
  size_t shown = 0;
  for (const auto& kind : marks) shown += static_cast<size_t>(std::count(kind.begin(), kind.end(), true));
  for (int kind = 0; kind < kKindCount; ++kind)
    shown += DayTime(store, ini, dates, kind, kDay, kMonth, kYear).value_or("").size();
  sink = shown;
  return Milliseconds(Clock::now() - start);
}

void CompareMarking(const char* what, const std::vector<std::string>& lines, const std::string& path,
                    int rounds) {
  const std::string bytes = FileOf(lines);
  fs_seam::WriteFileAtomically(path, bytes);
  const TSchedule store = Loaded(path);
  TINI ini;
  ini.WEEKLY_SCHEDULE_STARTUP_DAY = "0100010";
  TADateTime dates;
  std::vector<double> marking, scans;
  for (int round = 0; round < rounds; ++round) {
    marking.push_back(MarkMonthAndDay(store, ini, dates));
    scans.push_back(PlainScan(bytes));
  }
  std::printf("  %-34s %9.4f ms   plain scan %8.4f ms   ratio %.3f\n", what, Median(marking), Median(scans),
              Median(marking) / Median(scans));
}

}  // namespace

int main(int argc, char** argv) {
  const size_t lineCount = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 15;

  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("ombrel-bench-" + std::to_string(std::random_device()()));
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "SCHEDULE.TXT").string();
  const std::string plainPath = (folder / "PLAIN.TXT").string();

  const std::vector<std::string> lines = EventLines(lineCount);
  const std::string bytes = FileOf(lines);
  std::printf("%zu lines (%zu bytes), median of %d rounds\n", lines.size(), bytes.size(), rounds);

  std::printf("MarkMonth + ShowDayTimes (%d/%d, day %d) against one plain scan of the bytes:\n", kMonth,
              kYear, kDay);
  CompareMarking("file as saved (sorted)", lines, path, rounds);
  std::vector<std::string> unsorted(lines.rbegin(), lines.rend());
  CompareMarking("same lines in reverse order", unsorted, path, rounds);
  std::vector<std::string> odd = lines;
  for (std::string& line : odd) line += " ";
  CompareMarking("no line in event form", odd, path, rounds);

  fs_seam::WriteFileAtomically(plainPath, bytes);
  std::vector<double> clearTimes, wholeTimes, plainTimes;
  size_t removed = 0;
  for (int round = 0; round < rounds; ++round) {
    fs_seam::WriteFileAtomically(path, bytes);
    TSchedule store = Loaded(path);
    TINI ini;
    TADateTime dates;
    auto start = Clock::now();
    removed = ClearWeekdays(store, ini, dates, kShutdown, kMonday).size();
    clearTimes.push_back(Milliseconds(Clock::now() - start));

    fs_seam::WriteFileAtomically(path, bytes);
    start = Clock::now();
    TSchedule whole = Loaded(path);
    ClearWeekdays(whole, ini, dates, kShutdown, kMonday);
    whole.SaveSchedule();
    wholeTimes.push_back(Milliseconds(Clock::now() - start));

    plainTimes.push_back(PlainReadWrite(plainPath));
  }
  const double plain = Median(plainTimes);
  std::printf(
      "weekly Clear of Monday (%zu shutdown events removed) against one plain read + write (%.2f ms):\n",
      removed, plain);
  std::printf("  Clear on the loaded store         %9.2f ms   ratio %.2f\n", Median(clearTimes),
              Median(clearTimes) / plain);
  std::printf("  load + Clear + save               %9.2f ms   ratio %.2f\n", Median(wholeTimes),
              Median(wholeTimes) / plain);

  // The removal it replaces: one DeleteEvent per line of a copy, once.
  {
    fs_seam::WriteFileAtomically(path, bytes);
    TSchedule store = Loaded(path);
    TADateTime dates;
    const auto start = Clock::now();
    for (const std::string& line : lines) {
      const int year = std::atoi(line.substr(0, 4).c_str()), month = std::atoi(line.substr(5, 2).c_str());
      const int day = std::atoi(line.substr(8, 2).c_str());
      if (dates.Day_Of_Week(day, month, year) == 2) store.DeleteEvent(line.substr(0, 10) + ",SHUTDOWN");
    }
    std::printf("  line by line, as before (1 round) %9.2f ms\n", Milliseconds(Clock::now() - start));
  }
  std::filesystem::remove_all(folder);
  return 0;
}
