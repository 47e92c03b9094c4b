#include "ui/ColourBlock.h"

namespace ui {

void ColourBlock::Create(const ColourBlockArgs& args) {
  colour_ = args.colour;
  brush_.Reset(CreateSolidBrush(args.colour));
  CreateChild(L"STATIC", SS_LEFT, 0, args.parent, args.bounds, "", nullptr, {}, args.hidden);
}

HBRUSH ColourBlock::OnColor(HDC dc) {
  SetBkColor(dc, colour_);
  return brush_.Get();
}

}  // namespace ui
