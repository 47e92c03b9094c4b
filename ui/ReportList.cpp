#include "ui/ReportList.h"

#include <commctrl.h>

#include "ui/Text.h"

namespace ui {

void ReportList::Create(const ReportListArgs& args) {
  CreateChild(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE,
              args.parent, args.bounds, "", args.font);
  DWORD style = LVS_EX_FULLROWSELECT | (args.gridLines ? LVS_EX_GRIDLINES : 0);
  SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, style, style);
}

void ReportList::AddColumn(const std::string& caption, int width, Align align) {
  std::wstring text = AnsiToWide(caption);
  HWND header = reinterpret_cast<HWND>(SendMessageW(Handle(), LVM_GETHEADER, 0, 0));
  int index = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = align == Align::Centre ? LVCFMT_CENTER : align == Align::Right ? LVCFMT_RIGHT : LVCFMT_LEFT;
  column.cx = width;
  column.pszText = text.data();
  SendMessageW(Handle(), LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
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
  SendMessageW(Handle(), LVM_SETBKCOLOR, 0, color);
  SendMessageW(Handle(), LVM_SETTEXTBKCOLOR, 0, color);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void ReportList::AddRow(const std::vector<std::string>& cells) {
  int row = RowCount();
  for (size_t column = 0; column < cells.size(); ++column) {
    std::wstring text = AnsiToWide(cells[column]);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = static_cast<int>(column);
    item.pszText = text.data();
    SendMessageW(Handle(), column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, column == 0 ? 0 : row,
                 reinterpret_cast<LPARAM>(&item));
  }
}

void ReportList::SetRows(const std::vector<std::vector<std::string>>& rows) {
  RedrawPause pause(Handle());
  Clear();
  // Room for every row at once, instead of growing row by row.
  SendMessageW(Handle(), LVM_SETITEMCOUNT, rows.size(), LVSICF_NOINVALIDATEALL);
  for (const std::vector<std::string>& cells : rows) AddRow(cells);
}

void ReportList::Clear() {
  SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0);
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

}  // namespace ui
