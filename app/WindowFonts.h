#pragma once
// The main window's fonts by what they are made of. The window's is that of
// every control; the bold one the low-battery note's (and the schedule page
// title's as built); the "..." buttons keep theirs in every language; the
// calendar's own takes only a language's name and size.
#include "app/PageParts.h"
#include "i18n/TINI_LANGUAGE.h"
#include "ui/Fonts.h"

class WindowFonts {
 public:
  // Makes every font again for the window's DPI.
  void SetDpi(HWND window, int dpi) { fonts_.SetDpi(window, dpi); }
  // The language's font becomes the window's and the calendar's, before the controls are made.
  void UseLanguage(const TINI_LANGUAGE& t) {
    window_ = {t.FONTNAME, t.FONTSIZE};
    bold_ = {t.FONTNAME, t.FONTSIZE, true};
    calendar_ = {t.FONTNAME, t.FONTSIZE, calendar_.bold};
  }
  HFONT Window() { return fonts_.Get(window_); }
  PageFonts Pages() {
    return {.window = Window(), .bold = fonts_.Get(bold_), .browse = fonts_.Get(browse_), .calendar = fonts_.Get(calendar_)};
  }

 private:
  ui::Fonts fonts_;
  ui::FontSpec window_{"MS Sans Serif", 8};
  ui::FontSpec bold_{"MS Sans Serif", 8, true};
  const ui::FontSpec browse_{"Arial", 8};
  ui::FontSpec calendar_{"MS Sans Serif", 8};
};
