#pragma once
// Helpers shared by the schedule benchmarks: dates, timing, medians.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "schedule/TADateTime.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline std::string DateText(int day, int month, int year) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d", year, month, day);
  return text;
}

// Consecutive dates from startYear on, as many as needed to give count dates.
inline std::vector<std::string> Dates(size_t count, int startYear) {
  TADateTime calendar;
  std::vector<std::string> dates;
  for (int year = startYear; dates.size() < count; ++year)
    for (int month = 1; month <= 12 && dates.size() < count; ++month)
      for (int day = 1; day <= calendar.MaxDayOfMonth(month, year) && dates.size() < count; ++day)
        dates.push_back(DateText(day, month, year));
  return dates;
}

inline double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace bench
