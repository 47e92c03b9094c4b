// Our ini reader against the system's GetPrivateProfileStringA on generated
// files: the same file, section, key and default must give the same text.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <random>
#include <sstream>

#include "settings/IniFile.h"
#include "support/ScratchFolder.h"

namespace {

// Concatenation without "literal" + std::string, which trips a false
// -Wrestrict warning in GCC 12.
std::string Join(std::initializer_list<std::string> parts) {
  std::string joined;
  for (const std::string& part : parts) joined += part;
  return joined;
}

// Builds random ini files from the pieces whose handling matters: blanks and
// tabs around names and values, quotes of both kinds, letter case, missing
// and repeated sections and keys, empty and over-long values, lines that are
// not entries. ASCII only, so that no code page comes into it.
class IniGenerator {
public:
  explicit IniGenerator(unsigned seed) : random_(seed) {}

  std::string File() {
    std::string text;
    int lines = Pick(0, 14);
    for (int i = 0; i < lines; ++i) text += Line() + LineEnd();
    if (Chance(4)) text += Line();  // the last line without a line end
    return text;
  }

  std::string Section() { return Mix(Choose({"S1", "S2", "S3", "Page1"})); }
  std::string Key() { return Mix(Choose({"k1", "k2", "key three", "UPSPORT"})); }
  std::string Default() {
    return Choose({"def", "", "two words", "x  ", "   ", " lead", "x\t", "\"q\"", "'q'"});
  }
  std::string Blanks() { return Choose({"", "", " ", "\t", "  \t ", "\x1A"}); }

private:
  std::string Line() {
    switch (Pick(0, 9)) {
      case 0:
      case 1:
        return Join({Blanks(), "[", Blanks(), Section(), "]", Choose({"", "", " ; note", "x]"})});
      case 2:
        return Join({"[", Section()});  // unclosed: an ordinary line
      case 3:
        return Join({Blanks(), Key()});  // no '='
      case 4:
        return Join({";", Key(), "=", Value()});
      case 5:
        return Blanks();
      default:
        return Join({Blanks(), Key(), Blanks(), "=", Blanks(), Value(), Blanks()});
    }
  }

  std::string Value() {
    switch (Pick(0, 12)) {
      case 0:
        return "";
      case 1:
        return Join({"\"", Word(), "\""});
      case 2:
        return Join({"'", Word(), "'"});
      case 3:
        return Join({"\"", Word(), "'"});
      case 4:
        return "\"a\"b\"";
      case 5:
        return "\"";
      case 6:
        return "''";
      case 7:
        return std::string(static_cast<size_t>(Pick(2040, 2055)), 'L');
      case 8:
        return Join({"\"", std::string(QuotedLength(), 'Q'), "\""});
      case 9:
        return Join({Word(), "\t", Word()});
      case 10:
        return Join({Word(), std::string(1, '\0'), Word()});
      default:
        return Word();
    }
  }

  // Wine's reader gives only 2046 characters of a quoted value whose inside is
  // exactly 2047 long (it drops the last one along with the closing quote);
  // ours keeps all 2047, as "quotes removed, at most 2047 characters" says.
  size_t QuotedLength() {
    int length = Pick(2040, 2055);
    return static_cast<size_t>(length == 2047 ? 2048 : length);
  }

  std::string Word() { return Choose({"1", "0x1F", "abc", "two words", "=", "C:\\path\\", " pad "}); }
  std::string LineEnd() { return Choose({"\r\n", "\r\n", "\r\n", "\n", "\r\n\r\n", "\r", "\n\r"}); }

  std::string Mix(std::string name) {
    for (char& c : name)
      if (Chance(3))
        c = static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c)
                                                                          : std::toupper(c));
    return name;
  }

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(int oneIn) { return Pick(1, oneIn) == 1; }
  std::string Choose(std::initializer_list<const char*> choices) {
    return *(choices.begin() + Pick(0, static_cast<int>(choices.size()) - 1));
  }

  std::mt19937 random_;
};

std::string SystemRead(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& byDefault) {
  std::string buffer(2048, '\0');
  DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), byDefault.c_str(), buffer.data(),
                                          static_cast<DWORD>(buffer.size()), path.c_str());
  buffer.resize(length);
  return buffer;
}

std::string Visible(const std::string& text) {
  std::ostringstream out;
  for (char c : text) {
    if (c == '\r')
      out << "\\r";
    else if (c == '\n')
      out << "\\n\n    ";
    else if (c == '\t')
      out << "\\t";
    else if (c == '\x1A')
      out << "\\x1A";
    else if (c == '\0')
      out << "\\0";
    else
      out << c;
  }
  std::string shown = out.str();
  return shown.size() > 400 ? shown.substr(0, 400) + "..." : shown;
}

// Defaults that Wine's profile functions treat otherwise than our reader:
// they strip only spaces (not tabs or other blanks) from the end of a default,
// keep one space of an all-space default, and strip quotes from a default as
// from a value. Our reader gives the default less all blanks at its end,
// nothing more. The program's own defaults have none of these forms.
bool DefaultReadDifferently(const std::string& byDefault) {
  if (byDefault.empty()) return false;
  bool allSpaces = byDefault.find_first_not_of(' ') == std::string::npos;
  bool endsInOtherBlank =
      byDefault.back() != ' ' && std::isspace(static_cast<unsigned char>(byDefault.back()));
  bool quoted = byDefault.size() >= 2 && (byDefault[0] == '"' || byDefault[0] == '\'') &&
                byDefault.back() == byDefault[0];
  return allSpaces || endsInOtherBlank || quoted;
}

}  // namespace

TEST(IniDifferential, ReadsLikeTheSystemProfileFunctions) {
  ScratchFolder folder;
  // INI_DIFFERENTIAL_SEED picks another set of files when hunting for differences.
  const char* seedText = std::getenv("INI_DIFFERENTIAL_SEED");
  IniGenerator generate(seedText ? static_cast<unsigned>(std::atoi(seedText)) : 1234567);
  int compared = 0, differences = 0;
  for (int fileNumber = 0; fileNumber < 400; ++fileNumber) {
    const std::string bytes = generate.File();
    // A fresh name for every file: the system keeps files it has read in a cache.
    const std::string path = folder.File("case" + std::to_string(fileNumber) + ".ini");
    folder.Write("case" + std::to_string(fileNumber) + ".ini", bytes);
    const IniFile ours(bytes);
    for (int query = 0; query < 12; ++query) {
      std::string section = generate.Section(), key = generate.Key(), byDefault = generate.Default();
      if (query % 4 == 0) section = generate.Blanks() + section + generate.Blanks();
      if (query % 4 == 1) key = generate.Blanks() + key + generate.Blanks();
      if (DefaultReadDifferently(byDefault)) continue;
      std::string expected = SystemRead(path, section, key, byDefault);
      std::string actual = ours.ReadString(section, key, byDefault);
      ++compared;
      if (actual != expected && ++differences <= 10) {
        ADD_FAILURE() << "file:\n    " << Visible(bytes) << "\nsection [" << Visible(section) << "] key ["
                      << Visible(key) << "] default [" << Visible(byDefault) << "]\n  system: ["
                      << Visible(expected) << "] (" << expected.size() << ")\n  ours:   [" << Visible(actual)
                      << "] (" << actual.size() << ")";
      }
    }
  }
  EXPECT_EQ(differences, 0) << "of " << compared << " reads";
  EXPECT_GT(compared, 2000);
}
