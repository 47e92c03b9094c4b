// Which encoding a language file is read in, on the files as editors save them.
#include <gtest/gtest.h>

#include "i18n/LanguageFileText.h"
#include "i18n/TINI_LANGUAGE.h"
#include "support/ScratchFolder.h"

namespace {

std::string EncodingSample(const std::string& name) {
  return ReadFileBytes(std::string(OMBREL_TEST_DATA) + "/language-encodings/" + name);
}

}  // namespace

// The same French texts saved as UTF-8 without a mark, as UTF-16 with a mark
// in either byte order, and in Windows-1252.
TEST(LanguageFileText, FilesAsNotepadSavesThem) {
  const std::string utf8 = EncodingSample("utf8-without-mark.ini");
  ASSERT_NE(utf8.find("Ao\xC3\xBBt"), std::string::npos);
  for (const char* name : {"utf8-without-mark.ini", "utf16-little-endian.ini", "utf16-big-endian.ini"}) {
    LanguageFileText decoded = DecodeLanguageFile(EncodingSample(name));
    EXPECT_TRUE(decoded.Utf8) << name;
    EXPECT_EQ(decoded.Text, utf8) << name;
  }
  const std::string cp1252 = EncodingSample("windows-1252.ini");
  ASSERT_NE(cp1252.find("Ao\xFBt"), std::string::npos);
  LanguageFileText decoded = DecodeLanguageFile(cp1252);
  EXPECT_FALSE(decoded.Utf8);
  EXPECT_EQ(decoded.Text, cp1252);

  // Every one of them gives the table its keys.
  for (const char* name :
       {"utf8-without-mark.ini", "utf16-little-endian.ini", "utf16-big-endian.ini", "windows-1252.ini"}) {
    TINI_LANGUAGE table;
    table.Path = std::string(OMBREL_TEST_DATA) + "/language-encodings/" + name;
    table.Load();
    EXPECT_EQ(table.CANCEL, "Annuler") << name;
    EXPECT_EQ(table.CLOSE, "Fermer") << name;
  }
}

TEST(LanguageFileText, MarksAndTheirAbsence) {
  // The UTF-8 mark goes, even before bytes that are not UTF-8.
  LanguageFileText marked = DecodeLanguageFile("\xEF\xBB\xBF[A]\r\nK=\xFB\r\n");
  EXPECT_TRUE(marked.Utf8);
  EXPECT_EQ(marked.Text, "[A]\r\nK=\xFB\r\n");
  // Plain ASCII stays in the system's code page, where it reads the same.
  EXPECT_FALSE(DecodeLanguageFile("[A]\r\nK=v\r\n").Utf8);
  EXPECT_FALSE(DecodeLanguageFile("").Utf8);
  // A UTF-16 mark alone gives an empty file; one byte more is dropped.
  EXPECT_EQ(DecodeLanguageFile("\xFF\xFE").Text, "");
  EXPECT_EQ(DecodeLanguageFile("\xFE\xFF"
                               "a")
                .Text,
            "");
  // The mark counts only at the start.
  LanguageFileText late = DecodeLanguageFile("a\xFF\xFE");
  EXPECT_FALSE(late.Utf8);
  EXPECT_EQ(late.Text, "a\xFF\xFE");
}

// Without a mark, a file is UTF-8 when every byte beyond ASCII is part of a
// whole sequence: punctuation of U+0080 to U+00BF alone makes it so, a broken
// or overlong sequence leaves it in the code page, bytes as they stand.
TEST(LanguageFileText, Utf8WithoutAMarkOnlyWhenEverySequenceIsWhole) {
  for (const char* text : {"[A]\r\nK=\xC2\xAB Oui \xC2\xBB\r\n", "[A]\r\nK=\xC2\xBFQu\xC3\xA9?\xC2\xA1\r\n",
                           "[A]\r\nK=20\xC2\xB0\r\n"}) {
    const LanguageFileText decoded = DecodeLanguageFile(text);
    EXPECT_TRUE(decoded.Utf8) << text;
    EXPECT_EQ(decoded.Text, text);
  }
  for (const char* text : {"[A]\r\nK=\xC2\xAB \xE2\x82\x41\r\n", "[A]\r\nK=\xE0\x80\xAB\r\n",
                           "[A]\r\nK=\xC2\xAB\xE0\x9F\xBB\r\n"}) {
    const LanguageFileText decoded = DecodeLanguageFile(text);
    EXPECT_FALSE(decoded.Utf8) << text;
    EXPECT_EQ(decoded.Text, text);
  }
}
