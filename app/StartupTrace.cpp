#include "app/StartupTrace.h"

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
  steps_.push_back({step, Ticks(now) - created_, Ticks(kernel) + Ticks(user)});
}

void StartupTrace::Write() const {
  if (!On()) return;
  FILE* out = _wfopen(file_.c_str(), L"w");
  if (!out) return;
  for (const Step& step : steps_)
    std::fprintf(out, "%8.1f ms  cpu %7.1f ms  %s\n", step.sinceStart / 1e4, step.cpu / 1e4, step.name);
  std::fclose(out);
}
