#pragma once
// Base of the program's own window classes (main window, panels, pages,
// overview window): one window procedure per class that hands every message
// to HandleMessage and catches every failure before it reaches Windows.
#include <windows.h>

#include <functional>
#include <string>

#include "ui/Control.h"

namespace ui {

// Shows the text of a failure that escaped a message handler (ErrorBoxText
// already applied).
using ErrorSink = std::function<void(const std::string&)>;

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return hwnd_; }
  void SetErrorSink(ErrorSink sink) { errorSink_ = std::move(sink); }

  // The object of a window created by this library, or null.
  static Window* FromHandle(HWND hwnd);
  // A control id not yet given to a child of this window.
  int TakeChildId() { return ++lastChildId_; }
  // The DPI of a top-level window: Windows' at its creation, then the one
  // each WM_DPICHANGED brings. A child window asks its top-level one (DpiOf).
  int Dpi() const { return dpi_; }
  // Where the layout put a child window, at 96 DPI; 0 x 0: placed in pixels
  // by its parent (a page over its tab control's display area).
  const Bounds& Layout() const { return layout_; }

 protected:
  // Registers windowClass (once per process) with this library's window
  // procedure and creates the window at bounds of the 96-DPI layout: a child
  // window scaled to its parent's DPI, a top-level one sized for the
  // system's (CW_USEDEFAULT stays as it is).
  void CreateWindowOf(const wchar_t* windowClass, DWORD exStyle, DWORD style, const std::string& title,
                      const Bounds& bounds, HWND parent);
  // Default: the hourglass while the program is busy, routes control
  // notifications, takes WM_DPICHANGED, then DefWindowProc.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The window has moved to the rectangle Windows suggested for its new DPI
  // (already Dpi()): what is inside it follows. Default: RescaleChildren.
  virtual void OnDpiChanged(int oldDpi);
  // Centres the window on the screen, keeping its size.
  void CentreOnScreen();
  // Shows a failure the way the window procedure does.
  void ReportFailure(const std::string& what);

 private:
  static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  ErrorSink errorSink_;
  int lastChildId_ = 100;
  int dpi_ = 96;
  Bounds layout_{};
};

}  // namespace ui
