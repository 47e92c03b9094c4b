#include <gtest/gtest.h>

#include "util/TAString.h"

TEST(TAStringCutText, CutsFromEitherEndAndEmptiesWhenCountReachesLength) {
  TAString text;
  std::string result = "old";
  text.CutText("abcdef", 2, true, result);
  EXPECT_EQ(result, "cdef");
  text.CutText("abcdef", 2, false, result);
  EXPECT_EQ(result, "abcd");
  text.CutText("abcdef", 0, true, result);
  EXPECT_EQ(result, "abcdef");
  for (int count : {6, 7, 1000}) {
    result = "old";
    text.CutText("abcdef", count, true, result);
    EXPECT_EQ(result, "");
    result = "old";
    text.CutText("abcdef", count, false, result);
    EXPECT_EQ(result, "");
  }
}

TEST(TAStringSplit, TakesTheFirstSeparatorOnly) {
  TAString text;
  std::string before, after;
  EXPECT_TRUE(text.Split_String("2024/03/05,SHUTDOWN", ',', before, after));
  EXPECT_EQ(before, "2024/03/05");
  EXPECT_EQ(after, "SHUTDOWN");
  EXPECT_TRUE(text.Split_String("x,y,z", ',', before, after));
  EXPECT_EQ(before, "x");
  EXPECT_EQ(after, "y,z");
}

TEST(TAStringSplit, SeparatorAtEitherEndGivesEmptyParts) {
  TAString text;
  std::string before = "?", after = "?";
  EXPECT_TRUE(text.Split_String(",abc", ',', before, after));
  EXPECT_EQ(before, "");
  EXPECT_EQ(after, "abc");
  EXPECT_TRUE(text.Split_String("abc,", ',', before, after));
  EXPECT_EQ(before, "abc");
  EXPECT_EQ(after, "");
  EXPECT_TRUE(text.Split_String(",", ',', before, after));
  EXPECT_EQ(before, "");
  EXPECT_EQ(after, "");
}

TEST(TAStringSplit, NothingToSplitLeavesOutputsAlone) {
  TAString text;
  std::string before = "keep1", after = "keep2";
  EXPECT_FALSE(text.Split_String("", ',', before, after));
  EXPECT_FALSE(text.Split_String("no separator", ',', before, after));
  EXPECT_EQ(before, "keep1");
  EXPECT_EQ(after, "keep2");
}

TEST(TAStringSplit, ComparesBytesExactly) {
  TAString text;
  std::string before, after;
  const std::string withHighBytes = "\xE9t\xE9\xA0\xE9";
  EXPECT_TRUE(text.Split_String(withHighBytes, '\xA0', before, after));
  EXPECT_EQ(before, "\xE9t\xE9");
  EXPECT_EQ(after, "\xE9");
  const std::string withNul("a\0b", 3);
  EXPECT_TRUE(text.Split_String(withNul, '\0', before, after));
  EXPECT_EQ(before, "a");
  EXPECT_EQ(after, "b");
}

// The overview window takes the fields of an entry this way, the rest staying in the entry's variable.
TEST(TAStringSplit, AfterMayBeTheTextsOwnVariable) {
  TAString text;
  std::string entry = "2024/05/17,SHUTDOWN,08:30,1";
  std::string day, kind, time;
  EXPECT_TRUE(text.Split_String(entry, ',', day, entry));
  EXPECT_TRUE(text.Split_String(entry, ',', kind, entry));
  EXPECT_TRUE(text.Split_String(entry, ',', time, entry));
  EXPECT_EQ(day, "2024/05/17");
  EXPECT_EQ(kind, "SHUTDOWN");
  EXPECT_EQ(time, "08:30");
  EXPECT_EQ(entry, "1");
  std::string unused = "unchanged";
  EXPECT_FALSE(text.Split_String(entry, ',', unused, entry));
  EXPECT_EQ(entry, "1");
  EXPECT_EQ(unused, "unchanged");

  std::string both = "left,right";
  EXPECT_TRUE(text.Split_String(both, ',', both, kind));
  EXPECT_EQ(both, "left");
  EXPECT_EQ(kind, "right");
}

TEST(TAStringReplace, ReplacesTheFirstOccurrenceOnly) {
  TAString text;
  std::string value = "x-y-z";
  EXPECT_TRUE(text.Replace_String(value, "-", "+"));
  EXPECT_EQ(value, "x+y-z");
  EXPECT_TRUE(text.Replace_String(value, "x+", ""));
  EXPECT_EQ(value, "y-z");
  EXPECT_TRUE(text.Replace_String(value, "z", "zzz"));
  EXPECT_EQ(value, "y-zzz");
}

TEST(TAStringReplace, MissingOrEmptyOldTextChangesNothing) {
  TAString text;
  std::string value = "x-y-z";
  EXPECT_FALSE(text.Replace_String(value, "X", "+"));
  EXPECT_FALSE(text.Replace_String(value, "", "+"));
  EXPECT_FALSE(text.Replace_String(value, "x-y-z-", "+"));
  EXPECT_EQ(value, "x-y-z");
  std::string empty;
  EXPECT_FALSE(text.Replace_String(empty, "a", "b"));
  EXPECT_EQ(empty, "");
}
