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

// The text's colour goes with the background's: the system does not set it
// for a control whose parent answers for its colours.
HBRUSH TextField::OnColor(HDC dc) {
  const bool enabled = Enabled();
  const int background = enabled ? COLOR_WINDOW : COLOR_BTNFACE;
  SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  SetBkColor(dc, GetSysColor(background));
  return GetSysColorBrush(background);
}

}  // namespace ui
