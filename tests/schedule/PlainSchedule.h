#pragma once
// The schedule store done plainly, as the oracle of the model test and of the
// model fuzzer: a list of lines searched one by one, as text. And the store's
// lines as strings, to compare with an expected list in one go.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/TSchedule.h"

inline std::vector<std::string> LinesOf(const TSchedule& store) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < store.Count(); ++i) lines.emplace_back(store.Line(i));
  return lines;
}

struct PlainSchedule {
  std::vector<std::string> lines;

  long Find(const std::string& key) const {
    if (key.empty() || key.find_first_of("\r\n") != std::string::npos) return -1;
    for (size_t i = 0; i < lines.size(); ++i)
      if (lines[i].find(key) != std::string::npos) return static_cast<long>(i);
    return -1;
  }

  void Set(const std::string& kind, const std::string& date, const std::string& time, bool warning) {
    if (kind != "SHUTDOWN" && kind != "STARTUP" && kind != "TESTUPS") return;
    if ((date + time).find_first_of("\r\n") != std::string::npos) return;
    const std::string key = date + "," + kind;
    const std::string value = time + (warning ? ",1" : ",0");
    const long found = Find(key);
    if (found < 0) {
      lines.push_back(key + "," + value);
      return;
    }
    std::string& line = lines[static_cast<size_t>(found)];
    size_t comma = line.find(key) + key.size();
    if (comma == line.size()) line += ',';
    const std::string before = line.substr(0, comma + 1);
    const std::string after = line.size() > comma + 8 ? line.substr(comma + 8) : "";
    line = before + value + after;
  }

  bool Delete(const std::string& key) {
    const long found = Find(key);
    if (found < 0) return false;
    lines.erase(lines.begin() + found);
    return true;
  }

  std::optional<std::string> EventTime(const std::string& date, const std::string& kind) const {
    const std::string key = date + "," + kind;
    const long found = Find(key);
    if (found < 0) return std::nullopt;
    const std::string& line = lines[static_cast<size_t>(found)];
    const size_t at = line.find(key) + key.size() + 1;
    return at < line.size() ? line.substr(at, 5) : "";
  }

  // One search per day and kind.
  TSchedule::MonthEvents EventsOfMonth(const std::string& prefix) const {
    static const char* const kinds[] = {"SHUTDOWN", "STARTUP", "TESTUPS"};
    TSchedule::MonthEvents held{};
    for (int day = 1; day <= 31; ++day)
      for (int kind = 0; kind < 3; ++kind) {
        const std::string dd{static_cast<char>('0' + day / 10), static_cast<char>('0' + day % 10)};
        held[day - 1][kind] = Find(prefix + dd + "," + kinds[kind]) >= 0;
      }
    return held;
  }

  // Lines that start with a date "dddd/dd/dd", a comma and kind, on a date remove accepts.
  template <typename Remove>
  std::vector<std::string> DeleteEventsOfKind(const std::string& kind, Remove remove) {
    std::vector<std::string> removed, kept;
    for (const std::string& line : lines) {
      bool dated = line.size() > 10 && line[4] == '/' && line[7] == '/' && line[10] == ',';
      for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) dated = dated && line[i] >= '0' && line[i] <= '9';
      if (!kind.empty() && dated && line.compare(11, kind.size(), kind) == 0 &&
          remove(std::string_view(line).substr(0, 10)))
        removed.push_back(line.substr(0, 10));
      else
        kept.push_back(line);
    }
    lines = kept;
    return removed;
  }

  std::string Text() const {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
  }

  // By the first 10 bytes, then the letter after the date's comma and one
  // more: H, T, any other, E; a line too short for it first. Stable.
  void Sort() {
    const auto letterPlace = [](const std::string& line) -> int {
      if (line.size() < 13) return 0;
      const std::string order = "HT";
      if (line[12] == 'E') return 4;
      const size_t at = order.find(line[12]);
      return at == std::string::npos ? 3 : static_cast<int>(at) + 1;
    };
    const auto before = [&](const std::string& a, const std::string& b) {
      const std::string x = a.substr(0, 10), y = b.substr(0, 10);
      const bool less = std::lexicographical_compare(
          x.begin(), x.end(), y.begin(), y.end(),
          [](char c, char d) { return static_cast<unsigned char>(c) < static_cast<unsigned char>(d); });
      return less || (x == y && letterPlace(a) < letterPlace(b));
    };
    std::stable_sort(lines.begin(), lines.end(), before);
  }
};
