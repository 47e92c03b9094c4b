#include "ui/ReportList.h"

#include <commctrl.h>

#include "ui/Text.h"

namespace ui {

void ReportList::Create(const ReportListArgs& args) {
  CreateChild(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE,
              args.parent, args.bounds, "", args.font);
  SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

void ReportList::AddColumn(const std::string& caption, int width) {
  std::wstring text = AnsiToWide(caption);
  HWND header = reinterpret_cast<HWND>(SendMessageW(Handle(), LVM_GETHEADER, 0, 0));
  int index = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
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
