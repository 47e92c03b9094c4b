#include "app/StartupTrace.h"

#include <psapi.h>

#include <cstdio>

namespace {

ULONGLONG Ticks(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

StartupTrace::StartupTrace(const wchar_t* file) {
  if (!file || !*file) return;
  file_ = file;
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  created_ = Ticks(created);
  steps_.reserve(32);
}

void StartupTrace::Mark(const char* step) {
  if (!On()) return;
  FILETIME now, created, exited, kernel, user;
  GetSystemTimePreciseAsFileTime(&now);
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  steps_.push_back({step, Ticks(now) - created_, Ticks(kernel) + Ticks(user), memory.PeakWorkingSetSize});
  // One request naming the step, so that a log of the window server's
  // requests (bench/startup-requests.sh) shows where each step ends.
  GlobalFindAtomA(step);
}

void StartupTrace::MarkReadyWhenIdle() {
  if (!On() || written_ || GetQueueStatus(QS_ALLINPUT) != 0) return;
  Mark("ready");
  Write();
  written_ = true;
}

void StartupTrace::Write() const {
  if (!On()) return;
  FILE* out = _wfopen(file_.c_str(), L"w");
  if (!out) return;
  for (const Step& step : steps_)
    std::fprintf(out, "%8.1f ms  cpu %7.1f ms  peak %6zu kB  %s\n", step.sinceStart / 1e4, step.cpu / 1e4,
                 static_cast<size_t>(step.peakBytes / 1024), step.name);
  std::fclose(out);
}
