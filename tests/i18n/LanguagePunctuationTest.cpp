// The punctuation of each shipped language, as its readers write it: French
// puts a no-break space (0xA0 in the files' Windows-1252 bytes) before ? ! :
// and ; so that the sign never starts a line alone; German and Spanish put
// no blank before a colon.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/ScratchFolder.h"

namespace {

// The values of a language file, each with its key.
std::vector<std::pair<std::string, std::string>> Values(const std::string& language) {
  const std::string bytes =
      ReadFileBytes((std::filesystem::path(OMBREL_LANGUAGES_DIR) / language / "setup.ini").string());
  std::vector<std::pair<std::string, std::string>> values;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(start, end - start);
    start = end + 2;
    if (size_t equals = line.find('='); equals != std::string::npos && !line.starts_with("["))
      values.emplace_back(line.substr(0, equals), line.substr(equals + 1));
  }
  return values;
}

// Where a sign of signs stands after the blank `before` in a value.
bool SignAfter(const std::string& value, char before, const std::string& signs) {
  for (size_t at = 1; at < value.size(); ++at)
    if (signs.find(value[at]) != std::string::npos && value[at - 1] == before) return true;
  return false;
}

TEST(LanguagePunctuation, FrenchKeepsItsSignsOnTheirLineWithANoBreakSpace) {
  const auto values = Values("Francais");
  ASSERT_GT(values.size(), 90u);
  int signs = 0;
  for (const auto& [key, value] : values) {
    EXPECT_FALSE(SignAfter(value, ' ', "?!:;")) << key << "=" << value;
    // A sign right after a letter, without the space the language wants.
    for (size_t at = 1; at < value.size(); ++at) {
      if (std::string("?!;").find(value[at]) == std::string::npos) continue;
      EXPECT_EQ(value[at - 1], '\xA0') << key << "=" << value;
    }
    signs += SignAfter(value, '\xA0', "?!:;");
  }
  EXPECT_GE(signs, 5);  // the questions and the time labels
}

TEST(LanguagePunctuation, NoBlankBeforeAColonInGermanAndSpanish) {
  for (const char* language : {"Deutsch", "Espanol"}) {
    for (const auto& [key, value] : Values(language)) {
      EXPECT_FALSE(SignAfter(value, ' ', ":")) << language << ": " << key << "=" << value;
      EXPECT_FALSE(SignAfter(value, '\xA0', ":")) << language << ": " << key << "=" << value;
    }
  }
}

}  // namespace
