#include "ui/TickList.h"

#include <algorithm>
#include <utility>

#include "ui/Dpi.h"
#include "ui/Gdi.h"
#include "ui/Text.h"

namespace ui {
namespace {

// Runs a change of the list without treating its notifications as the user's.
class FromCode {
 public:
  explicit FromCode(int& depth) : depth_(depth) { ++depth_; }
  FromCode(const FromCode&) = delete;
  FromCode& operator=(const FromCode&) = delete;
  ~FromCode() { --depth_; }

 private:
  int& depth_;
};

UINT TickState(bool on) {
  return INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
}

// The unticked and ticked boxes, one pixel less high than a row: the list
// view adds one pixel to its tallest image, and its own boxes are 16 high
// (at 96 DPI).
HIMAGELIST MakeTickImages(int rowHeight, int dpi) {
  const int kWidth = Scale(16, dpi);
  const int height = rowHeight - 1;
  const COLORREF transparent = RGB(255, 0, 255);
  HIMAGELIST images = ImageList_Create(kWidth, height, ILC_COLOR24 | ILC_MASK, 2, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  for (bool ticked : {false, true}) {
    Bitmap picture = CanvasBitmap({kWidth, height});
    HGDIOBJ old = SelectObject(dc, picture.Get());
    HBRUSH background = CreateSolidBrush(transparent);
    RECT whole{0, 0, kWidth, height};
    FillRect(dc, &whole, background);
    DeleteObject(background);
    int side = std::min(Scale(13, dpi), height);
    RECT box{(kWidth - side) / 2, (height - side) / 2, (kWidth - side) / 2 + side,
             (height - side) / 2 + side};
    DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (ticked ? DFCS_CHECKED : 0));
    SelectObject(dc, old);
    ImageList_AddMasked(images, picture.Get(), transparent);
  }
  DeleteDC(dc);
  return images;
}

}  // namespace

TickList::~TickList() {
  // The list view shares these lists and leaves them to us.
  if (rowHeightList_) ImageList_Destroy(rowHeightList_);
  if (tickImages_) ImageList_Destroy(tickImages_);
}

void TickList::Create(const TickListArgs& args) {
  CreateChild(
      WC_LISTVIEWW,
      LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_TABSTOP,
      args.border ? WS_EX_CLIENTEDGE : 0, args.parent, args.bounds, "", args.font);
  rowHeight_ = args.rowHeight;
  RedrawPause pause(Handle());
  SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  SizeRows(DpiOf(args.parent));
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = args.bounds.width;
  SendMessageW(Handle(), LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  FitColumn();
  SetRows(args.rows);
}

// The row height is the tallest image plus one: tick boxes and a small-image
// list of the row height less one fix it.
void TickList::SizeRows(int dpi) {
  // Rounded down: rows rounded up would not all fit the list scaled with them.
  const int rowHeight = rowHeight_ * dpi / kLayoutDpi;
  // Taken away first: the list view keeps the room of larger old images
  // when smaller ones replace them.
  if (tickImages_) {
    SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_STATE, 0);
    SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, 0);
  }
  HIMAGELIST oldTicks = std::exchange(tickImages_, MakeTickImages(rowHeight, dpi));
  auto ownBoxes = reinterpret_cast<HIMAGELIST>(
      SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(tickImages_)));
  if (ownBoxes && ownBoxes != oldTicks) ImageList_Destroy(ownBoxes);
  if (oldTicks) ImageList_Destroy(oldTicks);
  HIMAGELIST oldHeight = std::exchange(rowHeightList_, ImageList_Create(1, rowHeight - 1, ILC_COLOR, 1, 0));
  SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(rowHeightList_));
  if (oldHeight) ImageList_Destroy(oldHeight);
}

void TickList::OnDpiChanged(int /*oldDpi*/, int newDpi) {
  SizeRows(newDpi);
  // The list view measures its rows again when its font is given anew; new
  // images alone do not make them lower.
  SendMessageW(Handle(), WM_SETFONT, SendMessageW(Handle(), WM_GETFONT, 0, 0), TRUE);
  // A column wider than the list that has just shrunk shows scroll bars,
  // which keep each other: narrow first, then as wide as the list.
  SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, 0, 1);
  FitColumn();
}

void TickList::FitColumn() {
  RECT client{};
  GetClientRect(Handle(), &client);
  SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, 0, client.right - client.left);
}

void TickList::SetRows(const std::vector<std::string>& rows) {
  RedrawPause pause(Handle());
  Clear();
  for (const std::string& row : rows) Add(row);
}

void TickList::Add(const std::string& row) {
  FromCode guard(settingFromCode_);
  std::wstring text = AnsiToWide(row);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = Count();
  item.pszText = text.data();
  int index = static_cast<int>(SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  SetChecked(index, false);
}

void TickList::Clear() {
  FromCode guard(settingFromCode_);
  SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0);
}

void TickList::Sort() {
  std::vector<std::pair<std::wstring, bool>> rows;
  for (int row = 0, count = Count(); row < count; ++row)
    rows.emplace_back(AnsiToWide(RowText(row)), Checked(row));
  std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.first.c_str(), -1, b.first.c_str(), -1) ==
           CSTR_LESS_THAN;
  });
  RedrawPause pause(Handle());
  Clear();
  for (const auto& [text, ticked] : rows) {
    Add(WideToAnsi(text));
    SetChecked(Count() - 1, ticked);
  }
}

int TickList::Count() const {
  return static_cast<int>(SendMessageW(Handle(), LVM_GETITEMCOUNT, 0, 0));
}

std::string TickList::RowText(int row) const {
  std::wstring text(512, L'\0');
  LVITEMW item{};
  item.iSubItem = 0;
  item.pszText = text.data();
  item.cchTextMax = static_cast<int>(text.size());
  auto length = SendMessageW(Handle(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  text.resize(length);
  return WideToAnsi(text);
}

void TickList::SetRowText(int row, const std::string& text) {
  std::wstring wide = AnsiToWide(text);
  LVITEMW item{};
  item.iSubItem = 0;
  item.pszText = wide.data();
  SendMessageW(Handle(), LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

bool TickList::Checked(int row) const {
  auto state = SendMessageW(Handle(), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
  return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void TickList::SetChecked(int row, bool on) {
  FromCode guard(settingFromCode_);
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = TickState(on);
  SendMessageW(Handle(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void TickList::UntickAllBut(int keep) {
  for (int row = 0, count = Count(); row < count; ++row)
    if (row != keep) SetChecked(row, false);
}

void TickList::TickOnly(int row) {
  UntickAllBut(row);
  if (row >= 0 && row < Count()) SetChecked(row, true);
}

int TickList::SelectedRow() const {
  return static_cast<int>(SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

RECT TickList::TickBoxRect(int row) const {
  RECT bounds{};
  bounds.left = LVIR_BOUNDS;
  SendMessageW(Handle(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
  RECT icon{};
  icon.left = LVIR_ICON;
  SendMessageW(Handle(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&icon));
  // The state image stands left of the (one pixel wide) small icon.
  return {bounds.left, bounds.top, icon.left, bounds.bottom};
}

void TickList::SetEnabled(bool on) {
  Control::SetEnabled(on);
  ShowBackground();
  Repaint(Handle());
}

void TickList::ShowBackground() {
  COLORREF color = GetSysColor(Enabled() ? COLOR_WINDOW : COLOR_BTNFACE);
  SendMessageW(Handle(), LVM_SETBKCOLOR, 0, color);
  SendMessageW(Handle(), LVM_SETTEXTBKCOLOR, 0, color);
  SendMessageW(Handle(), LVM_SETTEXTCOLOR, 0, GetSysColor(COLOR_WINDOWTEXT));
}

// The background and the tick boxes were made in the old colours.
void TickList::OnSystemColours() {
  ShowBackground();
  SizeRows(DpiOf(Handle()));
}

bool TickList::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.code != LVN_ITEMCHANGED || settingFromCode_ > 0) return false;
  const auto& change = *reinterpret_cast<NMLISTVIEW*>(&header);
  UINT oldTick = change.uOldState & LVIS_STATEIMAGEMASK;
  UINT newTick = change.uNewState & LVIS_STATEIMAGEMASK;
  if (!(change.uChanged & LVIF_STATE) || change.iItem < 0 || oldTick == 0 || oldTick == newTick) return false;
  int row = change.iItem;
  {
    // The toggled row becomes the selected row, as a click on it selects it.
    FromCode guard(settingFromCode_);
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Handle(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  }
  if (OnClickCheck) OnClickCheck(row);
  result = 0;
  return true;
}

}  // namespace ui
