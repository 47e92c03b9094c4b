// Loading, editing and saving a large SCHEDULE.TXT against plain file I/O of the same bytes.
//   schedule_bench [lines] [edits] [rounds]     (defaults 100000 1000 15)
// Prints the median time of each and their ratio, and where the store's time goes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "platform/FileSystem.h"
#include "schedule/TADateTime.h"
#include "schedule/TSchedule.h"

namespace {

using bench::Clock;
using bench::Dates;
using bench::Median;
using bench::Milliseconds;
const char* const kKinds[] = {"SHUTDOWN", "STARTUP", "TESTUPS"};

struct Edit {
  std::string kind, date, time;
  bool warning;
};

std::string TimeText(std::mt19937& random) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(random() % 24),
                static_cast<int>(random() % 60));
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const size_t lineCount = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  const size_t editCount = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1000;
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 15;
  std::mt19937 random(17);

  // The file: two of the three kinds on each of consecutive days from 2000 on,
  // sorted as the program saves it; the third kind of a day is free for a new event.
  const std::vector<std::string> dates = Dates((lineCount + 1) / 2, 2000);
  std::string original;
  std::vector<Edit> existing, missing;
  for (size_t day = 0; day < dates.size(); ++day) {
    for (size_t kind = 0; kind < 3; ++kind) {
      Edit event{kKinds[kind], dates[day], TimeText(random), random() % 2 == 1};
      if (kind == day % 3) {
        missing.push_back(event);
      } else if (existing.size() < lineCount) {
        original += event.date + "," + event.kind + "," + event.time + (event.warning ? ",1" : ",0") + "\r\n";
        existing.push_back(event);
      }
    }
  }

  // Half the edits change existing events, half add events on days anywhere in the file.
  std::vector<Edit> edits;
  for (size_t i = 0; i < editCount; ++i) {
    Edit edit = i % 2 == 0 ? existing[random() % existing.size()] : missing[random() % missing.size()];
    edit.time = TimeText(random);
    edit.warning = random() % 2;
    edits.push_back(edit);
  }
  std::shuffle(edits.begin(), edits.end(), random);

  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("ombrel-bench-" + std::to_string(std::random_device()()));
  std::filesystem::create_directories(folder);
  const std::string schedulePath = (folder / "SCHEDULE.TXT").string();
  const std::string plainPath = (folder / "PLAIN.TXT").string();
  fs_seam::WriteFileAtomically(plainPath, original);

  std::vector<double> storeTimes, plainTimes;
  std::vector<double> readTimes, loadTimes, setTimes, sortTimes, joinTimes, writeTimes;
  size_t savedSize = 0;
  for (int round = 0; round < rounds; ++round) {
    fs_seam::WriteFileAtomically(schedulePath, original);

    const auto storeStart = Clock::now();
    TSchedule store;
    store.FilePath = schedulePath;
    store.LoadSchedule();
    for (const Edit& edit : edits) {
      store.Kind = edit.kind;
      store.SetEvent(edit.date, edit.time, edit.warning);
    }
    store.SaveSchedule();
    storeTimes.push_back(Milliseconds(Clock::now() - storeStart));
    savedSize = store.Count();

    const auto plainStart = Clock::now();
    const std::string bytes = fs_seam::ReadWholeFile(plainPath);
    fs_seam::WriteFileAtomically(plainPath, bytes);
    plainTimes.push_back(Milliseconds(Clock::now() - plainStart));

    // The same work again, phase by phase; SaveSchedule is sort, then join and write.
    fs_seam::WriteFileAtomically(schedulePath, original);
    TSchedule phases;
    phases.FilePath = schedulePath;
    auto mark = Clock::now();
    auto lap = [&mark](std::vector<double>& times) {
      const auto now = Clock::now();
      times.push_back(Milliseconds(now - mark));
      mark = now;
    };
    fs_seam::ReadWholeFile(schedulePath);  // the read alone, to tell it from the rest of the load
    lap(readTimes);
    phases.LoadSchedule();
    lap(loadTimes);
    for (const Edit& edit : edits) {
      phases.Kind = edit.kind;
      phases.SetEvent(edit.date, edit.time, edit.warning);
    }
    lap(setTimes);
    phases.SortSchedule();
    lap(sortTimes);
    const std::string text = phases.StoreText();
    lap(joinTimes);
    fs_seam::WriteFileAtomically(schedulePath, text);
    lap(writeTimes);
  }
  std::filesystem::remove_all(folder);

  const double storeTime = Median(storeTimes), plainTime = Median(plainTimes);
  std::printf("%zu lines (%zu bytes), %zu SetEvent calls, %zu lines saved, median of %d rounds\n", lineCount,
              original.size(), edits.size(), savedSize, rounds);
  std::printf("LoadSchedule + SetEvent + SaveSchedule: %8.2f ms\n", storeTime);
  std::printf("plain read + write of the same bytes:   %8.2f ms\n", plainTime);
  std::printf("ratio: %.2f\n", storeTime / plainTime);
  std::printf("phases: load %.2f (its read alone %.2f), %zu SetEvent %.2f, sort %.2f, join %.2f, write %.2f ms\n",
              Median(loadTimes), Median(readTimes), edits.size(), Median(setTimes), Median(sortTimes), Median(joinTimes),
              Median(writeTimes));
  return 0;
}
