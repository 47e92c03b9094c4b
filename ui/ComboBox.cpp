#include "ui/ComboBox.h"

#include "ui/KeyFilters.h"
#include "ui/Text.h"

namespace ui {

void ComboBox::Create(const ComboBoxArgs& args) {
  DWORD style = (args.kind == Kind::DropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN) | CBS_AUTOHSCROLL |
                WS_VSCROLL | WS_TABSTOP;
  CreateChild(L"COMBOBOX", style, 0, args.parent, args.bounds, "", args.font);
  SetRows(args.rows);
  if (args.maxLength > 0) SendMessageW(Handle(), CB_LIMITTEXT, args.maxLength, 0);
  // The characters typed into a drop-down list reach the box itself; those
  // typed into a drop-down reach its edit part.
  // A blocked drop-down takes no typing in either part.
  const HWND edit = TypingTarget();
  FilterTyping(editFilter_, edit, args.typing);
  if (args.typing == Typing::Blocked && edit != Handle()) FilterTyping(boxFilter_, Handle(), Typing::Blocked);
}

// Without redrawing, the list does not update its scroll bar and repaint
// for every row added (a year list has 201); the box shows its text anew once.
void ComboBox::SetRows(const std::vector<std::string>& rows) {
  {
    RedrawPause pause(Handle());
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    for (const std::string& row : rows)
      SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AnsiToWide(row).c_str()));
  }
  Repaint(Handle());
}

int ComboBox::Count() const {
  return static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
}

std::string ComboBox::RowText(int row) const {
  LRESULT length = SendMessageW(Handle(), CB_GETLBTEXTLEN, row, 0);
  if (length == CB_ERR) return {};
  std::wstring text(length + 1, L'\0');
  SendMessageW(Handle(), CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return WideToAnsi(text);
}

int ComboBox::IndexOf(const std::string& text) const {
  // The box's own search ignores case: it finds the candidate in one message,
  // the rows after it are checked one by one only when case differs.
  std::wstring wide = AnsiToWide(text);
  int row = -1;
  for (int count = Count();;) {
    auto found = SendMessageW(Handle(), CB_FINDSTRINGEXACT, row, reinterpret_cast<LPARAM>(wide.c_str()));
    if (found == CB_ERR || found <= row) return -1;  // the search wraps round to the start
    row = static_cast<int>(found);
    if (RowText(row) == text) return row;
    if (row == count - 1) return -1;
  }
}

int ComboBox::ItemIndex() const {
  return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void ComboBox::SetItemIndex(int row) {
  if (row < 0 || row >= Count()) row = -1;
  SendMessageW(Handle(), CB_SETCURSEL, row, 0);
  if (row < 0) SetText("");
}

HWND ComboBox::TypingTarget() const {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (GetComboBoxInfo(Handle(), &info) && info.hwndItem && info.hwndItem != Handle()) return info.hwndItem;
  return Handle();
}

void ComboBox::SetEnabled(bool on) {
  Control::SetEnabled(on);
  Repaint(Handle());
}

void ComboBox::OnCommand(int code) {
  if (code == CBN_SELCHANGE && OnChange) OnChange();
}

}  // namespace ui
