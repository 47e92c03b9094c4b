#include "ui/Label.h"

#include "ui/Gdi.h"
#include "ui/SystemColours.h"
#include "ui/Text.h"

namespace ui {
void Label::Create(const CaptionArgs& args) {
  autoSize_ = args.bounds.width == 0;
  Bounds layout = args.bounds;
  if (!autoSize_ && layout.height == 0) layout.height = 13;
  // The font is made for the window's DPI already: its measure is in pixels.
  std::optional<SIZE> ownSize;
  if (autoSize_) ownSize = CaptionSize(args.caption, args.font);
  CreateChild(L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, args.parent, layout, args.caption, args.font,
              ownSize);
}

void Label::OnDpiChanged(int /*oldDpi*/, int /*newDpi*/) {
  if (autoSize_) FitToText();
}

void Label::SetCaption(const std::string& caption) {
  SetText(caption);
  if (autoSize_) FitToText();
}

void Label::SetTextColor(COLORREF color) {
  ownColor_ = true;
  color_ = color;
  Repaint(Handle());
}

// A colour of its own only where it stands out from the face (and not in a
// high-contrast theme); else the system's text colour.
HBRUSH Label::OnColor(HDC dc) {
  return CaptionOnFace(dc, Enabled(),
                       ownColor_ ? CaptionColour(color_, COLOR_BTNFACE, COLOR_BTNTEXT) : CLR_INVALID);
}

void Label::FitToText() {
  SIZE size = CaptionSize(Text(), reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
  SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
