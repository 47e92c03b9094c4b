// The main window's frame: the header, the pages and the bottom bar; the
// first page is made with it, the others once the window has shown.
#include "app/TFormMain.h"

PageFonts TFormMain::Fonts() {
  return {.window = WindowFont(),
          .bold = fonts_.Get(boldFont_),
          .browse = fonts_.Get(browseFont_),
          .calendar = fonts_.Get(calendarFont_)};
}

void TFormMain::BuildControls() {
  HWND window = Handle();
  HFONT font = WindowFont();
  auto sink = [this](const std::string& text) { dialogs_.Error(text); };

  Panel1.Create({.parent = window,
                 .bounds = {0, 0, 549, 65},
                 .outer = ui::Bevel::Raised,
                 .bevelWidth = 2,
                 .sink = sink});
  PageControl1.Create({.parent = window, .bounds = {0, 64, 549, 341}, .font = font, .sink = sink});
  ui::Panel& configPage = PageControl1.AddPage("Ombrel Configurations");
  PageControl1.AddPage("Schedule Setup");
  PageControl1.AddPage("Others");
  Panel2.Create({.parent = window,
                 .bounds = {0, 405, 549, 37},
                 .outer = ui::Bevel::Raised,
                 .inner = ui::Bevel::Lowered,
                 .bevelWidth = 2,
                 .sink = sink});
  HWND bar = Panel2.Handle();
  ButtonOK.Create({.parent = bar, .bounds = {92, 6, 81, 25}, .caption = "OK", .font = font});
  ButtonCancel.Create({.parent = bar, .bounds = {372, 6, 81, 25}, .caption = "Cancel", .font = font});

  Note("frame controls");
  Page1.Build(configPage, Fonts());
  Note("configuration page");
  PageControl1.SetActive(0);
  keyboardOrder_ = {Page1.KeyboardOrder(), {}, {}};
}
