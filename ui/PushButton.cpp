#include "ui/PushButton.h"

namespace ui {

void PushButton::Create(const CaptionArgs& args) {
  CreateChild(L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, args.parent, args.bounds, args.caption, args.font);
}

void PushButton::OnCommand(int code) {
  if (code == BN_CLICKED && OnClick) OnClick();
}

}  // namespace ui
