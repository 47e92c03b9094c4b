#pragma once
// The two characters that follow each place where a month's date text
// ("2024/05/") occurs in the store's lines: a day whose two digits are not
// among them has no line naming its date, so no event, and needs no search.
#include <set>
#include <string>
#include <string_view>

#include "schedule/TSchedule.h"

inline std::set<std::string> DaysNamed(const TSchedule& store, const std::string& month) {
  std::set<std::string> days;
  for (size_t i = 0; i < store.Count(); ++i) {
    const std::string_view line = store.Line(i);
    for (size_t at = line.find(month); at != std::string_view::npos; at = line.find(month, at + 1))
      days.emplace(line.substr(at + month.size(), 2));
  }
  return days;
}

inline std::string DayDigits(int day) {
  return {static_cast<char>('0' + day / 10), static_cast<char>('0' + day % 10)};
}
