#pragma once
// Buttons drawn by the program (skin pictures, coloured markers). They never
// take the keyboard focus: they have no tab stop and handle the mouse
// themselves, so a click does not move the focus; BM_CLICK still clicks them.
#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/Gdi.h"
#include "ui/ProcedureHook.h"

namespace ui {

enum class GlyphLayout { Left, Top };

class DrawnButton : public Control {
 public:
  void Create(const CaptionArgs& args);
  // A picture holding count images side by side: normal, then greyed. The
  // colour of its bottom-left pixel is transparent.
  void SetGlyph(Bitmap glyph, int count, GlyphLayout layout);
  COLORREF GlyphKey() const { return glyphKey_; }
  bool HasGlyph() const { return static_cast<bool>(glyph_); }
  // One image of the glyph as drawn (0 x 0 without one), and where it stands.
  SIZE GlyphSize() const;
  GlyphLayout GlyphPlace() const { return glyphLayout_; }
  void SetEnabled(bool on) override;

  std::function<void()> OnClick;

  void Paint(HDC dc, const RECT& area) const;

  void OnCommand(int code) override;
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

 protected:
  // The user clicked (mouse or BM_CLICK).
  virtual void UserClick();
  virtual bool LooksPressed() const { return pressedLook_; }
  virtual void PaintFace(HDC dc, RECT inside) const;

 private:
  LRESULT HandleMouse(UINT message, WPARAM wParam, LPARAM lParam);
  void SetPressedLook(bool on);

  Bitmap glyph_;
  COLORREF glyphKey_ = CLR_INVALID;
  int glyphCount_ = 1;
  GlyphLayout glyphLayout_ = GlyphLayout::Left;
  bool pressedLook_ = false;
  bool tracking_ = false;
  ProcedureHook mouseHook_;
};

// A coloured toggle button of a group in which at most one is pressed; a
// pressed one is released by clicking it again. Setting the pressed state
// from code runs nothing.
class MarkerButton : public DrawnButton {
 public:
  // kButtonFace: the button face in the system's colours of the moment.
  static constexpr COLORREF kButtonFace = CLR_INVALID;
  void SetColor(COLORREF color);
  COLORREF Color() const { return color_ == kButtonFace ? GetSysColor(COLOR_BTNFACE) : color_; }
  bool Down() const { return down_; }
  void SetDown(bool on);
  void SetGroup(std::vector<MarkerButton*> group) { group_ = std::move(group); }

 protected:
  void UserClick() override;
  bool LooksPressed() const override;
  void PaintFace(HDC dc, RECT inside) const override;

 private:
  COLORREF color_ = 0;
  bool down_ = false;
  std::vector<MarkerButton*> group_;
};

}  // namespace ui
