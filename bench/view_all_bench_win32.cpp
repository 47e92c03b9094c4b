// The overview window filled from a large schedule store, as View All fills
// it at every showing, under Wine or Windows.
//   view_all_bench_win32 [lines] [rounds]     (defaults 100000 5)
// Prints the median time of a whole filling, and of its two halves: the rows
// made from the store lines, and the list view filled with them.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/TFormViewAll.h"
#include "platform/FileSystem.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "schedule/ScheduleOverview.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// lines event lines over consecutive days from 2000 on, the three kinds in turn.
std::string StoreText(size_t lines) {
  const char* const kinds[] = {"SHUTDOWN", "STARTUP", "TESTUPS"};
  std::string text;
  char line[64];
  for (size_t i = 0; i < lines; ++i) {
    size_t day = i / 3;
    std::snprintf(line, sizeof line, "%04zu/%02zu/%02zu,%s,%02zu:%02zu,%zu\r\n", 2000 + day / 336,
                  day / 28 % 12 + 1, day % 28 + 1, kinds[i % 3], i % 24, i % 60, i % 2);
    text += line;
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  size_t lines = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  std::filesystem::path folder = std::filesystem::temp_directory_path() / "ombrel-view-all-bench";
  std::filesystem::create_directories(folder);
  TSchedule schedule;
  schedule.FilePath = (folder / "SCHEDULE.TXT").string();
  fs_seam::WriteFileAtomically(schedule.FilePath, StoreText(lines));
  schedule.LoadSchedule();
  TINI settings;
  TINI_LANGUAGE texts;
  TAString strings;

  Win32Dialogs dialogs("view_all_bench");
  Win32Registry registry;
  Win32Shell shell;
  Services services{dialogs, registry, shell, SystemClock(), SystemWait(), ""};
  TFormViewAll window(services, nullptr);

  std::vector<double> whole, rows, list;
  for (int round = 0; round < rounds; ++round) {
    Clock::time_point start = Clock::now();
    window.FormShow(schedule, settings, texts, strings);
    whole.push_back(Milliseconds(Clock::now() - start));

    // The halves, apart: the rows alone, then the list view alone.
    start = Clock::now();
    std::vector<std::vector<std::string>> made;
    made.reserve(schedule.Count());
    for (size_t line = 0; line < schedule.Count(); ++line) {
      OverviewRow row = OverviewRowOf(std::string(schedule.Line(line)), texts, strings);
      made.push_back({row.day, row.time, row.type, row.warning});
    }
    rows.push_back(Milliseconds(Clock::now() - start));
    start = Clock::now();
    window.ListView1.SetRows(std::move(made));
    list.push_back(Milliseconds(Clock::now() - start));
  }
  std::printf("store lines           %zu (list rows %d)\n", schedule.Count(), window.ListView1.RowCount());
  std::printf("View All filling      %8.1f ms (median of %d)\n", Median(whole), rounds);
  std::printf("  rows from the lines %8.1f ms\n", Median(rows));
  std::printf("  list view filled    %8.1f ms\n", Median(list));
  std::filesystem::remove_all(folder);
  return 0;
}
