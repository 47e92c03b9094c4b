#include "ui/TextField.h"

#include "ui/KeyFilters.h"

namespace ui {

void TextField::Create(HWND parent, const Bounds& bounds, int maxLength, bool digitsOnly, HFONT font) {
  CreateChild(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, parent, bounds, "", font);
  if (maxLength > 0) SendMessageW(Handle(), EM_LIMITTEXT, maxLength, 0);
  if (digitsOnly) AllowDigitsOnly(Handle());
}

void TextField::SetEnabled(bool on) {
  Control::SetEnabled(on);
  InvalidateRect(Handle(), nullptr, TRUE);
}

HBRUSH TextField::OnColor(HDC dc) {
  int color = Enabled() ? COLOR_WINDOW : COLOR_BTNFACE;
  SetBkColor(dc, GetSysColor(color));
  return GetSysColorBrush(color);
}

}  // namespace ui
