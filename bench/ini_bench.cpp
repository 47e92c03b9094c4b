// How long loading and saving omb.ini take when the file is large: one huge
// line, or very many short ones. Prints milliseconds per case.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "settings/TINI.h"

namespace {

double MillisecondsFor(const std::string& bytes, const std::string& path) {
  std::ofstream(path, std::ios::binary) << bytes;
  auto start = std::chrono::steady_clock::now();
  TINI settings;
  settings.Load(path);
  settings.UPSPORT = 3;
  settings.Save();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  const std::string path = (std::filesystem::temp_directory_path() / "ombrel-bench-omb.ini").string();
  std::string manyLines;
  while (manyLines.size() < 10 * 1024 * 1024) manyLines += "UNKNOWN_KEY=some value\r\n";
  const std::pair<const char*, std::string> cases[] = {
      {"small file", "[PAGE1]\r\nUPSPORT=2\r\n"},
      {"10 MB in one line", std::string(10 * 1024 * 1024, 'x')},
      {"10 MB of short lines before PAGE1", manyLines + "[PAGE1]\r\nUPSPORT=2\r\n"},
      {"10 MB of short lines inside PAGE3", "[PAGE3]\r\n" + manyLines},
  };
  for (const auto& [name, bytes] : cases) std::printf("%-40s %8.1f ms\n", name, MillisecondsFor(bytes, path));
  std::filesystem::remove(path);
}
