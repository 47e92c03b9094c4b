#include "ui/ColourBlock.h"

namespace ui {

void ColourBlock::Create(HWND parent, const Bounds& bounds, COLORREF colour) {
  colour_ = colour;
  brush_.Reset(CreateSolidBrush(colour));
  CreateChild(L"STATIC", SS_LEFT, 0, parent, bounds, "", nullptr);
}

HBRUSH ColourBlock::OnColor(HDC dc) {
  SetBkColor(dc, colour_);
  return brush_.Get();
}

}  // namespace ui
