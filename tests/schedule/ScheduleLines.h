#pragma once
// The store's lines as strings, to compare with an expected list in one go.
#include <string>
#include <vector>

#include "schedule/TSchedule.h"

inline std::vector<std::string> LinesOf(const TSchedule& store) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < store.Count(); ++i) lines.emplace_back(store.Line(i));
  return lines;
}
