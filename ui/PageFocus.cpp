#include "ui/PageFocus.h"

namespace ui {

namespace {

// A control the keyboard can reach: enabled and not hidden itself (the page
// that holds it may be hidden, and the whole window while it is built).
bool CanTakeFocus(const Control& control) {
  return control.Enabled() && (GetWindowLongW(control.Handle(), GWL_STYLE) & WS_VISIBLE);
}

}  // namespace

void PageFocus::SetOrder(int page, std::vector<Control*> order) {
  if (page >= static_cast<int>(order_.size())) order_.resize(page + 1);
  order_[page] = std::move(order);
}

void PageFocus::Remember() {
  HWND focus = GetFocus();
  if (focus && IsChild(GetAncestor(pages_.Handle(), GA_ROOT), focus)) remembered_ = focus;
}

void PageFocus::Restore() {
  // A control that has since been disabled, or whose page was left, gives
  // way to the first control of the page.
  int page = pages_.ActiveIndex();
  bool onActivePage = remembered_ && page >= 0 && page < pages_.Count() &&
                      IsChild(pages_.Page(page).Handle(), remembered_);
  if (onActivePage && IsWindowEnabled(remembered_) && (GetWindowLongW(remembered_, GWL_STYLE) & WS_VISIBLE)) {
    SetFocus(remembered_);
    return;
  }
  FocusFirstOfPage();
}

void PageFocus::FocusFirstOfPage() {
  int page = pages_.ActiveIndex();
  if (page < 0 || page >= static_cast<int>(order_.size())) return;
  for (Control* control : order_[page]) {
    if (CanTakeFocus(*control)) {
      SetFocus(control->Handle());
      return;
    }
  }
}

bool PageFocus::PageKey(WPARAM key) {
  if (GetKeyState(VK_CONTROL) >= 0) return false;
  switch (key) {
    case VK_TAB:
      TurnPage(GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_NEXT:
      TurnPage(false);
      return true;
    case VK_PRIOR:
      TurnPage(true);
      return true;
    default:
      return false;
  }
}

// From the last page forwards is the first, as in every tabbed window.
void PageFocus::TurnPage(bool backwards) {
  int count = pages_.Count();
  if (count == 0) return;
  pages_.SetActive((pages_.ActiveIndex() + (backwards ? count - 1 : 1)) % count);
  FocusFirstOfPage();
}

void PageFocus::FocusNext(bool backwards) {
  int page = pages_.ActiveIndex();
  if (page < 0 || page >= static_cast<int>(order_.size())) return;
  const std::vector<Control*>& order = order_[page];
  int count = static_cast<int>(order.size());
  HWND focus = GetFocus();
  int current = -1;
  for (int i = 0; i < count; ++i)
    if (order[i]->Handle() == focus || IsChild(order[i]->Handle(), focus)) current = i;
  for (int step = 1; step <= count; ++step) {
    int next = current < 0 ? (backwards ? count - step : step - 1)
                           : ((current + (backwards ? -step : step)) % count + count) % count;
    if (CanTakeFocus(*order[next])) {
      SetFocus(order[next]->Handle());
      return;
    }
  }
}

}  // namespace ui
