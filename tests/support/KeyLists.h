#pragma once
// The lists of keys in tests/data: lines of tab-separated fields,
// "#" lines and empty lines left out.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::string TestDataFile(const std::string& name) {
  return std::string(OMBREL_TEST_DATA) + "/" + name;
}

// Every line of the file as its fields; the last field runs to the line's end.
inline std::vector<std::vector<std::string>> ReadKeyList(const std::string& name, size_t fields) {
  std::ifstream in(TestDataFile(name), std::ios::binary);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> row;
    size_t start = 0;
    while (row.size() + 1 < fields) {
      size_t tab = line.find('\t', start);
      if (tab == std::string::npos) break;
      row.push_back(line.substr(start, tab - start));
      start = tab + 1;
    }
    row.push_back(line.substr(start));
    rows.push_back(std::move(row));
  }
  return rows;
}
