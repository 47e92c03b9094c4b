#include "ui/SystemColours.h"

#include "ui/Control.h"

namespace ui {
namespace {

bool ReadHighContrast() {
  HIGHCONTRASTW settings{};
  settings.cbSize = sizeof(settings);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(settings), &settings, 0) &&
         (settings.dwFlags & HCF_HIGHCONTRASTON);
}

// Asked at every paint of a coloured caption: read from the system only when
// the system says it may have changed.
bool& HighContrastKnown() {
  static bool known = ReadHighContrast();
  return known;
}

}  // namespace

Rgb ToRgb(COLORREF colour) {
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

double Contrast(COLORREF a, COLORREF b) {
  return ContrastRatio(ToRgb(a), ToRgb(b));
}

bool HighContrastOn() {
  return HighContrastKnown();
}

COLORREF CaptionColour(COLORREF own, int background, int text) {
  if (HighContrastOn() || Contrast(own, GetSysColor(background)) < kCaptionContrast) return GetSysColor(text);
  return own;
}

COLORREF TextBackground(COLORREF own, int text, int instead) {
  if (HighContrastOn() || Contrast(own, GetSysColor(text)) < kTextContrast) return GetSysColor(instead);
  return own;
}

HBRUSH CaptionOnFace(HDC dc, bool enabled, COLORREF text) {
  if (text == CLR_INVALID || !enabled) text = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  SetTextColor(dc, text);
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

bool IsColourChange(UINT message, WPARAM wParam) {
  return message == WM_SYSCOLORCHANGE || message == WM_THEMECHANGED ||
         (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST);
}

void FollowSystemColours(HWND window) {
  HighContrastKnown() = ReadHighContrast();
  // The standard controls learn of it from their parent: the common controls
  // keep the system's colours and read them again on this message.
  EnumChildWindows(
      window,
      [](HWND child, LPARAM) -> BOOL {
        SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
        if (Control* control = Control::FromHandle(child)) control->OnSystemColours();
        return TRUE;
      },
      0);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace ui
