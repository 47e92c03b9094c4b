#include <gtest/gtest.h>

#include "util/TAString.h"

TEST(TAString, CutTextFromEitherEnd) {
  TAString text;
  std::string result;
  text.CutText("abcdef", 2, true, result);
  EXPECT_EQ(result, "cdef");
  text.CutText("abcdef", 2, false, result);
  EXPECT_EQ(result, "abcd");
  text.CutText("abcdef", 0, false, result);
  EXPECT_EQ(result, "abcdef");
  for (bool fromStart : {true, false}) {
    result = "old";
    text.CutText("abcdef", 6, fromStart, result);
    EXPECT_EQ(result, "");
    result = "old";
    text.CutText("abcdef", 99, fromStart, result);
    EXPECT_EQ(result, "");
  }
}

TEST(TAString, SplitAtTheFirstSeparatorOnly) {
  TAString text;
  std::string before = "keep1", after = "keep2";
  EXPECT_FALSE(text.Split_String("", ',', before, after));
  EXPECT_FALSE(text.Split_String("no separator", ',', before, after));
  EXPECT_EQ(before + after, "keep1keep2");

  EXPECT_TRUE(text.Split_String("x,y,z", ',', before, after));
  EXPECT_EQ(before + "|" + after, "x|y,z");
  EXPECT_TRUE(text.Split_String(",abc", ',', before, after));
  EXPECT_EQ(before + "|" + after, "|abc");
  EXPECT_TRUE(text.Split_String("abc,", ',', before, after));
  EXPECT_EQ(before + "|" + after, "abc|");
  EXPECT_TRUE(text.Split_String(",", ',', before, after));
  EXPECT_EQ(before + "|" + after, "|");
  EXPECT_TRUE(text.Split_String("\xE9t\xE9\xA0\xE9", '\xA0', before, after));
  EXPECT_EQ(before + "|" + after, "\xE9t\xE9|\xE9");
}

// The overview window takes the fields of an entry this way, the rest staying in the entry's variable.
TEST(TAString, SplitIntoTheTextsOwnVariable) {
  TAString text;
  std::string entry = "2024/05/17,SHUTDOWN,08:30,1";
  std::string day, kind, time;
  EXPECT_TRUE(text.Split_String(entry, ',', day, entry));
  EXPECT_TRUE(text.Split_String(entry, ',', kind, entry));
  EXPECT_TRUE(text.Split_String(entry, ',', time, entry));
  EXPECT_EQ(day + "|" + kind + "|" + time + "|" + entry, "2024/05/17|SHUTDOWN|08:30|1");
  EXPECT_FALSE(text.Split_String(entry, ',', day, entry));
  EXPECT_EQ(entry, "1");
  EXPECT_EQ(day, "2024/05/17");
}

TEST(TAString, ReplaceTheFirstOccurrenceOnly) {
  TAString text;
  std::string value = "x-y-z";
  EXPECT_TRUE(text.Replace_String(value, "-", "+"));
  EXPECT_EQ(value, "x+y-z");
  EXPECT_TRUE(text.Replace_String(value, "x+", ""));
  EXPECT_EQ(value, "y-z");
  EXPECT_FALSE(text.Replace_String(value, "X", "+"));
  EXPECT_FALSE(text.Replace_String(value, "", "+"));
  EXPECT_FALSE(text.Replace_String(value, "y-z-", "+"));
  EXPECT_EQ(value, "y-z");
}
