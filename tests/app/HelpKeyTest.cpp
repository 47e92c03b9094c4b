// F1 in the main window and the overview window: the help file first, then
// the guide's page for the page or window the user is in, in the language
// the interface shows.
#include <filesystem>
#include <functional>

#include "MainWindowFixture.h"
#include "support/RunSoon.h"

namespace {

using Opened = std::vector<std::string>;


class HelpKeyTest : public MainWindowTest {
 protected:
  void AddLanguage(const std::string& name) {
    std::filesystem::create_directories(folder.File("Languages\\" + name));
    folder.Write("Languages\\" + name + "\\setup.ini", "[COMMON_SETUP]\r\nFONTSIZE=8\r\n");
  }
  void AddGuide(const std::string& language) {
    std::filesystem::create_directories(folder.File("Help\\" + language));
    for (const char* page : {"configuration.html", "schedule.html", "others.html", "overview.html"})
      folder.Write("Help\\" + language + "\\" + page, "<!doctype html>");
  }
  std::string Page(const std::string& language, const std::string& page) const {
    return folder.Path() + "\\Help\\" + language + "\\" + page;
  }
  // F1 as the user presses it, with the focus on a control of the window.
  void PressF1(HWND focus) {
    SetFocus(focus);
    PostMessageW(focus, WM_KEYDOWN, VK_F1, 0x003B0001);
    PostMessageW(focus, WM_KEYUP, VK_F1, 0xC03B0001);
    Pump();
  }
  // F1 in the overview window, opened with View All, then Close: both go
  // through the window's own message loop.
  void PressF1InOverview() {
    RunSoon([this] {
      SetFocus(viewAll->ListView1.Handle());
      PostMessageW(viewAll->ListView1.Handle(), WM_KEYDOWN, VK_F1, 0x003B0001);
      PostMessageW(viewAll->ListView1.Handle(), WM_KEYUP, VK_F1, 0xC03B0001);
      PostMessageW(viewAll->ButtonClose.Handle(), BM_CLICK, 0, 0);
    });
    form->PageControl1.SetActive(1);
    Click(form->Page2.ButtonViewAll);
  }
  // F1 on each page and in the overview window.
  Opened PressF1Everywhere() {
    shell.opened.clear();
    form->PageControl1.SetActive(0);
    PressF1(form->Page1.Edit1.Handle());
    form->PageControl1.SetActive(1);
    PressF1(form->Page2.ComboBox7.Handle());
    form->PageControl1.SetActive(2);
    PressF1(form->Page3.Edit3.Handle());
    PressF1InOverview();
    return shell.opened;
  }
};

TEST_F(HelpKeyTest, WithoutAHelpViewerF1OpensThePageOfWhereTheUserIsInTheLanguageShown) {
  AddLanguage("Deutsch");
  AddGuide("Deutsch");
  AddGuide("English");
  WriteSettings("[PAGE3]\r\nLANGUAGE=Deutsch\r\n");
  shell.unopenable = {"Ombrel_T.hlp"};
  StartQuietly();

  EXPECT_EQ(PressF1Everywhere(),
            (Opened{"Ombrel_T.hlp", Page("Deutsch", "configuration.html"), "Ombrel_T.hlp",
                    Page("Deutsch", "schedule.html"), "Ombrel_T.hlp", Page("Deutsch", "others.html"),
                    "Ombrel_T.hlp", Page("Deutsch", "overview.html")}));
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(HelpKeyTest, AWorkingHelpFileIsAllThatOpensEverywhere) {
  AddGuide("English");
  StartQuietly();
  EXPECT_EQ(PressF1Everywhere(), (Opened{"Ombrel_T.hlp", "Ombrel_T.hlp", "Ombrel_T.hlp", "Ombrel_T.hlp"}));
}

TEST_F(HelpKeyTest, ALanguageWithoutAGuideOrWithoutItsFileGetsTheEnglishGuide) {
  AddGuide("English");
  AddGuide("Deutsch");
  AddLanguage("Italiano");
  shell.unopenable = {"Ombrel_T.hlp"};

  WriteSettings("[PAGE3]\r\nLANGUAGE=Italiano\r\n");
  StartQuietly();
  form->PageControl1.SetActive(2);
  PressF1(form->Page3.Edit3.Handle());
  EXPECT_EQ(shell.opened, (Opened{"Ombrel_T.hlp", Page("English", "others.html")}));
  form.reset();

  // The interface shows English when its language's file is missing, though
  // that language has a guide.
  shell.opened.clear();
  WriteSettings("[PAGE3]\r\nLANGUAGE=Deutsch\r\n");
  StartQuietly();
  PressF1(form->Page1.Edit1.Handle());
  EXPECT_EQ(shell.opened, (Opened{"Ombrel_T.hlp", Page("English", "configuration.html")}));
}

TEST_F(HelpKeyTest, ALanguageTickedSinceTheStartDoesNotChangeTheGuide) {
  AddLanguage("Deutsch");
  AddLanguage("English");
  AddGuide("Deutsch");
  AddGuide("English");
  WriteSettings("[PAGE3]\r\nLANGUAGE=English\r\n");
  shell.unopenable = {"Ombrel_T.hlp"};
  StartQuietly();
  form->Settings()->LANGUAGE = "Deutsch";  // as a failed OK may leave it
  PressF1(form->Page1.Edit1.Handle());
  EXPECT_EQ(shell.opened, (Opened{"Ombrel_T.hlp", Page("English", "configuration.html")}));
}

}  // namespace
