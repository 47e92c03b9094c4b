// The language of the text table put on the main window: every caption and
// list row, in one fixed order. The controls were made in the language's font
// with their built-in texts; only what the language says otherwise is set,
// as each change is a call into the window system and a repaint.
#include "app/TFormMain.h"

// The schedule page's title and the low-battery note are made in the
// language's font too; the note bold and red, the title in the window's font.
void TFormMain::UseLanguageFonts() {
  const TINI_LANGUAGE& t = *stores_.language;
  windowFont_ = {t.FONTNAME, t.FONTSIZE};
  boldFont_ = {t.FONTNAME, t.FONTSIZE, true};
  calendarFont_ = {t.FONTNAME, t.FONTSIZE, calendarFont_.bold};
}

void TFormMain::ApplyLanguage(Pages pages) {
  const TINI_LANGUAGE& t = *stores_.language;
  if (pages != Pages::Later) {
    SetIfOther(ButtonOK, t.OK);
    SetIfOther(ButtonCancel, t.CANCEL);
    SetIfOther(PageControl1, 0, t.OMBREL_CONFIGURATIONS);
    Page1.ApplyLanguage(t);
    SetIfOther(PageControl1, 1, t.SCHEDULE_SETUP);
    SetIfOther(PageControl1, 2, t.OTHERS);
  }
  if (pages != Pages::First) {
    Page2.ApplyLanguage(t, WindowFont());
    Page3.ApplyLanguage(t);
  }
}
