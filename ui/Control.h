#pragma once
// The base of the control wrappers: each owns the HWND of one standard or
// drawn control, and the window that holds it routes the control's
// notifications back to it.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ui {

// Place and size inside the parent's client area: in the 96-DPI units of the
// layout where a control is created (Control::CreateChild scales them), in
// pixels where a control tells where it is (Place).
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
  Bounds Place() const;  // relative to the parent, in pixels
  // Where the layout put it, at 96 DPI; a width and height of 0: sized by
  // itself (a label fitting its text).
  const Bounds& Layout() const { return layout_; }

  // Notifications the parent window passes back to the control that sent them.
  virtual void OnCommand(int /*code*/) {}
  virtual bool OnNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
  virtual HBRUSH OnColor(HDC /*dc*/) { return nullptr; }
  virtual void OnScroll(int /*code*/) {}
  // The window has been placed again for another DPI (RescaleChildren), its
  // fonts already made for the new one: what the control sized for the old
  // one (rows, pictures, its own size) follows.
  virtual void OnDpiChanged(int /*oldDpi*/, int /*newDpi*/) {}
  // The system's colours or theme have changed: what the control keeps of
  // them (a list's background, pictures drawn in them) is made again. The
  // window paints everything anew afterwards.
  virtual void OnSystemColours() {}

  // The wrapper of a window created by this library, or null.
  static Control* FromHandle(HWND hwnd);

 protected:
  // Creates the control as a child of parent at bounds of the 96-DPI layout,
  // scaled to the DPI of the parent's window, or with a size of its own in
  // pixels; the control id is taken from a counter per parent so that
  // WM_COMMAND ids differ. It shows with its parent unless made hidden.
  void CreateChild(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent, const Bounds& bounds,
                   const std::string& text, HFONT font, std::optional<SIZE> ownSize = {},
                   bool hidden = false);

 private:
  HWND hwnd_ = nullptr;
  Bounds layout_{};
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

// Marks a window to be painted anew. A hidden one (or one inside a hidden
// window, as every control is until the main window first shows) is painted
// whole when it shows: then nothing is asked of the window server.
void Repaint(HWND hwnd, bool erase = true);

// Every control of this library inside window that shows the font from
// takes the font to instead; controls with a font of their own keep it. The
// way a window's font reaches the controls that follow it.
void ReplaceFont(HWND window, HFONT from, HFONT to);
// The same for several fonts at once, in one walk over the controls.
void ReplaceFonts(HWND window, const std::vector<std::pair<HFONT, HFONT>>& changes);

// Passes WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR* and scroll
// notifications to the control that sent them. True when a control took it.
bool RouteNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace ui
