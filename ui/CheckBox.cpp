#include "ui/CheckBox.h"

#include "ui/SystemColours.h"

namespace ui {

void CheckBox::Create(const CaptionArgs& args) {
  CreateChild(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, args.parent, args.bounds, args.caption, args.font);
}

bool CheckBox::Checked() const {
  return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool on) {
  if (Checked() == on) return;
  SendMessageW(Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  if (OnClick) OnClick();
}

void CheckBox::OnCommand(int code) {
  if (code == BN_CLICKED && OnClick) OnClick();
}

HBRUSH CheckBox::OnColor(HDC dc) {
  return CaptionOnFace(dc, Enabled());
}

}  // namespace ui
