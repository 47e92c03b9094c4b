#pragma once
// Takes a window's messages for a handler of the program: the window's
// procedure is replaced, and the one it had is kept to pass messages on to.
// Used instead of the common controls' subclassing, which keeps its data in a
// window property read on every message to the window: under Wine each read
// is a call into the window server.
#include <windows.h>

#include <functional>

namespace ui {

class ProcedureHook {
 public:
  // Gets every message but WM_NCDESTROY, which ends the hook; what it does
  // not take it passes on with PassOn.
  using Handler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

  ProcedureHook() = default;
  ProcedureHook(const ProcedureHook&) = delete;
  ProcedureHook& operator=(const ProcedureHook&) = delete;
  ~ProcedureHook() { Remove(); }

  // One hook per window; the handler runs until Remove, the hook's end or the window's.
  void Install(HWND hwnd, Handler handler);
  // Gives the window its previous procedure back.
  void Remove();
  // The window's previous procedure's answer to the message.
  LRESULT PassOn(UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  WNDPROC previous_ = nullptr;
  Handler handler_;
};

}  // namespace ui
