#include <gtest/gtest.h>

#include <random>

#include "settings/IniFile.h"

namespace {

std::string Read(const std::string& bytes, const std::string& section, const std::string& key,
                 const std::string& byDefault = "<default>") {
  return IniFile(bytes).ReadString(section, key, byDefault);
}

std::string Written(const std::string& bytes, const std::string& section, const std::string& key,
                    const std::string& value) {
  IniFile file(bytes);
  file.WriteString(section, key, value);
  return file.Bytes();
}

}  // namespace

TEST(IniFileRead, MatchesNamesWithoutCaseAndTrimsBlanks) {
  const std::string file =
      "  [ Page1 ]  \r\n"
      "\tupsport \x1A= \t 3 \x1A\r\n"
      "Language=English\r\n";
  EXPECT_EQ(Read(file, "PAGE1", "UPSPORT"), "3");
  EXPECT_EQ(Read(file, " page1 ", "\tUpsPort "), "3");
  EXPECT_EQ(Read(file, "PAGE1", "LANGUAGE"), "English");
}

TEST(IniFileRead, StripsOneOuterPairOfMatchingQuotes) {
  const std::string file =
      "[S]\r\n"
      "double=\"  spaced  \"\r\n"
      "single='x'\r\n"
      "inner=\"a\"b\"\r\n"
      "mixed=\"a'\r\n"
      "lone=\"\r\n"
      "empty=\"\"\r\n"
      "notOuter=a\"b\"\r\n";
  EXPECT_EQ(Read(file, "S", "double"), "  spaced  ");
  EXPECT_EQ(Read(file, "S", "single"), "x");
  EXPECT_EQ(Read(file, "S", "inner"), "a\"b");
  EXPECT_EQ(Read(file, "S", "mixed"), "\"a'");
  EXPECT_EQ(Read(file, "S", "lone"), "\"");
  EXPECT_EQ(Read(file, "S", "empty"), "");
  EXPECT_EQ(Read(file, "S", "notOuter"), "a\"b\"");
}

TEST(IniFileRead, TakesAtMost2047Characters) {
  std::string longValue(2047, 'a');
  longValue += "bcdef";
  const std::string file = "[S]\r\nplain=" + longValue + "\r\nquoted=\"" + longValue + "\"\r\n";
  EXPECT_EQ(Read(file, "S", "plain"), std::string(2047, 'a'));
  EXPECT_EQ(Read(file, "S", "quoted"), std::string(2047, 'a'));
}

TEST(IniFileRead, MissingGivesDefaultLessTrailingBlanksButEmptyValueGivesEmpty) {
  const std::string file = "[S]\r\nempty=\r\nblank=   \t\r\n";
  EXPECT_EQ(Read(file, "S", "empty"), "");
  EXPECT_EQ(Read(file, "S", "blank"), "");
  EXPECT_EQ(Read(file, "S", "missing", "Error, File not found : "), "Error, File not found :");
  EXPECT_EQ(Read(file, "T", "empty", " lead\t \x1A"), " lead");
  EXPECT_EQ(Read("", "S", "x", "\"quoted\""), "\"quoted\"");
}

TEST(IniFileRead, FirstMatchingSectionAndKeyWin) {
  const std::string file =
      "[S]\r\nk=first\r\nK=second\r\n"
      "[s]\r\nk=third\r\nonlyLater=x\r\n";
  EXPECT_EQ(Read(file, "S", "k"), "first");
  EXPECT_EQ(Read(file, "S", "onlyLater"), "<default>");
}

TEST(IniFileRead, LinesThatAreNotEntriesOrHeaders) {
  const std::string file =
      "before=section\r\n"
      "[S]\r\n"
      "bare\r\n"
      "[unclosed\r\n"
      "; comment=yes\r\n"
      "after=still S\r\n"
      "[A]b] trailing text\r\n"
      "k=v\r\n";
  EXPECT_EQ(Read(file, "S", "before"), "<default>");
  EXPECT_EQ(Read(file, "S", "bare"), "<default>");
  EXPECT_EQ(Read(file, "S", "after"), "still S");
  EXPECT_EQ(Read(file, "S", "; comment"), "yes");
  EXPECT_EQ(Read(file, "A]b", "k"), "v");
  EXPECT_EQ(Read(file, "A", "k"), "<default>");
}

TEST(IniFileRead, AcceptsEveryKindOfLineEnd) {
  EXPECT_EQ(Read("[S]\nk=lf\n", "S", "k"), "lf");
  EXPECT_EQ(Read("[S]\rk=cr\r", "S", "k"), "cr");
  EXPECT_EQ(Read("[S]\n\r\n\r\rk=mixed", "S", "k"), "mixed");
  EXPECT_EQ(Read("[S]\r\na=1\r\r\nk=end", "S", "k"), "end");
}

TEST(IniInteger, AcceptsSignedDecimalAndPrefixedHexadecimal) {
  const std::pair<const char*, int32_t> valid[] = {
      {"0", 0},
      {"42", 42},
      {"+7", 7},
      {"-7", -7},
      {"007", 7},
      {"$1f", 31},
      {"x1F", 31},
      {"X10", 16},
      {"0x3", 3},
      {"0XaB", 171},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$7FFFFFFF", INT32_MAX},
      {"$FFFFFFFF", -1},
      {"0x80000000", INT32_MIN},
      {"0x000000001", 1},
  };
  for (auto [text, expected] : valid) {
    int32_t value = 12345;
    EXPECT_TRUE(ParseIniInteger(text, value)) << text;
    EXPECT_EQ(value, expected) << text;
  }
}

TEST(IniInteger, RejectsEverythingElse) {
  const char* invalid[] = {"",
                           "abc",
                           "yes",
                           "-",
                           "+",
                           "$",
                           "0x",
                           "x",
                           "1a",
                           "1 2",
                           " 1",
                           "1.5",
                           "2147483648",
                           "-2147483649",
                           "-$1",
                           "+0x1",
                           "$g",
                           "0x100000000",
                           "99999999999999999999",
                           "0b1"};
  for (const char* text : invalid) {
    int32_t value = 12345;
    EXPECT_FALSE(ParseIniInteger(text, value)) << text;
    EXPECT_EQ(value, 12345) << text;
  }
}

TEST(IniInteger, IntegersAndFlagsReadThroughTheTextRule) {
  const IniFile file(
      "[S]\r\nquoted=\"12\"\r\nspaced= 0x3 \r\nword=abc\r\nempty=\r\n"
      "two=2\r\nzero=0\r\nyes=yes\r\n");
  EXPECT_EQ(file.ReadInteger("S", "quoted", 1), 12);
  EXPECT_EQ(file.ReadInteger("S", "spaced", 1), 3);
  EXPECT_EQ(file.ReadInteger("S", "word", 1), 1);
  EXPECT_EQ(file.ReadInteger("S", "empty", 1), 1);
  EXPECT_EQ(file.ReadInteger("S", "missing", -5), -5);
  EXPECT_TRUE(file.ReadFlag("S", "two", false));
  EXPECT_FALSE(file.ReadFlag("S", "zero", true));
  EXPECT_TRUE(file.ReadFlag("S", "yes", true));
  EXPECT_FALSE(file.ReadFlag("S", "yes", false));
}

TEST(IniFileWrite, ReplacesOnlyTheValueOfThatLine) {
  const std::string file =
      "; hand-written\r\n"
      "[PAGE1]\n"
      "  UpsPort =  3   \n"
      "\r\n"
      "other = keep  me \r\n"
      "[PAGE2]\r\n"
      "UPSPORT=9";
  EXPECT_EQ(Written(file, "page1", "UPSPORT", "5"),
            "; hand-written\r\n"
            "[PAGE1]\n"
            "  UpsPort =  5\n"
            "\r\n"
            "other = keep  me \r\n"
            "[PAGE2]\r\n"
            "UPSPORT=9");
  EXPECT_EQ(Written("[S]\r\nk=\r\n", "S", "k", "v"), "[S]\r\nk=v\r\n");
  EXPECT_EQ(Written("[S]\r\nk=old", "S", "k", ""), "[S]\r\nk=");
}

TEST(IniFileWrite, AddsAMissingKeyAfterTheLastLineOfItsSection) {
  const std::string file =
      "[A]\r\n"
      "x=1\r\n"
      "; note\r\n"
      "bare line\r\n"
      "\r\n"
      "[B]\r\n"
      "y=2\r\n";
  EXPECT_EQ(Written(file, "a", "new", "v"),
            "[A]\r\n"
            "x=1\r\n"
            "; note\r\n"
            "bare line\r\n"
            "new=v\r\n"
            "\r\n"
            "[B]\r\n"
            "y=2\r\n");
  EXPECT_EQ(Written("[A]\n[B]\n", "A", "k", "v"), "[A]\nk=v\r\n[B]\n");
  EXPECT_EQ(Written("[A]\r\nx=1", "A", "k", "v"), "[A]\r\nx=1\r\nk=v\r\n");
  // The first of two sections of the same name takes it.
  EXPECT_EQ(Written("[A]\r\n[A]\r\nk=old\r\n", "A", "k", "v"), "[A]\r\nk=v\r\n[A]\r\nk=old\r\n");
}

TEST(IniFileWrite, AppendsAMissingSectionAtTheEnd) {
  EXPECT_EQ(Written("", "PAGE1", "UPSPORT", "1"), "[PAGE1]\r\nUPSPORT=1\r\n");
  EXPECT_EQ(Written("[A]\r\nx=1\r\n", "B", "k", "v"), "[A]\r\nx=1\r\n[B]\r\nk=v\r\n");
  EXPECT_EQ(Written("[A]\r\nx=1", "B", "k", "v"), "[A]\r\nx=1\r\n[B]\r\nk=v\r\n");
  EXPECT_EQ(Written("[A]\nx=1\n\n", "B", "k", "v"), "[A]\nx=1\n\n[B]\r\nk=v\r\n");
  // A lone CR ends the last line already: no empty line goes in before the section.
  IniFile file("[A]\rx=1\r");
  file.WriteString("B", "k", "v");
  EXPECT_EQ(file.Bytes(), "[A]\rx=1\r[B]\r\nk=v\r\n");
  EXPECT_EQ(file.ReadString("A", "x", ""), "1");
  EXPECT_EQ(file.ReadString("B", "k", ""), "v");
  EXPECT_EQ(Written("[A]\rx=1\r", "A", "k", "v"), "[A]\rx=1\rk=v\r\n");
}

TEST(IniFileWrite, BareNameBecomesAnEntry) {
  EXPECT_EQ(Written("[S]\r\n  Key  \r\nKey=later\r\n", "S", "KEY", "v"), "[S]\r\n  Key=v\r\nKey=later\r\n");
}

TEST(IniFileWrite, ValueStopsAtALineEndSoNoLinesAreInjected) {
  IniFile file("[PAGE3]\r\n");
  file.WriteString("PAGE3", "LANGUAGE", "English\r\n[DEBUG]\r\nDEBUG_LOG=1");
  EXPECT_EQ(file.Bytes(), "[PAGE3]\r\nLANGUAGE=English\r\n");
  EXPECT_FALSE(file.ReadFlag("DEBUG", "DEBUG_LOG", false));
}

TEST(IniFileWrite, ValuesThatReadingWouldChangeAreQuotedAndReadBackExactly) {
  EXPECT_EQ(Written("", "S", "k", "plain \"inner\" text"), "[S]\r\nk=plain \"inner\" text\r\n");
  EXPECT_EQ(Written("", "S", "k", " padded\t"), "[S]\r\nk=\" padded\t\"\r\n");
  EXPECT_EQ(Written("", "S", "k", "'q'"), "[S]\r\nk=\"'q'\"\r\n");
  for (const std::string value : {" lead", "trail\v", "\"q\"", "'q'", "\"", "\"a'", "\x1A", "  "}) {
    IniFile file("[S]\r\nk=old\r\n");
    file.WriteString("S", "k", value);
    EXPECT_EQ(file.ReadString("S", "k", "<default>"), value) << file.Bytes();
  }
}

TEST(IniFileWrite, IntegersInDecimalAndFlagsAsOneOrZero) {
  IniFile file;
  file.WriteInteger("S", "n", -42);
  file.WriteFlag("S", "yes", true);
  file.WriteFlag("S", "no", false);
  EXPECT_EQ(file.Bytes(), "[S]\r\nn=-42\r\nyes=1\r\nno=0\r\n");
}

TEST(IniFileMalformed, SurvivesGarbageAndStillReadsWhatItWrote) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(random() % 4000, '\0');
    for (char& c : bytes) {
      // Lean towards the characters that mean something in the file.
      static const char kMeaningful[] = "[]=\r\n \t\"';\x1A\0Sk";
      c = random() % 3 ? static_cast<char>(random()) : kMeaningful[random() % (sizeof kMeaningful - 1)];
    }
    IniFile file(bytes);
    file.ReadString("S", "k", "d");
    file.ReadInteger("S", "k", 0);
    file.WriteString("S", "k", "value");
    file.WriteString("New", "key", "other");
    EXPECT_EQ(file.ReadString("S", "k", "d"), "value") << "round " << round;
    EXPECT_EQ(file.ReadString("New", "key", "d"), "other") << "round " << round;
  }
}

TEST(IniFileMalformed, HugeLinesNulsAndMissingLineEnds) {
  const std::string huge(10 * 1024 * 1024, 'x');
  using namespace std::string_literals;
  IniFile file(huge + "\r\n[S]\r\nk=" + huge + "\r\nnul\0key=1\r\nk2=a\0b\r\n"s + huge);
  EXPECT_EQ(file.ReadString("S", "k", ""), std::string(2047, 'x'));
  // A NUL ends a name or a value, as it does for the system's reader.
  EXPECT_EQ(file.ReadString("S", "nul", ""), "1");
  EXPECT_EQ(file.ReadString("S", "k2", ""), "a");
  file.WriteString("S", "k", "short");
  file.WriteString("S", "added", "v");
  EXPECT_EQ(file.ReadString("S", "k", ""), "short");
  EXPECT_EQ(file.ReadString("S", "added", ""), "v");
  EXPECT_EQ(file.ReadString("S", std::string(2047, 'x'), "none"), "none");

  IniFile noLineEnds(std::string(1 << 20, '['));
  EXPECT_EQ(noLineEnds.ReadString("S", "k", "d"), "d");
  noLineEnds.WriteString("S", "k", "v");
  EXPECT_EQ(noLineEnds.ReadString("S", "k", "d"), "v");
}
