#include "ui/TextField.h"

#include "ui/KeyFilters.h"

namespace ui {

void TextField::Create(const TextFieldArgs& args) {
  CreateChild(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, args.parent, args.bounds, "",
              args.font);
  if (args.maxLength > 0) SendMessageW(Handle(), EM_LIMITTEXT, args.maxLength, 0);
  FilterTyping(typingFilter_, Handle(), args.typing);
}

void TextField::SetEnabled(bool on) {
  Control::SetEnabled(on);
  Repaint(Handle());
}

HBRUSH TextField::OnColor(HDC dc) {
  int color = Enabled() ? COLOR_WINDOW : COLOR_BTNFACE;
  SetBkColor(dc, GetSysColor(color));
  return GetSysColorBrush(color);
}

}  // namespace ui
