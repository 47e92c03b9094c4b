// Memory of a loaded schedule store against the size of its file.
//   schedule_memory_bench KIND [megabytes]     (default 20)
// KIND is the file: "saved" (event lines as the program saves them), "odd"
// (the same lines with a blank after each, so that none is in event form),
// "lf" (bare LF line ends) or "crlf" (bare CR LF line ends). The file is
// written in pieces, so that what the process held before the load is small;
// run one KIND per process (bench/schedule-memory-bench.sh), as the peak only
// grows. Prints the resident memory and the peak that the load added, each
// against the file's size.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "BenchSupport.h"
#include "schedule/TSchedule.h"

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

struct Memory {
  double resident = 0;  // bytes
  double peak = 0;
};

Memory MemoryNow() {
  Memory memory;
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters{};
  K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  memory.resident = static_cast<double>(counters.WorkingSetSize);
  memory.peak = static_cast<double>(counters.PeakWorkingSetSize);
#else
  long pages = 0, resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  memory.resident = static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  memory.peak = static_cast<double>(usage.ru_maxrss) * 1024;
#endif
  return memory;
}

// Consecutive dates from 2000 on, made one at a time, so that the file is
// sorted as the program saves it and no list of them adds to the peak.
class DateSequence {
 public:
  std::string Next() {
    const std::string text = bench::DateText(day_, month_, year_);
    if (++day_ > calendar_.MaxDayOfMonth(month_, year_)) {
      day_ = 1;
      if (++month_ > 12) {
        month_ = 1;
        ++year_;
      }
    }
    return text;
  }

 private:
  TADateTime calendar_;
  int day_ = 1, month_ = 1, year_ = 2000;
};

// The next piece of a file of the kind.
std::string Piece(const std::string& kind, DateSequence& dates, std::mt19937& random) {
  if (kind == "lf") return std::string(4096, '\n');
  if (kind == "crlf") {
    std::string piece;
    for (int i = 0; i < 2048; ++i) piece += "\r\n";
    return piece;
  }
  const std::string date = dates.Next();
  char time[8];
  std::snprintf(time, sizeof time, "%02d:%02d", static_cast<int>(random() % 24), static_cast<int>(random() % 60));
  const std::string blank = kind == "odd" ? " " : "";
  return date + ",SHUTDOWN," + time + ",1" + blank + "\r\n" + date + ",TESTUPS," + time + ",0" + blank + "\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  const std::string kind = argc > 1 ? argv[1] : "saved";
  const double megabytes = argc > 2 ? std::atof(argv[2]) : 20;
  const auto size = static_cast<size_t>(megabytes * 1024 * 1024);

  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("ombrel-memory-" + std::to_string(std::random_device()()) + ".txt");
  {
    std::ofstream file(path, std::ios::binary);
    std::mt19937 random(17);
    DateSequence dates;
    for (size_t written = 0; written < size;) {
      const std::string piece = Piece(kind, dates, random);
      file.write(piece.data(), static_cast<std::streamsize>(piece.size()));
      written += piece.size();
    }
  }
  const auto fileSize = static_cast<double>(std::filesystem::file_size(path));

  const Memory before = MemoryNow();
  TSchedule store;
  store.FilePath = path.string();
  store.LoadSchedule();
  const Memory after = MemoryNow();
  std::filesystem::remove(path);

  const double mb = 1024.0 * 1024.0;
  std::printf("%-5s %7.2f MB, %9zu lines: loaded store %7.2f MB resident (%.2fx the file), peak +%7.2f MB (%.2fx)\n",
              kind.c_str(), fileSize / mb, store.Count(), (after.resident - before.resident) / mb,
              (after.resident - before.resident) / fileSize, (after.peak - before.peak) / mb,
              (after.peak - before.peak) / fileSize);
  return 0;
}
