#pragma once
// A fresh folder for one test, removed with everything in it afterwards, and
// plain byte-exact file access that does not go through the code under test.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

class ScheduleTestFolder {
 public:
  ScheduleTestFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("ombrel-schedule-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~ScheduleTestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScheduleTestFolder(const ScheduleTestFolder&) = delete;
  ScheduleTestFolder& operator=(const ScheduleTestFolder&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

  static void Write(const std::string& file, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(file), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  static std::string Read(const std::string& file) {
    std::ifstream in(std::filesystem::path(file), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
};
