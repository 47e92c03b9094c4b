#pragma once
// The rows of the series list (CheckListBox1) and the UPSTYPE codes they
// stand for: the one table that the layout, the filling of the page, OK and
// the series rules all read.
#include <array>
#include <string>
#include <vector>

struct SeriesRow {
  const char* caption;  // built-in text of the row
  int code;             // its UPSTYPE code
};

inline constexpr std::array<SeriesRow, 4> kSeriesRows = {{
    {"QZ series", 3},
    {"Velto series", 0},
    {"Soranthe series", 1},
    {"Generic Series [ Dry contact ]", 2},
}};

// The row that stands for a UPSTYPE code; -1 when no row does.
constexpr int SeriesRowOfCode(int code) {
  for (int row = 0; row < static_cast<int>(kSeriesRows.size()); ++row)
    if (kSeriesRows[row].code == code) return row;
  return -1;
}

inline std::vector<std::string> SeriesCaptions() {
  std::vector<std::string> captions;
  for (const SeriesRow& row : kSeriesRows) captions.emplace_back(row.caption);
  return captions;
}
