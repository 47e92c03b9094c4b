#pragma once
// Every omb.ini the tests hold: the seeds and finds of the two settings
// fuzzers, sorted by name.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct SettingsSample {
  std::string name;
  std::string bytes;
};

inline std::vector<SettingsSample> SettingsSamples() {
  std::vector<SettingsSample> samples;
  for (const char* fuzzer : {"fuzz_settings", "fuzz_ini"}) {
    const std::filesystem::path folder = std::filesystem::path(OMBREL_FUZZ_CORPUS) / fuzzer;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      std::ifstream file(entry.path(), std::ios::binary);
      samples.push_back({std::string(fuzzer) + "/" + entry.path().filename().string(),
                         {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()}});
    }
  }
  std::sort(samples.begin(), samples.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return samples;
}
