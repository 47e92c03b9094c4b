#pragma once
// The base of the control wrappers: each owns the HWND of one standard or
// drawn control, and the window that holds it routes the control's
// notifications back to it.
#include <windows.h>

#include <string>

namespace ui {

// Place and size in pixels inside the parent's client area.
struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// What a control with a caption is created with (check box, label, group,
// drawn button): the layout passes them by name.
struct CaptionArgs {
  HWND parent = nullptr;
  Bounds bounds{};
  std::string caption{};
  HFONT font = nullptr;
};

class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  HWND Handle() const { return hwnd_; }
  int Id() const;

  bool Enabled() const;
  virtual void SetEnabled(bool on);
  bool Visible() const;
  void SetVisible(bool on);
  std::string Text() const;
  void SetText(const std::string& text);
  void SetFont(HFONT font);
  Bounds Place() const;  // relative to the parent

  // Notifications the parent window passes back to the control that sent them.
  virtual void OnCommand(int /*code*/) {}
  virtual bool OnNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
  virtual HBRUSH OnColor(HDC /*dc*/) { return nullptr; }
  virtual void OnScroll(int /*code*/) {}

  // The wrapper of a window created by this library, or null.
  static Control* FromHandle(HWND hwnd);

 protected:
  // Creates the control as a child of parent; the control id is taken from a
  // counter per parent so that WM_COMMAND ids differ.
  void CreateChild(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent, const Bounds& bounds,
                   const std::string& text, HFONT font);

 private:
  HWND hwnd_ = nullptr;
};

// Holds back a control's redrawing and scroll bar updates while it changes
// many times (rows added), then lets it catch up once.
class RedrawPause {
 public:
  explicit RedrawPause(HWND control) : control_(control) { SendMessageW(control_, WM_SETREDRAW, FALSE, 0); }
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;
  ~RedrawPause() { SendMessageW(control_, WM_SETREDRAW, TRUE, 0); }

 private:
  HWND control_;
};

// Every control of this library inside window that shows the font from
// takes the font to instead; controls with a font of their own keep it. The
// way a window's font reaches the controls that follow it.
void ReplaceFont(HWND window, HFONT from, HFONT to);

// Passes WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR* and scroll
// notifications to the control that sent them. True when a control took it.
bool RouteNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace ui
