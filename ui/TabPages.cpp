#include "ui/TabPages.h"

#include <commctrl.h>

#include "ui/Text.h"

namespace ui {

void TabPages::Create(const TabPagesArgs& args) {
  sink_ = args.sink;
  CreateChild(WC_TABCONTROLW,
              TCS_FOCUSNEVER | TCS_HOTTRACK | TCS_MULTILINE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
              WS_EX_CONTROLPARENT, args.parent, args.bounds, "", args.font);
}

Panel& TabPages::AddPage(const std::string& caption) {
  std::wstring text = AnsiToWide(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  SendMessageW(Handle(), TCM_INSERTITEMW, pages_.size(), reinterpret_cast<LPARAM>(&item));

  auto page = std::make_unique<Panel>();
  page->Create({.parent = Handle(), .bevelWidth = 0, .sink = sink_});
  pages_.push_back(std::move(page));
  PlacePage(*pages_.back());
  ShowActivePage();
  return *pages_.back();
}

// Over the display area, which the tab strip's font and wrapping decide.
void TabPages::PlacePage(Panel& page) {
  RECT area;
  GetClientRect(Handle(), &area);
  SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  SetWindowPos(page.Handle(), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TabPages::OnDpiChanged(int /*oldDpi*/, int /*newDpi*/) {
  for (const auto& page : pages_) PlacePage(*page);
}

int TabPages::ActiveIndex() const {
  return static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
}

void TabPages::SetActive(int index) {
  SendMessageW(Handle(), TCM_SETCURSEL, index, 0);
  ShowActivePage();
}

std::string TabPages::Caption(int index) const {
  wchar_t text[256] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 256;
  if (!SendMessageW(Handle(), TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return {};
  return WideToAnsi(item.pszText);
}

void TabPages::SetCaption(int index, const std::string& caption) {
  std::wstring text = AnsiToWide(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  SendMessageW(Handle(), TCM_SETITEMW, index, reinterpret_cast<LPARAM>(&item));
}

void TabPages::ShowActivePage() {
  int active = ActiveIndex();
  for (int i = 0; i < Count(); ++i) ShowWindow(pages_[i]->Handle(), i == active ? SW_SHOWNA : SW_HIDE);
}

bool TabPages::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.code != TCN_SELCHANGE) return false;
  ShowActivePage();
  if (OnChange) OnChange(ActiveIndex());
  result = 0;
  return true;
}

}  // namespace ui
