#include "ui/Label.h"

#include "ui/Text.h"

namespace ui {

void Label::Create(HWND parent, const Bounds& bounds, const std::string& caption, HFONT font) {
  autoSize_ = bounds.width == 0;
  Bounds place = bounds;
  if (place.height == 0) place.height = 13;
  CreateChild(L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, parent, place, caption, font);
  if (autoSize_) FitToText();
}

void Label::SetCaption(const std::string& caption) {
  SetText(caption);
  if (autoSize_) FitToText();
}

void Label::SetTextColor(COLORREF color) {
  ownColor_ = true;
  color_ = color;
  InvalidateRect(Handle(), nullptr, TRUE);
}

HBRUSH Label::OnColor(HDC dc) {
  if (!ownColor_ || !Enabled()) return nullptr;
  ::SetTextColor(dc, color_);
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

void Label::FitToText() {
  HDC dc = GetDC(Handle());
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
  std::wstring text = Widen(Text());
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(Handle(), dc);
  // Two pixels more than the text: the static control clips a last letter's overhang.
  SetWindowPos(Handle(), nullptr, 0, 0, size.cx + 2, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
