#pragma once
// A plain container window with optional bevels and an optional picture
// stretched over its inside. Pages, the header and the bottom bar are panels;
// they route their controls' notifications back to the controls.
#include <string>
#include <vector>

#include "ui/Gdi.h"
#include "ui/Window.h"

namespace ui {

enum class Bevel { None, Raised, Lowered };

struct PanelArgs {
  HWND parent = nullptr;
  Bounds bounds{};
  Bevel outer = Bevel::None;
  Bevel inner = Bevel::None;
  int bevelWidth = 1;
  ErrorSink sink{};  // shows a failure of a handler of the panel's controls
};

class Panel : public Window {
 public:
  void Create(const PanelArgs& args);
  void SetBevels(Bevel outer, Bevel inner);
  Bevel Outer() const { return outer_; }
  Bevel Inner() const { return inner_; }
  void SetPicture(Bitmap picture);
  bool HasPicture() const { return static_cast<bool>(picture_); }
  // A caption centred in the panel; WM_GETFONT and WM_SETFONT read and
  // change its font.
  void SetCaption(const std::string& caption, HFONT font, COLORREF color);
  std::string Caption() const { return caption_; }
  COLORREF CaptionColor() const { return captionColor_; }  // the own colour asked for
  // A filled rectangle painted on the panel (legends), in the 96-DPI units
  // of the layout.
  void AddColourBlock(const RECT& rect, COLORREF color);
  void Paint(HDC dc, const RECT& area) const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  Bevel outer_ = Bevel::None;
  Bevel inner_ = Bevel::None;
  int bevelWidth_ = 1;
  Bitmap picture_;
  std::string caption_;
  HFONT captionFont_ = nullptr;
  COLORREF captionColor_ = 0;
  std::vector<std::pair<RECT, COLORREF>> blocks_;
};

}  // namespace ui
