// A language file in UTF-8 or UTF-16: its texts reach the
// program in the system's code page, so the windows show them as written.
#include <gtest/gtest.h>
#include <windows.h>

#include "i18n/TINI_LANGUAGE.h"
#include "support/ScratchFolder.h"

namespace {

// The text as the windows show it: the program's bytes read in the system's code page.
std::wstring Shown(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                   static_cast<int>(wide.size()));
  wide.resize(length);
  return wide;
}

TINI_LANGUAGE LoadUtf8(const ScratchFolder& folder, const std::string& body) {
  folder.Write("setup.ini", "\xEF\xBB\xBF" + body);
  TINI_LANGUAGE table;
  table.Path = folder.File("setup.ini");
  table.Load();
  return table;
}

}  // namespace

TEST(Utf8LanguageFile, TextsShowAsWritten) {
  ScratchFolder folder;
  // "Schließen", "Übernehmen" and "März" in UTF-8.
  TINI_LANGUAGE table = LoadUtf8(folder,
                                 "[SETUP_PAGE_2]\r\nMARCH=M\xC3\xA4rz\r\nAPPLY=\xC3\x9C"
                                 "bernehmen\r\n[VIEW_ALL_PAGE]\r\nCLOSE=Schlie\xC3\x9F"
                                 "en\r\n");
  if (GetACP() != 1252 && GetACP() != CP_UTF8)
    GTEST_SKIP() << "code page " << GetACP() << " lacks the letters";
  EXPECT_EQ(Shown(table.CLOSE), L"Schlie\u00DFen");
  EXPECT_EQ(Shown(table.APPLY), L"\u00DCbernehmen");
  EXPECT_EQ(Shown(table.MARCH), L"M\u00E4rz");
}

TEST(Utf8LanguageFile, LettersTheCodePageLacksShowAsQuestionMarks) {
  ScratchFolder folder;
  // A Cyrillic and a CJK letter, and a malformed sequence (a lone lead byte).
  TINI_LANGUAGE table = LoadUtf8(
      folder, "[COMMON_SETUP]\r\nOK=\xD0\x96\r\nCANCEL=\xE4\xB8\xAD\r\n[SETUP_PAGE_3]\r\nDAYS=a\xC3z\r\n");
  if (GetACP() == CP_UTF8) GTEST_SKIP() << "a UTF-8 system shows every letter";
  for (const std::string* text : {&table.OK, &table.CANCEL}) {
    std::wstring shown = Shown(*text);
    // The letter itself where the code page has it, a '?' where not; never mojibake.
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown == L"?" || shown == L"\u0416" || shown == L"\u4E2D") << text->size();
  }
  EXPECT_EQ(table.DAYS, "a?z");
}

// The same French texts saved by an editor as UTF-8 without a mark, as UTF-16
// with a mark in either byte order, and in Windows-1252: each shows as written.
TEST(LanguageFileEncoding, FilesAsNotepadSavesThemShowAsWritten) {
  if (GetACP() != 1252) GTEST_SKIP() << "the Windows-1252 file needs that code page, not " << GetACP();
  for (const char* name :
       {"utf8-without-mark.ini", "utf16-little-endian.ini", "utf16-big-endian.ini", "windows-1252.ini"}) {
    TINI_LANGUAGE table;
    table.Path = std::string(OMBREL_TEST_DATA) + "\\language-encodings\\" + name;
    table.Load();
    EXPECT_EQ(Shown(table.AUGUST), L"Ao\u00FBt") << name;
    EXPECT_EQ(Shown(table.DECEMBER), L"D\u00E9cembre") << name;
    EXPECT_EQ(Shown(table.CANCEL), L"Annuler") << name;
  }
}
