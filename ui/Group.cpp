#include "ui/Group.h"

namespace ui {

void Group::Create(const CaptionArgs& args) {
  bounds_ = args.bounds;
  CreateChild(L"BUTTON", BS_GROUPBOX, 0, args.parent, args.bounds, args.caption, args.font);
}

void Group::PlaceBeneathSiblings() {
  SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

Bounds Group::Inside(int left, int top, int width, int height) const {
  return {bounds_.left + left, bounds_.top + top, width, height};
}

}  // namespace ui
