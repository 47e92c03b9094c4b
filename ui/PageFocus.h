#pragma once
// The keyboard focus of a window with tabbed pages: the keyboard order of
// each page, Tab and Shift+Tab along it, Ctrl+Tab and Ctrl+PageDown/PageUp
// across the pages, and the focus given back when the window is activated
// again. A plain window does not do that: after a message box, the folder
// browser or another program it gives the focus to itself, not the control
// that had it.
#include <windows.h>

#include <vector>

#include "ui/Control.h"
#include "ui/TabPages.h"

namespace ui {

class PageFocus {
 public:
  explicit PageFocus(TabPages& pages) : pages_(pages) {}

  void SetOrder(int page, std::vector<Control*> order);
  // The window is deactivated: the control that has the focus is remembered.
  void Remember();
  // The window is active again: the remembered control, if it is still on
  // the active page and can take the focus, else the page's first.
  void Restore();
  // The first control of the active page in keyboard order that can take the focus.
  void FocusFirstOfPage();
  // Moves the focus along the keyboard order of the active page.
  void FocusNext(bool backwards);
  // Ctrl+Tab, Ctrl+PageDown: the next page; with Shift, Ctrl+PageUp: the
  // previous one. True when the key turned the page.
  bool PageKey(WPARAM key);

 private:
  void TurnPage(bool backwards);

  TabPages& pages_;
  std::vector<std::vector<Control*>> order_;  // per page
  HWND remembered_ = nullptr;
};

}  // namespace ui
