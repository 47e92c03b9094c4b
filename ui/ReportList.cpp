#include "ui/ReportList.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/SystemFunction.h"
#include "ui/Dpi.h"
#include "ui/SystemColours.h"
#include "ui/Text.h"

namespace ui {

void ReportList::Create(const ReportListArgs& args) {
  CreateChild(WC_LISTVIEWW, LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
              WS_EX_CLIENTEDGE, args.parent, args.bounds, "", args.font);
  DWORD style = LVS_EX_FULLROWSELECT | (args.gridLines ? LVS_EX_GRIDLINES : 0);
  SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, style, style);
  ShowHeading();
}

void ReportList::AddColumn(const std::string& caption, int width, Align align) {
  std::wstring text = AnsiToWide(caption);
  HWND header = reinterpret_cast<HWND>(SendMessageW(Handle(), LVM_GETHEADER, 0, 0));
  int index = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = align == Align::Centre ? LVCFMT_CENTER : align == Align::Right ? LVCFMT_RIGHT : LVCFMT_LEFT;
  column.cx = Scale(width, DpiOf(Handle()));
  column.pszText = text.data();
  SendMessageW(Handle(), LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

void ReportList::OnDpiChanged(int oldDpi, int newDpi) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(Handle(), LVM_GETHEADER, 0, 0));
  int count = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int column = 0; column < count; ++column) {
    int width = static_cast<int>(SendMessageW(Handle(), LVM_GETCOLUMNWIDTH, column, 0));
    SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, column, MulDiv(width, newDpi, oldDpi));
  }
}

void ReportList::SetColumnCaption(int column, const std::string& caption) {
  std::wstring text = AnsiToWide(caption);
  LVCOLUMNW info{};
  info.mask = LVCF_TEXT;
  info.pszText = text.data();
  SendMessageW(Handle(), LVM_SETCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
}

std::string ReportList::ColumnCaption(int column) const {
  wchar_t text[256] = {};
  LVCOLUMNW info{};
  info.mask = LVCF_TEXT;
  info.pszText = text;
  info.cchTextMax = 256;
  SendMessageW(Handle(), LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
  return WideToAnsi(text);
}

void ReportList::SetBackground(COLORREF color) {
  background_ = color;
  ShowBackground();
  Repaint(Handle());
}

void ReportList::ShowBackground() {
  COLORREF color = background_ == CLR_INVALID ? GetSysColor(COLOR_WINDOW)
                                              : TextBackground(background_, COLOR_WINDOWTEXT, COLOR_WINDOW);
  SendMessageW(Handle(), LVM_SETBKCOLOR, 0, color);
  SendMessageW(Handle(), LVM_SETTEXTBKCOLOR, 0, color);
  SendMessageW(Handle(), LVM_SETTEXTCOLOR, 0, GetSysColor(COLOR_WINDOWTEXT));
}

// The theme draws the heading light and writes on it in the system's button
// text colour. With a light text (a dark scheme) it would not show: the
// heading is then drawn in the system's own colours, as Windows draws every
// control in a high-contrast theme.
void ReportList::ShowHeading() {
  const bool plain =
      HighContrastOn() || Contrast(GetSysColor(COLOR_BTNTEXT), RGB(255, 255, 255)) < kCaptionContrast;
  if (plain == plainHeading_) return;
  plainHeading_ = plain;
  using SetTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const auto setWindowTheme = SystemFunction<SetTheme>(L"uxtheme.dll", "SetWindowTheme");
  HWND header = reinterpret_cast<HWND>(SendMessageW(Handle(), LVM_GETHEADER, 0, 0));
  if (!setWindowTheme || !header) return;
  // A class name no theme holds: the heading's own drawing, in the system's colours.
  if (plain)
    setWindowTheme(header, L" ", L" ");
  else
    setWindowTheme(header, nullptr, nullptr);
}

void ReportList::OnSystemColours() {
  ShowBackground();
  ShowHeading();
}

void ReportList::AddRow(const std::vector<std::string>& cells) {
  rows_.push_back(cells);
  ShowRowCount();
}

void ReportList::SetRows(std::vector<std::vector<std::string>> rows) {
  rows_ = std::move(rows);
  ShowRowCount();
}

void ReportList::Clear() {
  rows_.clear();
  ShowRowCount();
}

void ReportList::ShowRowCount() {
  SendMessageW(Handle(), LVM_SETITEMCOUNT, rows_.size(), 0);
  Repaint(Handle());
}

int ReportList::RowCount() const {
  return static_cast<int>(SendMessageW(Handle(), LVM_GETITEMCOUNT, 0, 0));
}

std::string ReportList::Cell(int row, int column) const {
  std::wstring text(512, L'\0');
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text.data();
  item.cchTextMax = static_cast<int>(text.size());
  auto length = SendMessageW(Handle(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  text.resize(length);
  return WideToAnsi(text);
}

bool ReportList::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.code != LVN_GETDISPINFOW) return false;
  LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    const auto row = static_cast<size_t>(item.iItem);
    const auto column = static_cast<size_t>(item.iSubItem);
    shown_ = row < rows_.size() && column < rows_[row].size() ? AnsiToWide(rows_[row][column]) : L"";
    size_t length = std::min(shown_.size(), static_cast<size_t>(item.cchTextMax - 1));
    shown_.copy(item.pszText, length);
    item.pszText[length] = L'\0';
  }
  result = 0;
  return true;
}

}  // namespace ui
