// Runs a fuzz harness once on each saved input, without the fuzzer, so that
// any compiler builds it and a fault the fuzzer once found stays fixed.
//   replay [--gtest_output=xml:REPORT] FOLDER_OR_FILE...
// The empty input runs first, then every file of each folder, in name order.
// A failing input ends the process (abort or sanitizer report) with its name
// already printed; when all pass, the report says one test passed, in the
// form of a GoogleTest report so that the test runner counts it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The input in a buffer of exactly its size, so that a read past its end is
// caught by the address sanitizer as the fuzzer's own buffer would catch it.
void RunOne(const std::string& bytes) {
  const auto buffer = std::make_unique<uint8_t[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), buffer.get());
  LLVMFuzzerTestOneInput(buffer.get(), bytes.size());
}

void WriteReport(const std::string& path, const std::string& name, size_t inputs) {
  std::ofstream report(path, std::ios::trunc);
  report << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         << "<testsuites tests=\"1\" failures=\"0\" disabled=\"0\" errors=\"0\" name=\"AllTests\">\n"
         << "  <testsuite name=\"CorpusReplay\" tests=\"1\" failures=\"0\" disabled=\"0\" errors=\"0\">\n"
         << "    <testcase name=\"" << name << "\" status=\"run\" result=\"completed\" classname=\"CorpusReplay\">\n"
         << "      <properties><property name=\"inputs\" value=\"" << inputs << "\"/></properties>\n"
         << "    </testcase>\n"
         << "  </testsuite>\n"
         << "</testsuites>\n";
}

}  // namespace

int main(int argc, char** argv) {
  constexpr std::string_view kReportOption = "--gtest_output=xml:";
  std::string report;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.starts_with(kReportOption)) {
      report = argument.substr(kReportOption.size());
    } else if (fs::is_directory(argument)) {
      std::vector<fs::path> files;
      for (const auto& entry : fs::directory_iterator(argument))
        if (entry.is_regular_file()) files.push_back(entry.path());
      std::sort(files.begin(), files.end());
      inputs.insert(inputs.end(), files.begin(), files.end());
    } else if (fs::is_regular_file(argument)) {
      inputs.emplace_back(argument);
    } else {
      std::fprintf(stderr, "no such input: %s\n", argv[i]);
      return 2;
    }
  }

  std::printf("empty input\n");
  std::fflush(stdout);
  RunOne("");
  for (const fs::path& input : inputs) {
    std::printf("%s\n", input.string().c_str());
    std::fflush(stdout);
    RunOne(ReadBytes(input));
  }
  std::printf("%zu inputs passed\n", inputs.size() + 1);

  if (!report.empty()) {
    const fs::path self(argv[0]);
    const fs::path folder = fs::path(report).parent_path();
    if (!folder.empty()) fs::create_directories(folder);
    WriteReport(report, self.stem().string(), inputs.size() + 1);
  }
  return 0;
}
