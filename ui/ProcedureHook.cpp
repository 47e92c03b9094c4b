#include "ui/ProcedureHook.h"

#include <unordered_map>

namespace ui {
namespace {

// What the hook procedure needs of each window it stands in for. The hook is
// null once it has ended while another procedure was installed over this one:
// the messages then go on to the previous procedure until the window ends.
struct Hooked {
  WNDPROC previous = nullptr;
  ProcedureHook* hook = nullptr;
};

// Kept in the program: the windows are all made and used on its one window thread.
std::unordered_map<HWND, Hooked>& HookedWindows() {
  static std::unordered_map<HWND, Hooked> windows;
  return windows;
}

}  // namespace

void ProcedureHook::Install(HWND hwnd, Handler handler) {
  Remove();
  if (!hwnd) return;
  handler_ = std::move(handler);
  hwnd_ = hwnd;
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ProcedureHook::Procedure)));
  HookedWindows()[hwnd] = {previous_, this};
}

void ProcedureHook::Remove() {
  if (!hwnd_) return;
  auto found = HookedWindows().find(hwnd_);
  if (found != HookedWindows().end()) {
    if (GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ProcedureHook::Procedure)) {
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
      HookedWindows().erase(found);
    } else {
      found->second.hook = nullptr;
    }
  }
  hwnd_ = nullptr;
  previous_ = nullptr;
}

LRESULT ProcedureHook::PassOn(UINT message, WPARAM wParam, LPARAM lParam) const {
  return CallWindowProcW(previous_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK ProcedureHook::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto found = HookedWindows().find(hwnd);
  if (found == HookedWindows().end()) return DefWindowProcW(hwnd, message, wParam, lParam);
  const Hooked hooked = found->second;
  if (message == WM_NCDESTROY) {
    if (hooked.hook) hooked.hook->Remove();
    HookedWindows().erase(hwnd);
    return CallWindowProcW(hooked.previous, hwnd, message, wParam, lParam);
  }
  if (!hooked.hook) return CallWindowProcW(hooked.previous, hwnd, message, wParam, lParam);
  return hooked.hook->handler_(message, wParam, lParam);
}

}  // namespace ui
