#include "ui/ComboBox.h"

#include "ui/KeyFilters.h"
#include "ui/Text.h"

namespace ui {

void ComboBox::Create(HWND parent, const Bounds& bounds, Kind kind, const std::vector<std::string>& rows,
                      HFONT font) {
  DWORD style = (kind == Kind::DropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN) | CBS_AUTOHSCROLL |
                WS_VSCROLL | WS_TABSTOP;
  CreateChild(L"COMBOBOX", style, 0, parent, bounds, "", font);
  SetRows(rows);
}

void ComboBox::SetRows(const std::vector<std::string>& rows) {
  SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
  for (const std::string& row : rows)
    SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(row).c_str()));
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
  return Narrow(text);
}

int ComboBox::IndexOf(const std::string& text) const {
  // The box's own search ignores case: it finds the candidate in one message,
  // the rows after it are checked one by one only when case differs.
  std::wstring wide = Widen(text);
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

void ComboBox::SetMaxLength(int maxLength) {
  SendMessageW(Handle(), CB_LIMITTEXT, maxLength, 0);
}
void ComboBox::AllowDigitsOnly() {
  ui::AllowDigitsOnly(TypingTarget());
}

void ComboBox::BlockTyping() {
  ui::BlockTyping(Handle());
  if (HWND edit = TypingTarget(); edit != Handle()) ui::BlockTyping(edit);
}

void ComboBox::SetEnabled(bool on) {
  Control::SetEnabled(on);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void ComboBox::OnCommand(int code) {
  if (code == CBN_SELCHANGE && OnChange) OnChange();
}

}  // namespace ui
