#include <gtest/gtest.h>

#include "util/Unicode.h"

TEST(IsValidUtf8, AcceptsWellFormedTextOnly) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("Ao\xC3\xBBt \xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"));
  const char* malformed[] = {
      "Ao\xFBt",  // Windows-1252 "Août"
      "D\xE9"
      "cembre",            // Windows-1252 "Décembre": a lead byte without its continuation
      "\xC0\xAF",          // overlong '/'
      "\xE0\x80\xAF",      // overlong, three bytes
      "\xF0\x80\x80\xAF",  // overlong, four bytes
      "\xED\xA0\x80",      // a surrogate
      "\xF4\x90\x80\x80",  // above U+10FFFF
      "\xF5\x80\x80\x80",  // no such lead byte
      "\x80",              // a lone continuation byte
      "ab\xE2\x82",        // cut short at the end
  };
  for (const char* bytes : malformed) EXPECT_FALSE(IsValidUtf8(bytes)) << bytes;
}

// The edges of each rule: the lowest two-byte lead, the lowest second byte
// after E0 (below it the form is overlong), and every continuation byte.
TEST(IsValidUtf8, EachBoundaryOfALeadAndItsContinuations) {
  for (const char* bytes : {"\xC2\x80", "\xC2\xBF", "\xDF\xBF", "\xE0\xA0\x80", "\xE2\x82\xAC", "\xED\x9F\xBF",
                            "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"})
    EXPECT_TRUE(IsValidUtf8(bytes)) << bytes;
  const char* malformed[] = {
      "\xC1\xBF",          // overlong, two bytes
      "\xE0\x80\x80",      // overlong, three bytes: E0 80 to E0 9F
      "\xE0\x9F\xBF",
      "\xE2\x82\x41",      // a third byte that is no continuation
      "\xE2\x82\xC0",
      "\xE2\x82 ",
      "\xF0\x9F\x98\x41",  // a fourth one
      "\xF0\x9F\x41\x80",
  };
  for (const char* bytes : malformed) EXPECT_FALSE(IsValidUtf8(bytes)) << bytes;
}

TEST(Utf8FromUtf16, EitherByteOrderWithSurrogatePairs) {
  // "Aé€" and U+1F600, a surrogate pair.
  const std::string little("A\0\xE9\0\xAC\x20\x3D\xD8\x00\xDE", 10);
  const std::string big("\0A\0\xE9\x20\xAC\xD8\x3D\xDE\x00", 10);
  const std::string expected = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
  EXPECT_EQ(Utf8FromUtf16(little, false), expected);
  EXPECT_EQ(Utf8FromUtf16(big, true), expected);
}

TEST(Utf8FromUtf16, BrokenUnitsBecomeReplacementsAndAnOddByteIsDropped) {
  const std::string replacement = "\xEF\xBF\xBD";
  // A high surrogate before a plain letter, a lone low surrogate, then an odd byte.
  const std::string bytes(
      "\x00\xD8"
      "a\0"
      "\x00\xDC"
      "b",
      7);
  EXPECT_EQ(Utf8FromUtf16(bytes, false), replacement + "a" + replacement);
  // A high surrogate as the last unit.
  EXPECT_EQ(Utf8FromUtf16(std::string("\xD8\x00", 2), true), replacement);
  // A NUL stays a NUL: the ini reader ends the line there, as with any other file.
  EXPECT_EQ(Utf8FromUtf16(std::string("x\0\0\0", 4), false), std::string("x\0", 2));
}
