#include "ui/Label.h"

#include "ui/Gdi.h"
#include "ui/Text.h"

namespace ui {
void Label::Create(const CaptionArgs& args) {
  autoSize_ = args.bounds.width == 0;
  Bounds place = args.bounds;
  if (autoSize_) {
    SIZE size = CaptionSize(args.caption, args.font);
    place.width = size.cx;
    place.height = size.cy;
  } else if (place.height == 0) {
    place.height = 13;
  }
  CreateChild(L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, args.parent, place, args.caption, args.font);
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
  SIZE size = CaptionSize(Text(), reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
  SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
