// F1's help: the help file first, the guide's page for the place and the
// language when the shell cannot open it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "guide/HelpGuide.h"
#include "support/FakeShell.h"
#include "support/ScratchFolder.h"

namespace {

using Opened = std::vector<std::string>;

constexpr HelpPlace kPlaces[] = {HelpPlace::Configuration, HelpPlace::Schedule, HelpPlace::Others,
                                 HelpPlace::Overview};

class HelpGuideTest : public ::testing::Test {
 protected:
  ScratchFolder folder;
  FakeShell shell;

  // The program folder as the program names it, with its trailing separator.
  std::string ProgramFolder() const { return folder.Path() + kSeparator; }
  // A page of a language's guide, at the path the program builds. Outside
  // Windows a backslash is part of a name: the page is one file named so.
  void AddPage(const std::string& language, const std::string& page) {
    const std::string relative = "Help\\" + language + "\\" + page;
#ifdef _WIN32
    std::filesystem::create_directories(folder.File("Help\\" + language));
#endif
    folder.Write(relative, "<!doctype html>");
  }
  std::string Page(const std::string& language, HelpPlace place) const {
    return ProgramFolder() + "Help\\" + language + "\\" + GuidePageName(place);
  }
  void AddGuide(const std::string& language) {
    for (HelpPlace place : kPlaces) AddPage(language, GuidePageName(place));
  }

#ifdef _WIN32
  static constexpr char kSeparator[] = "\\";
#else
  static constexpr char kSeparator[] = "/";
#endif
};

TEST_F(HelpGuideTest, AHelpFileTheShellOpensIsAllThatOpens) {
  AddGuide("English");
  for (HelpPlace place : kPlaces) {
    shell.opened.clear();
    OpenHelp(shell, ProgramFolder(), "English", place);
    EXPECT_EQ(shell.opened, Opened{"Ombrel_T.hlp"});
  }
}

TEST_F(HelpGuideTest, WhenTheShellCannotOpenTheHelpFileThePlacesPageOpensInTheLanguageInUse) {
  for (const char* language : {"English", "Deutsch", "Francais", "Espanol"}) AddGuide(language);
  shell.unopenable = {"Ombrel_T.hlp"};
  for (const char* language : {"English", "Deutsch", "Francais", "Espanol"}) {
    for (HelpPlace place : kPlaces) {
      SCOPED_TRACE(std::string(language) + " " + GuidePageName(place));
      shell.opened.clear();
      OpenHelp(shell, ProgramFolder(), language, place);
      EXPECT_EQ(shell.opened, (Opened{"Ombrel_T.hlp", Page(language, place)}));
    }
  }
  // Each place has a page of its own.
  EXPECT_NE(Page("English", HelpPlace::Schedule), Page("English", HelpPlace::Overview));
}

TEST_F(HelpGuideTest, ALanguageWithoutItsPageGetsTheEnglishOne) {
  AddGuide("English");
  AddPage("Deutsch", GuidePageName(HelpPlace::Configuration));  // a guide that lacks the other pages
  shell.unopenable = {"Ombrel_T.hlp"};

  OpenHelp(shell, ProgramFolder(), "Deutsch", HelpPlace::Schedule);
  OpenHelp(shell, ProgramFolder(), "Deutsch", HelpPlace::Configuration);
  OpenHelp(shell, ProgramFolder(), "Italiano", HelpPlace::Others);  // a language of the user's own
  EXPECT_EQ(shell.opened, (Opened{"Ombrel_T.hlp", Page("English", HelpPlace::Schedule), "Ombrel_T.hlp",
                                  Page("Deutsch", HelpPlace::Configuration), "Ombrel_T.hlp",
                                  Page("English", HelpPlace::Others)}));
}

TEST_F(HelpGuideTest, ALanguageNameThatLeadsOutOfTheGuideGetsTheEnglishPage) {
  AddGuide("English");
  // A page that a name with a separator or ".." would reach.
  AddPage("English\\..", GuidePageName(HelpPlace::Others));
  folder.Write(std::string("Help") + kSeparator + GuidePageName(HelpPlace::Others), "<!doctype html>");
  shell.unopenable = {"Ombrel_T.hlp"};
  for (const char* language : {"..", ".", "", "English\\..", "..\\Help", "C:"}) {
    SCOPED_TRACE(language);
    shell.opened.clear();
    OpenHelp(shell, ProgramFolder(), language, HelpPlace::Others);
    EXPECT_EQ(shell.opened, (Opened{"Ombrel_T.hlp", Page("English", HelpPlace::Others)}));
  }
}

// The Start menu's way in, without the program: the language its settings name.
TEST_F(HelpGuideTest, TheContentsPageIsInTheLanguageTheSettingsName) {
  AddPage("English", "index.html");
  AddPage("Deutsch", "index.html");
  const struct {
    const char* settings;  // omb.ini, or null for none
    const char* language;  // whose contents page opens
  } cases[] = {
      {nullptr, "English"},
      {"[PAGE3]\r\nLANGUAGE=Deutsch\r\n", "Deutsch"},
      {"[PAGE3]\r\nLANGUAGE=Francais\r\n", "English"},  // no guide in that language
      {"[PAGE3]\r\nLANGUAGE=..\r\n", "English"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings ? c.settings : "no omb.ini");
    std::filesystem::remove(folder.File("omb.ini"));
    if (c.settings) folder.Write("omb.ini", c.settings);
    EXPECT_EQ(GuideContentsPage(ProgramFolder()), Page(c.language, HelpPlace::Contents));
  }
}

}  // namespace
