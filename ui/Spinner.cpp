#include "ui/Spinner.h"

#include <commctrl.h>

#include <algorithm>

namespace ui {

void Spinner::Create(const SpinnerArgs& args) {
  CreateChild(UPDOWN_CLASSW, UDS_NOTHOUSANDS, 0, args.parent, args.bounds, "", nullptr);
  minimum_ = args.minimum;
  maximum_ = args.maximum;
  SendMessageW(Handle(), UDM_SETRANGE32, minimum_, maximum_);
  SetPosition(args.position);
}

int Spinner::Position() const {
  return static_cast<int>(SendMessageW(Handle(), UDM_GETPOS32, 0, 0));
}

void Spinner::SetPosition(int position) {
  known_ = std::clamp(position, minimum_, maximum_);
  SendMessageW(Handle(), UDM_SETPOS32, 0, known_);
}

bool Spinner::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.code != UDN_DELTAPOS) return false;
  // Stop at the ends of the range; the control never wraps.
  auto& change = *reinterpret_cast<NMUPDOWN*>(&header);
  int wanted = change.iPos + change.iDelta;
  result = (wanted < minimum_ || wanted > maximum_) ? 1 : 0;
  return true;
}

void Spinner::OnScroll(int /*code*/) {
  int position = Position();
  if (position == known_) return;
  known_ = position;
  if (OnClick) OnClick(position);
}

}  // namespace ui
