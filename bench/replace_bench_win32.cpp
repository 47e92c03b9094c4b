// What replacing a file costs: the file seam's whole write of an omb.ini-sized
// and a SCHEDULE.TXT-sized file, and the bare step that puts a written
// temporary file in the old one's place, ReplaceFileW against a rename over
// it (MoveFileExW), side by side in the same folder.
//   replace_bench_win32 [schedule lines] [rounds]     (defaults 200000 15)
// Prints the median time of each in milliseconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "platform/FileSystem.h"
#include "platform/win32/AnsiText.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Milliseconds;

std::string ScheduleText(size_t lines) {
  std::string text;
  const std::vector<std::string> dates = bench::Dates((lines + 2) / 3, 2000);
  const char* const kinds[] = {"SHUTDOWN", "STARTUP", "TESTUPS"};
  for (size_t line = 0; line < lines; ++line)
    text += dates[line / 3] + "," + kinds[line % 3] + ",12:30,1\r\n";
  return text;
}

std::string SettingsText() {
  std::string text = "[PAGE1]\r\n";
  for (int key = 0; key < 60; ++key) text += "SETTING_NUMBER_" + std::to_string(key) + "=12345\r\n";
  return text;
}

double MedianWrite(const std::string& path, const std::string& bytes, int rounds) {
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    const auto start = Clock::now();
    fs_seam::WriteFileAtomically(path, bytes);
    times.push_back(Milliseconds(Clock::now() - start));
  }
  return Median(times);
}

void Make(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// The bare step: a written temporary file takes the target's place.
template <typename Replace>
double MedianReplace(const std::wstring& folder, const std::string& bytes, int rounds, Replace replace) {
  const std::wstring target = folder + L"\\target.txt", temporary = folder + L"\\target.txt.tmp1";
  Make(target, bytes);
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    Make(temporary, bytes);
    const auto start = Clock::now();
    if (!replace(temporary.c_str(), target.c_str())) {
      std::fprintf(stderr, "replacing failed: error %lu\n", GetLastError());
      std::exit(1);
    }
    times.push_back(Milliseconds(Clock::now() - start));
  }
  DeleteFileW(target.c_str());
  return Median(times);
}

}  // namespace

int main(int argc, char** argv) {
  const size_t lines = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 200000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 15;
  const auto folder = std::filesystem::temp_directory_path() / ("ombrel-replace-bench-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(folder);
  const std::string schedule = ScheduleText(lines), settings = SettingsText();

  std::printf("the seam's whole write (create, write, flush, replace), median of %d:\n", rounds);
  std::printf("  omb.ini, %zu bytes:       %8.3f ms\n", settings.size(),
              MedianWrite((folder / "omb.ini").string(), settings, rounds));
  std::printf("  SCHEDULE.TXT, %zu bytes: %8.3f ms\n", schedule.size(),
              MedianWrite((folder / "SCHEDULE.TXT").string(), schedule, rounds));

  const std::wstring wideFolder = folder.wstring();
  std::printf("the replace step alone, median of %d:\n", rounds);
  for (const std::string* bytes : {&settings, &schedule}) {
    const double replaced = MedianReplace(wideFolder, *bytes, rounds, [](const wchar_t* from, const wchar_t* to) {
      return ReplaceFileW(to, from, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
    });
    const double renamed = MedianReplace(wideFolder, *bytes, rounds, [](const wchar_t* from, const wchar_t* to) {
      return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
    std::printf("  %zu bytes: ReplaceFileW %8.3f ms, MoveFileExW %8.3f ms\n", bytes->size(), replaced, renamed);
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
