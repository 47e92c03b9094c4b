#include <gtest/gtest.h>

#include <set>

#include "i18n/TINI_LANGUAGE.h"
#include "settings/IniFile.h"
#include "support/ScratchFolder.h"

namespace {

class LanguageFile : public ::testing::Test {
protected:
  TINI_LANGUAGE LoadFrom(const std::string& bytes) {
    folder.Write("setup.ini", bytes);
    TINI_LANGUAGE table;
    table.Path = folder.File("setup.ini");
    table.Load();
    return table;
  }
  ScratchFolder folder;
};

}  // namespace

TEST(LanguageTable, EveryEntryOnceWithItsFieldHoldingTheEnglishDefault) {
  TINI_LANGUAGE table;
  EXPECT_EQ(table.FONTSIZE, 8);
  EXPECT_EQ(table.Path, "");
  std::set<std::string> keys;
  std::set<const std::string*> fields;
  int integers = 0;
  for (const LanguageEntry& entry : LanguageEntries()) {
    EXPECT_TRUE(keys.insert(entry.Key).second) << entry.Key;
    if (!entry.Text) {
      ++integers;
      continue;
    }
    EXPECT_TRUE(fields.insert(&(table.*entry.Text)).second) << entry.Key;
    EXPECT_EQ(table.*entry.Text, entry.EnglishDefault) << entry.Key;
  }
  EXPECT_EQ(keys.size(), 106u);
  EXPECT_EQ(integers, 1);
  EXPECT_EQ(table.MESSAGE_ERROR_FILE_NOT_FOUND, "Error, File not found : ");
  EXPECT_EQ(table.FONTNAME, "Microsoft Sans Serif");
  EXPECT_EQ(table.GENERIC_SERIES, "Generic Series [ Dry contact ]");
}

TEST(LanguageTable, SectionsComeInFileOrder) {
  const std::vector<std::string> order = {"COMMON_SETUP", "SETUP_PAGE_1",  "SETUP_PAGE_2",
                                          "SETUP_PAGE_3", "VIEW_ALL_PAGE", "MESSAGE"};
  std::vector<std::string> seen;
  for (const LanguageEntry& entry : LanguageEntries())
    if (seen.empty() || seen.back() != entry.Section) seen.push_back(entry.Section);
  EXPECT_EQ(seen, order);
  EXPECT_STREQ(LanguageEntries().front().Key, "FONTNAME");
  EXPECT_STREQ(LanguageEntries()[1].Key, "FONTSIZE");
  EXPECT_STREQ(LanguageEntries().back().Key, "MESSAGE_SETUP_IN_USE");
}

TEST_F(LanguageFile, ReadsEveryEntryFromItsOwnSection) {
  // A file naming every entry "<key>!" in its section, except FONTSIZE.
  std::string bytes;
  std::string section;
  for (const LanguageEntry& entry : LanguageEntries()) {
    if (section != entry.Section) bytes += "[" + (section = entry.Section) + "]\r\n";
    bytes += std::string(entry.Key) + "=" + (entry.Text ? std::string(entry.Key) + "!" : "11") + "\r\n";
  }
  TINI_LANGUAGE table = LoadFrom(bytes);
  EXPECT_EQ(table.FONTSIZE, 11);
  for (const LanguageEntry& entry : LanguageEntries()) {
    if (!entry.Text) continue;
    EXPECT_EQ(table.*entry.Text, std::string(entry.Key) + "!");
  }
}

TEST_F(LanguageFile, MissingEntriesTakeTheirDefaultsLessTrailingBlanks) {
  TINI_LANGUAGE table = LoadFrom(
      "[COMMON_SETUP]\r\nFONTNAME=Tahoma\r\n"
      "[MESSAGE]\r\nOK=wrong section\r\n");
  EXPECT_EQ(table.FONTNAME, "Tahoma");
  EXPECT_EQ(table.FONTSIZE, 8);
  EXPECT_EQ(table.OK, "OK");
  EXPECT_EQ(table.SHUTDOWN_TIME, "Shutdown Time :");
  EXPECT_EQ(table.MESSAGE_ERROR_FILE_NOT_FOUND, "Error, File not found :");
}

TEST_F(LanguageFile, ValuesAreTrimmedUnquotedAndCut) {
  TINI_LANGUAGE table = LoadFrom(
      "[COMMON_SETUP]\r\nFONTNAME=\r\nFONTSIZE=abc\r\nOK=   Fine\t\r\nCANCEL=\"  Stop  \"\r\n"
      "[MESSAGE]\r\nMESSAGE_CONFIRM_DETECT=" +
      std::string(3000, 'q') + "\r\n");
  EXPECT_EQ(table.FONTNAME, "");
  EXPECT_EQ(table.FONTSIZE, 8);
  EXPECT_EQ(table.OK, "Fine");
  EXPECT_EQ(table.CANCEL, "  Stop  ");
  EXPECT_EQ(table.MESSAGE_CONFIRM_DETECT, std::string(2047, 'q'));
  EXPECT_EQ(LoadFrom("[COMMON_SETUP]\r\nFONTSIZE=0\r\n").FONTSIZE, 0);
  EXPECT_EQ(LoadFrom("[common_setup]\r\nfontsize=$0C\r\n").FONTSIZE, 12);
}

TEST_F(LanguageFile, MalformedFilesGiveDefaults) {
  std::string garbage;
  for (int i = 0; i < 200000; ++i) garbage += static_cast<char>((i * 131 + i / 7) % 256);
  const std::string cases[] = {
      garbage,
      std::string(10 * 1024 * 1024, '='),
      std::string("[COMMON_SETUP]\0\0OK=\0", 21),
      "[COMMON_SETUP]",
  };
  for (const std::string& bytes : cases) {
    TINI_LANGUAGE table = LoadFrom(bytes);
    EXPECT_EQ(table.OK, "OK");
    EXPECT_EQ(table.FONTSIZE, 8);
    EXPECT_EQ(table.MESSAGE_ERROR_FILE_NOT_FOUND, "Error, File not found :");
  }
  TINI_LANGUAGE missing;
  missing.Path = folder.File("none.ini");
  missing.Load();
  EXPECT_EQ(missing.CANCEL, "CANCEL");
}

TEST_F(LanguageFile, ByteOrderMarkOfUtf8IsNotPartOfTheFirstSection) {
  TINI_LANGUAGE table = LoadFrom("\xEF\xBB\xBF[COMMON_SETUP]\r\nFONTNAME=Tahoma\r\nOK=Fine\r\n");
  EXPECT_EQ(table.FONTNAME, "Tahoma");
  EXPECT_EQ(table.OK, "Fine");
  // Without the mark the bytes are the system code page's, taken as they are.
  EXPECT_EQ(LoadFrom("[VIEW_ALL_PAGE]\r\nCLOSE=Schlie\xDF"
                     "en\r\n")
                .CLOSE,
            "Schlie\xDF"
            "en");
}

// Every shipped language file names every entry in its own section, so no
// caption of a translation falls back to English unseen.
TEST(ShippedLanguageFiles, NameEveryEntry) {
  for (const char* language : {"English", "Deutsch", "Francais", "Espanol"}) {
    IniFile file = IniFile::ReadFrom(std::string(OMBREL_LANGUAGES_DIR) + "/" + language + "/setup.ini");
    ASSERT_FALSE(file.Bytes().empty()) << language;
    for (const LanguageEntry& entry : LanguageEntries()) {
      EXPECT_NE(file.ReadString(entry.Section, entry.Key, "<missing>"), "<missing>")
          << language << ": " << entry.Key;
    }
    EXPECT_NE(file.ReadInteger("COMMON_SETUP", "FONTSIZE", -1), -1) << language;
  }
  TINI_LANGUAGE german;
  german.Path = std::string(OMBREL_LANGUAGES_DIR) + "/Deutsch/setup.ini";
  german.Load();
  EXPECT_EQ(german.CANCEL, "Abbrechen");
  EXPECT_EQ(german.CLOSE, "Schlie\xDF"
                          "en");  // Windows-1252, the code page of a German system
  EXPECT_EQ(german.MESSAGE_ERROR_FILE_NOT_FOUND, "Fehler: Datei nicht gefunden: ");

  // French and Spanish are written in Windows-1252 too.
  TINI_LANGUAGE french;
  french.Path = std::string(OMBREL_LANGUAGES_DIR) + "/Francais/setup.ini";
  french.Load();
  EXPECT_EQ(french.AUGUST, "Ao\xFBt");
  EXPECT_EQ(french.MESSAGE_ERROR_FILE_NOT_FOUND, "Erreur\xA0: fichier introuvable\xA0: ");  // no-break spaces
  TINI_LANGUAGE spanish;
  spanish.Path = std::string(OMBREL_LANGUAGES_DIR) + "/Espanol/setup.ini";
  spanish.Load();
  EXPECT_EQ(spanish.SATURDAY, "S\xE1"
                              "bado");
  EXPECT_EQ(spanish.MESSAGE_ERROR_FILE_NOT_FOUND, "Error: no se encuentra el archivo: ");
}
