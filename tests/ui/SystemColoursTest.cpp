// The colours the control wrappers ask the system to draw their texts in, and
// how they follow a change of the system's colours while they are open.
// (Wine cannot report a high-contrast theme: the rule for colours of the
// program's own is checked by the faces they meet.)
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "support/SystemColoursOf.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/ReportList.h"
#include "ui/SystemColours.h"
#include "ui/TextField.h"
#include "ui/TickList.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kGrey = RGB(240, 240, 240);
constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(63, 242, 63);

// A hidden top-level window holding one panel for the controls under test.
class Host : public ui::Window {
 public:
  Host() {
    CreateWindowOf(L"OmbrelColourHost", 0, WS_POPUP, "", {0, 0, 300, 200}, nullptr);
    panel.Create({.parent = Handle(), .bounds = {0, 0, 300, 200}, .bevelWidth = 0});
  }
  ~Host() override { DestroyWindow(Handle()); }
  ui::Panel panel;
};

// The text colour and background a control is given when it asks its parent.
struct Asked {
  COLORREF text;
  COLORREF background;
};
Asked AskColours(HWND control, UINT message) {
  HDC dc = GetDC(control);
  SetTextColor(dc, RGB(1, 2, 3));
  SendMessageW(GetParent(control), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  Asked asked{GetTextColor(dc), GetBkColor(dc)};
  ReleaseDC(control, dc);
  return asked;
}

class SystemColoursTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }
  Host host;
  HWND Page() const { return host.panel.Handle(); }
};

// The dark scheme left every text field's value black on black: the text's
// colour now goes with the background's, enabled and disabled.
TEST_F(SystemColoursTest, TextFieldTextTakesTheColourOfItsBackground) {
  ui::TextField field;
  field.Create({.parent = Page(), .bounds = {0, 0, 50, 21}});
  SystemColoursOf dark({{COLOR_WINDOW, kBlack},
                        {COLOR_WINDOWTEXT, kWhite},
                        {COLOR_BTNFACE, kBlack},
                        {COLOR_GRAYTEXT, kGreen}});
  Asked enabled = AskColours(field.Handle(), WM_CTLCOLOREDIT);
  EXPECT_EQ(enabled.text, kWhite);
  EXPECT_EQ(enabled.background, kBlack);
  field.SetEnabled(false);
  Asked disabled = AskColours(field.Handle(), WM_CTLCOLORSTATIC);
  EXPECT_EQ(disabled.text, kGreen);
  EXPECT_EQ(disabled.background, kBlack);
}

// A label's own colour stays where it stands out from the button face by
// 3:1 and gives way to the button text where it does not. Labels of no
// colour of their own, and disabled ones, show the system's.
TEST_F(SystemColoursTest, OwnCaptionColourGivesWayWhereItWouldNotStandOut) {
  ui::Label red, blue, plain;
  red.Create({.parent = Page(), .bounds = {0, 0, 0, 0}, .caption = "Low battery"});
  blue.Create({.parent = Page(), .bounds = {0, 20, 0, 0}, .caption = "Heading"});
  plain.Create({.parent = Page(), .bounds = {0, 40, 0, 0}, .caption = "Plain"});
  red.SetTextColor(kRed);
  blue.SetTextColor(kBlue);
  {
    SystemColoursOf light(
        {{COLOR_BTNFACE, kGrey}, {COLOR_BTNTEXT, kBlack}, {COLOR_GRAYTEXT, RGB(109, 109, 109)}});
    EXPECT_EQ(AskColours(red.Handle(), WM_CTLCOLORSTATIC).text, kRed);  // 3.5:1
    EXPECT_EQ(AskColours(blue.Handle(), WM_CTLCOLORSTATIC).text, kBlue);
    EXPECT_EQ(AskColours(plain.Handle(), WM_CTLCOLORSTATIC).text, kBlack);
    red.SetEnabled(false);
    EXPECT_EQ(AskColours(red.Handle(), WM_CTLCOLORSTATIC).text, RGB(109, 109, 109));
    red.SetEnabled(true);
  }
  {
    SystemColoursOf dark({{COLOR_BTNFACE, kBlack}, {COLOR_BTNTEXT, kWhite}});
    EXPECT_EQ(AskColours(red.Handle(), WM_CTLCOLORSTATIC).text, kRed);     // 5.3:1 on black
    EXPECT_EQ(AskColours(blue.Handle(), WM_CTLCOLORSTATIC).text, kWhite);  // 2.4:1 on black
    Asked plainColours = AskColours(plain.Handle(), WM_CTLCOLORSTATIC);
    EXPECT_EQ(plainColours.text, kWhite);
    EXPECT_EQ(plainColours.background, kBlack);
  }
  {
    // Red on a dark red face: under 3:1.
    SystemColoursOf dim({{COLOR_BTNFACE, RGB(160, 0, 0)}, {COLOR_BTNTEXT, kWhite}});
    EXPECT_EQ(AskColours(red.Handle(), WM_CTLCOLORSTATIC).text, kWhite);
  }
}

// The overview's light green stays behind black window text and gives way
// to the window colour behind white.
TEST_F(SystemColoursTest, OwnListBackgroundGivesWayUnderLightText) {
  ui::ReportList list;
  list.Create({.parent = Page(), .bounds = {0, 0, 200, 100}});
  const COLORREF lightGreen = RGB(183, 255, 183);
  {
    SystemColoursOf light({{COLOR_WINDOW, kWhite}, {COLOR_WINDOWTEXT, kBlack}});
    list.SetBackground(lightGreen);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list.Handle(), LVM_GETBKCOLOR, 0, 0)), lightGreen);
  }
  {
    SystemColoursOf dark({{COLOR_WINDOW, kBlack}, {COLOR_WINDOWTEXT, kWhite}});
    // Told as a switch of theme tells it: the top-level window passes it on.
    SendMessageW(host.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list.Handle(), LVM_GETBKCOLOR, 0, 0)), kBlack);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list.Handle(), LVM_GETTEXTCOLOR, 0, 0)), kWhite);
  }
  SendMessageW(host.Handle(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list.Handle(), LVM_GETBKCOLOR, 0, 0)),
            ui::Contrast(lightGreen, GetSysColor(COLOR_WINDOWTEXT)) >= kTextContrast
                ? lightGreen
                : GetSysColor(COLOR_WINDOW));
}

// A tick list keeps the background it was given when it was enabled or
// disabled: a change of the system's colours reaches it through the window.
TEST_F(SystemColoursTest, TickListFollowsAChangeOfColours) {
  ui::TickList enabled, disabled;
  enabled.Create({.parent = Page(), .bounds = {0, 0, 100, 60}, .rows = {"One", "Two"}});
  disabled.Create({.parent = Page(), .bounds = {0, 70, 100, 60}, .rows = {"One", "Two"}});
  enabled.SetEnabled(true);
  disabled.SetEnabled(false);
  SystemColoursOf white(
      {{COLOR_WINDOW, RGB(255, 255, 255)}, {COLOR_WINDOWTEXT, kBlack}, {COLOR_BTNFACE, RGB(255, 255, 254)}});
  SendMessageW(host.Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(enabled.Handle(), LVM_GETBKCOLOR, 0, 0)), kWhite);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(disabled.Handle(), LVM_GETBKCOLOR, 0, 0)), RGB(255, 255, 254));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(enabled.Handle(), LVM_GETTEXTCOLOR, 0, 0)), kBlack);
}

}  // namespace
