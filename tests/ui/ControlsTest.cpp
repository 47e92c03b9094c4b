// The reaction rule of the control wrappers, notification routing, and the
// failure catch of the window procedure.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/AnsiText.h"
#include "support/ScratchFolder.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/DrawnButton.h"
#include "ui/Fonts.h"
#include "ui/Group.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/ProcedureHook.h"
#include "ui/Spinner.h"
#include "ui/TextField.h"
#include "ui/TickList.h"
#include "ui/Timer.h"

namespace {

// A hidden top-level window holding one panel for the controls under test.
class Host : public ui::Window {
 public:
  explicit Host(ui::ErrorSink sink) {
    SetErrorSink(sink);
    CreateWindowOf(L"OmbrelTestHost", 0, WS_POPUP, "", {0, 0, 400, 300}, nullptr);
    panel.Create({.parent = Handle(), .bounds = {0, 0, 400, 300}, .bevelWidth = 0, .sink = sink});
  }
  ~Host() override { DestroyWindow(Handle()); }
  ui::Panel panel;
};

class ControlsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }
  std::vector<std::string> errors;
  Host host{[this](const std::string& text) { errors.push_back(text); }};
  HWND Page() const { return host.panel.Handle(); }
};

TEST_F(ControlsTest, CheckBoxSetFromCodeReactsOnlyWhenTheTickChanges) {
  ui::CheckBox box;
  box.Create({.parent = Page(), .bounds = {0, 0, 100, 17}, .caption = "Box"});
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };
  box.SetChecked(false);
  EXPECT_EQ(clicks, 0);
  box.SetChecked(true);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(SendMessageW(box.Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  box.SetChecked(true);
  EXPECT_EQ(clicks, 1);
  SendMessageW(box.Handle(), BM_CLICK, 0, 0);  // the user's click
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(box.Checked());
}

TEST_F(ControlsTest, TickListReactsToTheUsersToggleOnly) {
  ui::TickList list;
  list.Create({.parent = Page(), .bounds = {0, 0, 200, 100}, .rows = {"a", "b", "c"}});
  std::vector<int> toggled;
  list.OnClickCheck = [&](int row) { toggled.push_back(row); };
  list.SetChecked(1, true);
  list.SetChecked(1, false);
  EXPECT_TRUE(toggled.empty());

  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(2);
  SendMessageW(list.Handle(), LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(toggled, std::vector<int>{2});
  EXPECT_TRUE(list.Checked(2));
  EXPECT_EQ(list.SelectedRow(), 2);

  RECT first{};
  first.left = LVIR_BOUNDS;
  SendMessageW(list.Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  RECT second{};
  second.left = LVIR_BOUNDS;
  SendMessageW(list.Handle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  EXPECT_EQ(second.top - first.top, 16);
}

TEST_F(ControlsTest, TickListSortsIgnoringCaseAndKeepsTicks) {
  ui::TickList list;
  list.Create({.parent = Page(), .bounds = {0, 0, 200, 100}, .rows = {"beta", "Alpha", "gamma"}});
  list.SetChecked(0, true);
  list.Sort();
  EXPECT_EQ(list.RowText(0), "Alpha");
  EXPECT_EQ(list.RowText(1), "beta");
  EXPECT_TRUE(list.Checked(1));
  EXPECT_FALSE(list.Checked(0));
}

TEST_F(ControlsTest, ComboSelectionFromCodeRunsNothingAndUsersChoiceDoes) {
  ui::ComboBox box;
  box.Create({.parent = Page(), .bounds = {0, 0, 100, 200}, .rows = {"x", "y"}});
  int changes = 0;
  box.OnChange = [&] { ++changes; };
  box.SetItemIndex(1);
  EXPECT_EQ(box.Text(), "y");
  box.SetItemIndex(5);
  EXPECT_EQ(box.ItemIndex(), -1);
  EXPECT_EQ(box.Text(), "");
  EXPECT_EQ(changes, 0);
  SendMessageW(box.Handle(), CB_SETCURSEL, 0, 0);
  SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(box.Id(), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box.Handle()));
  EXPECT_EQ(changes, 1);
}

TEST_F(ControlsTest, ComboIndexOfMatchesCaseExactly) {
  ui::ComboBox box;
  box.Create({.parent = Page(), .bounds = {0, 0, 100, 200}, .rows = {"abc", "ABC", "x", "Abc"}});
  EXPECT_EQ(box.IndexOf("ABC"), 1);
  EXPECT_EQ(box.IndexOf("Abc"), 3);
  EXPECT_EQ(box.IndexOf("abc"), 0);
  EXPECT_EQ(box.IndexOf("aBC"), -1);
  EXPECT_EQ(box.IndexOf("x"), 2);
  EXPECT_EQ(box.IndexOf("ab"), -1);
}

TEST_F(ControlsTest, ControlsOfOneParentGetDifferentIds) {
  ui::CheckBox first, second;
  ui::Label third;
  first.Create({.parent = Page(), .bounds = {0, 0, 100, 17}, .caption = "One"});
  second.Create({.parent = Page(), .bounds = {0, 20, 100, 17}, .caption = "Two"});
  third.Create({.parent = Page(), .bounds = {0, 40, 0, 0}, .caption = "Three"});
  EXPECT_NE(first.Id(), second.Id());
  EXPECT_NE(second.Id(), third.Id());
  EXPECT_NE(first.Id(), third.Id());
  EXPECT_GT(third.Place().width, 2);
}

TEST_F(ControlsTest, TimerTicksOnlyOnceStarted) {
  ui::Timer timer;
  timer.Create({.intervalMs = 10, .sink = [this](const std::string& text) { errors.push_back(text); }});
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  EXPECT_FALSE(timer.Enabled());
  timer.SetEnabled(true);
  MSG message;
  const ULONGLONG giveUp = GetTickCount64() + 5000;
  while (ticks == 0 && GetTickCount64() < giveUp) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(5);
  }
  EXPECT_GT(ticks, 0);
  timer.SetEnabled(false);
  const int stoppedAt = ticks;
  Sleep(50);
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  EXPECT_EQ(ticks, stoppedAt);
}

TEST_F(ControlsTest, SpinnerPositionFromCodeIsHeldInRangeAndRunsNothing) {
  ui::Spinner spinner;
  spinner.Create({.parent = Page(), .bounds = {0, 0, 15, 21}, .minimum = 1, .maximum = 99, .position = 5});
  int clicks = 0;
  spinner.OnClick = [&](int) { ++clicks; };
  spinner.SetPosition(150);
  EXPECT_EQ(spinner.Position(), 99);
  spinner.SetPosition(-3);
  EXPECT_EQ(spinner.Position(), 1);
  EXPECT_EQ(clicks, 0);
}

TEST_F(ControlsTest, DrawnButtonClicksByMessageOnlyWhenEnabled) {
  ui::DrawnButton button;
  button.Create({.parent = Page(), .bounds = {0, 0, 80, 25}, .caption = "Go"});
  int clicks = 0;
  button.OnClick = [&] { ++clicks; };
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  button.SetEnabled(false);
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
}

// Counts the pixels of each colour a drawn button paints into a bitmap.
std::map<COLORREF, int> PaintedColours(const ui::DrawnButton& button, int width, int height) {
  HDC screen = GetDC(nullptr);
  ui::MemoryDc dc(screen);
  ui::Bitmap canvas(CreateCompatibleBitmap(screen, width, height));
  ReleaseDC(nullptr, screen);
  ui::SelectInDc select(dc.Get(), canvas.Get());
  RECT area{0, 0, width, height};
  button.Paint(dc.Get(), area);
  std::map<COLORREF, int> colours;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) ++colours[GetPixel(dc.Get(), x, y)];
  return colours;
}

// Images of 6 x 4 pixels side by side, each filled with its colour, with the
// key colour in the bottom-left pixel and in the top-left pixel of every image.
ui::Bitmap KeyedPicture(const std::vector<COLORREF>& images, COLORREF key) {
  const int width = 6, height = 4;
  HDC screen = GetDC(nullptr);
  ui::MemoryDc dc(screen);
  ui::Bitmap picture(CreateCompatibleBitmap(screen, width * static_cast<int>(images.size()), height));
  ReleaseDC(nullptr, screen);
  ui::SelectInDc select(dc.Get(), picture.Get());
  for (size_t i = 0; i < images.size(); ++i) {
    RECT image{static_cast<int>(i) * width, 0, static_cast<int>(i + 1) * width, height};
    ui::Brush fill(CreateSolidBrush(images[i]));
    FillRect(dc.Get(), &image, fill.Get());
    SetPixel(dc.Get(), image.left, 0, key);
  }
  SetPixel(dc.Get(), 0, height - 1, key);
  return picture;
}

TEST_F(ControlsTest, DrawnButtonLeavesTheGlyphBackgroundOutNormalAndGreyed) {
  const COLORREF key = RGB(0, 255, 0), normal = RGB(255, 0, 0), greyed = RGB(0, 0, 255);
  ui::DrawnButton button;
  button.Create({.parent = Page(), .bounds = {0, 0, 40, 30}});
  button.SetGlyph(KeyedPicture({normal, greyed}, key), 2, ui::GlyphLayout::Left);
  EXPECT_EQ(button.GlyphKey(), key);

  auto colours = PaintedColours(button, 40, 30);
  EXPECT_EQ(colours[key], 0);
  EXPECT_EQ(colours[normal], 6 * 4 - 2);  // less the two key pixels of the first image
  EXPECT_EQ(colours[greyed], 0);

  button.SetEnabled(false);
  colours = PaintedColours(button, 40, 30);
  EXPECT_EQ(colours[key], 0);
  EXPECT_EQ(colours[normal], 0);
  EXPECT_EQ(colours[greyed], 6 * 4 - 1);  // less its own top-left key pixel
}

// A canvas in the button face, with what paint puts on it.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = ui::Bitmap(CreateCompatibleBitmap(screen, width, height));
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_.Get());
    RECT all{0, 0, width, height};
    FillRect(dc_, &all, GetSysColorBrush(COLOR_BTNFACE));
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_, height_;
  HDC dc_;
  ui::Bitmap bitmap_;
  HGDIOBJ old_;
};

// Windows created while it lives are of the common controls' version 6, as
// the program's manifest asks for: the system draws some of them otherwise.
class CommonControls6 {
 public:
  CommonControls6() {
    folder_.Write(
        "controls.manifest",
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"
        "<dependency><dependentAssembly><assemblyIdentity type=\"win32\" "
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" processorArchitecture=\"*\" "
        "publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/></dependentAssembly></dependency>"
        "</assembly>");
    std::wstring path = AnsiToWide(folder_.File("controls.manifest"));
    ACTCTXW request{};
    request.cbSize = sizeof(request);
    request.lpSource = path.c_str();
    context_ = CreateActCtxW(&request);
    if (context_ != INVALID_HANDLE_VALUE) ActivateActCtx(context_, &cookie_);
  }
  ~CommonControls6() {
    if (context_ == INVALID_HANDLE_VALUE) return;
    DeactivateActCtx(0, cookie_);
    ReleaseActCtx(context_);
  }
  bool Active() const { return context_ != INVALID_HANDLE_VALUE; }

 private:
  ScratchFolder folder_;
  HANDLE context_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
};

// The caption of a group whose last letter reaches past its advance ("n" in
// the window font): every pixel that the text has drawn unclipped is there.
TEST_F(ControlsTest, GroupShowsItsCaptionToTheLastPixel) {
  CommonControls6 controls;
  ASSERT_TRUE(controls.Active());
  ui::Font font = ui::MakeFont("Microsoft Sans Serif", 8);
  for (const char* caption : {"Shutdown computer when", "Power fail shutdown parameter"}) {
    SCOPED_TRACE(caption);
    ui::Group group;
    group.Create({.parent = Page(), .bounds = {0, 0, 250, 60}, .caption = caption, .font = font.Get()});
    Canvas painted(250, 20), text(250, 20);
    SendMessageW(group.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(painted.Dc()), PRF_CLIENT);

    ui::SelectInDc select(text.Dc(), font.Get());
    SetBkMode(text.Dc(), TRANSPARENT);
    std::wstring wide = AnsiToWide(caption);
    RECT place{8, 0, 250, 20};
    DrawTextW(text.Dc(), wide.c_str(), -1, &place, DT_SINGLELINE | DT_NOCLIP);

    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    int ink = 0, missing = 0;
    for (int y = 0; y < text.Height(); ++y)
      for (int x = 0; x < text.Width(); ++x)
        if (text.At(x, y) != face) {
          ++ink;
          if (painted.At(x, y) != text.At(x, y)) ++missing;
        }
    EXPECT_GT(ink, 100);
    EXPECT_EQ(missing, 0);
  }
}

TEST_F(ControlsTest, MarkerButtonsKeepAtMostOneDownAndCodeRunsNothing) {
  ui::MarkerButton red, blue;
  red.Create({.parent = Page(), .bounds = {0, 0, 20, 18}});
  blue.Create({.parent = Page(), .bounds = {30, 0, 20, 18}});
  std::vector<ui::MarkerButton*> group = {&red, &blue};
  red.SetGroup(group);
  blue.SetGroup(group);
  int clicks = 0;
  red.OnClick = blue.OnClick = [&] { ++clicks; };
  red.SetDown(true);
  blue.SetDown(true);
  EXPECT_FALSE(red.Down());
  EXPECT_EQ(clicks, 0);
  SendMessageW(red.Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(red.Down());
  EXPECT_FALSE(blue.Down());
  SendMessageW(red.Handle(), BM_CLICK, 0, 0);  // a pressed one is released by a click
  EXPECT_FALSE(red.Down());
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsTest, MarkerPaintsItsColourThroughPrintClient) {
  ui::MarkerButton marker;
  marker.Create({.parent = Page(), .bounds = {0, 0, 20, 18}});
  marker.SetColor(RGB(0, 255, 0));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 18);
  HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageW(marker.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  EXPECT_EQ(GetPixel(memory, 10, 9), RGB(0, 255, 0));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

TEST_F(ControlsTest, TextFieldAsksForWindowColourEnabledAndButtonFaceDisabled) {
  ui::TextField field;
  field.Create(
      {.parent = Page(), .bounds = {0, 0, 50, 21}, .maxLength = 2, .typing = ui::Typing::DigitsOnly});
  HDC dc = GetDC(field.Handle());
  auto brush = [&] {
    return reinterpret_cast<HBRUSH>(SendMessageW(Page(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                                 reinterpret_cast<LPARAM>(field.Handle())));
  };
  EXPECT_EQ(brush(), GetSysColorBrush(COLOR_WINDOW));
  field.SetEnabled(false);
  EXPECT_EQ(brush(), GetSysColorBrush(COLOR_BTNFACE));
  ReleaseDC(field.Handle(), dc);
}

TEST_F(ControlsTest, FailureInAHandlerIsShownAndTheWindowLives) {
  ui::DrawnButton button;
  button.Create({.parent = Page(), .bounds = {0, 0, 80, 25}, .caption = "Go"});
  button.OnClick = [] { throw std::runtime_error("Cannot create file C:\\x"); };
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(errors, std::vector<std::string>{"Cannot create file C:\\x."});
  EXPECT_TRUE(IsWindow(button.Handle()));
}

}  // namespace

namespace {

LOGFONTW LogFontOf(HFONT font) {
  LOGFONTW logFont{};
  GetObjectW(font, sizeof(logFont), &logFont);
  return logFont;
}

}  // namespace

TEST_F(ControlsTest, FontsShareOneObjectPerSpecAndFollowTheDpi) {
  ui::Fonts fonts(96);
  HFONT plain = fonts.Get({"Tahoma", 9});
  EXPECT_EQ(fonts.Get({"Tahoma", 9}), plain);
  EXPECT_NE(fonts.Get({"Tahoma", 9, true}), plain);
  EXPECT_EQ(LogFontOf(plain).lfHeight, -12);
  EXPECT_STREQ(LogFontOf(plain).lfFaceName, L"Tahoma");
  EXPECT_EQ(LogFontOf(fonts.Get({"Tahoma", 9, true})).lfWeight, FW_BOLD);
  // A face name longer than the system holds is cut, not overrun.
  EXPECT_EQ(std::wstring(LogFontOf(fonts.Get({std::string(80, 'x'), 8})).lfFaceName),
            std::wstring(LF_FACESIZE - 1, L'x'));

  ui::Label label;
  label.Create({.parent = Page(), .bounds = {4, 4, 0, 0}, .caption = "Shared", .font = plain});
  ui::Font own = ui::MakeFont("Arial", 8);
  ui::Label other;
  other.Create({.parent = Page(), .bounds = {4, 24, 0, 0}, .caption = "Other", .font = own.Get()});
  fonts.SetDpi(host.Handle(), 192);
  HFONT shown = reinterpret_cast<HFONT>(SendMessageW(label.Handle(), WM_GETFONT, 0, 0));
  EXPECT_EQ(shown, fonts.Get({"Tahoma", 9}));
  EXPECT_EQ(LogFontOf(shown).lfHeight, -24);
  // A font from elsewhere stays.
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(other.Handle(), WM_GETFONT, 0, 0)), own.Get());
}

namespace {

// A procedure put over a hooked window from outside, as a screen reader's or
// another library's would be: it answers WM_USER + 1 and passes on the rest.
WNDPROC outerPrevious = nullptr;
LRESULT CALLBACK OuterProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER + 1) return 11;
  return CallWindowProcW(outerPrevious, hwnd, message, wParam, lParam);
}

}  // namespace

TEST_F(ControlsTest, ProcedureHookTakesMessagesPassesTheRestOnAndGivesTheProcedureBack) {
  ui::TextField field;
  field.Create({.parent = Page(), .bounds = {0, 0, 50, 21}});
  HWND hwnd = field.Handle();
  const LONG_PTR own = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  {
    ui::ProcedureHook hook;
    hook.Install(hwnd, [&hook](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      return message == WM_USER + 2 ? 22 : hook.PassOn(message, wParam, lParam);
    });
    EXPECT_EQ(SendMessageW(hwnd, WM_USER + 2, 0, 0), 22);
    SetWindowTextW(hwnd, L"42");  // passed on to the edit's own procedure
    EXPECT_EQ(field.Text(), "42");
  }
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), own);
  EXPECT_NE(SendMessageW(hwnd, WM_USER + 2, 0, 0), 22);

  // Ended while another procedure stands over it: the chain keeps working
  // without the handler until the window ends.
  {
    ui::ProcedureHook hook;
    hook.Install(hwnd, [&hook](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      return message == WM_USER + 2 ? 22 : hook.PassOn(message, wParam, lParam);
    });
    outerPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProcedure)));
    EXPECT_EQ(SendMessageW(hwnd, WM_USER + 2, 0, 0), 22);
  }
  EXPECT_EQ(SendMessageW(hwnd, WM_USER + 1, 0, 0), 11);
  EXPECT_NE(SendMessageW(hwnd, WM_USER + 2, 0, 0), 22);
  SetWindowTextW(hwnd, L"7");
  EXPECT_EQ(field.Text(), "7");
}

TEST_F(ControlsTest, TypingFiltersDropWhatTheFieldDoesNotTakeUntilTheFieldEnds) {
  auto type = [](HWND hwnd, const wchar_t* text) {
    for (const wchar_t* c = text; *c; ++c) SendMessageW(hwnd, WM_CHAR, *c, 0);
  };
  {
    ui::TextField digits;
    digits.Create({.parent = Page(), .bounds = {0, 0, 50, 21}, .typing = ui::Typing::DigitsOnly});
    type(digits.Handle(), L"1a2 \t3");
    EXPECT_EQ(digits.Text(), "123");
    SendMessageW(digits.Handle(), WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(digits.Text(), "12");
  }
  ui::ComboBox hours;
  hours.Create({.parent = Page(),
                .bounds = {0, 30, 50, 200},
                .kind = ui::ComboBox::Kind::DropDown,
                .rows = {"01", "02"},
                .typing = ui::Typing::DigitsOnly});
  type(hours.TypingTarget(), L"x9");
  EXPECT_EQ(hours.Text(), "9");
  ui::ComboBox months;
  months.Create({.parent = Page(), .bounds = {60, 30, 80, 200}, .rows = {"May", "June"}, .typing = ui::Typing::Blocked});
  months.SetItemIndex(0);
  type(months.TypingTarget(), L"J");
  EXPECT_EQ(months.ItemIndex(), 0);
  // A field made after one that has gone filters as well (its window handle may come again).
  ui::TextField next;
  next.Create({.parent = Page(), .bounds = {0, 60, 50, 21}, .typing = ui::Typing::DigitsOnly});
  type(next.Handle(), L"b5");
  EXPECT_EQ(next.Text(), "5");
}
