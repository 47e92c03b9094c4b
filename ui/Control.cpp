#include "ui/Control.h"

#include <commctrl.h>

#include <unordered_map>

#include "ui/Dpi.h"
#include "ui/Text.h"
#include "ui/Window.h"

namespace ui {
namespace {

// The wrapper of each control window, kept in the program rather than in a
// window property: every message routed to a control looks it up, and under
// Wine each property read or write is a call into the window server. The
// windows are all made and used on the program's one window thread.
std::unordered_map<HWND, Control*>& Wrappers() {
  static std::unordered_map<HWND, Control*> wrappers;
  return wrappers;
}

// The next control id among the parent's children, counted by the parent's
// object, or else here by parent: walking the children instead costs a call
// into the window manager per child, for every control created. A count left
// from a destroyed parent whose handle comes again only goes on counting.
int NextChildId(HWND parent) {
  if (Window* owner = Window::FromHandle(parent)) return owner->TakeChildId();
  static std::unordered_map<HWND, int> lastIds;
  int& last = lastIds[parent];
  last = last < 101 || last >= 0xFFFF ? 101 : last + 1;
  return last;
}

}  // namespace

Control::~Control() {
  if (!hwnd_) return;
  auto found = Wrappers().find(hwnd_);
  if (found == Wrappers().end() || found->second != this) return;
  Wrappers().erase(found);
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void Control::CreateChild(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent,
                          const Bounds& bounds, const std::string& text, HFONT font,
                          std::optional<SIZE> ownSize, bool hidden) {
  layout_ = bounds;
  Bounds place = Scale(bounds, DpiOf(parent));
  if (ownSize) {
    layout_.width = layout_.height = 0;
    place.width = ownSize->cx;
    place.height = ownSize->cy;
  }
  int id = NextChildId(parent);
  hwnd_ =
      CreateWindowExW(exStyle, windowClass, AnsiToWide(text).c_str(),
                      style | WS_CHILD | (hidden ? 0 : WS_VISIBLE) | WS_CLIPSIBLINGS, place.left, place.top,
                      place.width, place.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return;
  // A handle of a window destroyed earlier may come again: the new one wins.
  Wrappers()[hwnd_] = this;
  // A new window paints all of itself anyway: no redraw for the font.
  if (font) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

Control* Control::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto found = Wrappers().find(hwnd);
  return found == Wrappers().end() ? nullptr : found->second;
}

int Control::Id() const {
  return GetDlgCtrlID(hwnd_);
}
bool Control::Enabled() const {
  return IsWindowEnabled(hwnd_) != FALSE;
}
void Control::SetEnabled(bool on) {
  EnableWindow(hwnd_, on ? TRUE : FALSE);
}
bool Control::Visible() const {
  return IsWindowVisible(hwnd_) != FALSE;
}
void Control::SetVisible(bool on) {
  ShowWindow(hwnd_, on ? SW_SHOWNA : SW_HIDE);
}
std::string Control::Text() const {
  return WindowText(hwnd_);
}
void Control::SetText(const std::string& text) {
  ui::SetWindowText(hwnd_, text);
}
void Control::SetFont(HFONT font) {
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

Bounds Control::Place() const {
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void Repaint(HWND hwnd, bool erase) {
  if (!IsWindowVisible(hwnd)) return;
  InvalidateRect(hwnd, nullptr, erase ? TRUE : FALSE);
}

void ReplaceFont(HWND window, HFONT from, HFONT to) {
  ReplaceFonts(window, {{from, to}});
}

// Panels of this library take part too: one that paints a caption answers
// WM_GETFONT with its font.
void ReplaceFonts(HWND window, const std::vector<std::pair<HFONT, HFONT>>& changes) {
  EnumChildWindows(
      window,
      [](HWND child, LPARAM context) -> BOOL {
        const auto& changes = *reinterpret_cast<const std::vector<std::pair<HFONT, HFONT>>*>(context);
        if (!Control::FromHandle(child) && !Window::FromHandle(child)) return TRUE;
        auto shown = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        if (!shown) return TRUE;
        for (const auto& [from, to] : changes) {
          if (shown != from) continue;
          SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(to), TRUE);
          break;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&changes));
}

bool RouteNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (Control* control = Control::FromHandle(reinterpret_cast<HWND>(lParam))) {
        control->OnCommand(HIWORD(wParam));
        result = 0;
        return true;
      }
      return false;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (Control* control = Control::FromHandle(header->hwndFrom)) return control->OnNotify(*header, result);
      return false;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (Control* control = Control::FromHandle(item->hwndItem); control && control->OnDrawItem(*item)) {
        result = TRUE;
        return true;
      }
      return false;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (Control* control = Control::FromHandle(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = control->OnColor(reinterpret_cast<HDC>(wParam))) {
          result = reinterpret_cast<LRESULT>(brush);
          return true;
        }
      }
      return false;
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (Control* control = Control::FromHandle(reinterpret_cast<HWND>(lParam))) {
        control->OnScroll(LOWORD(wParam));
        result = 0;
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace ui
