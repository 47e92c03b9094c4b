#pragma once
// A filled rectangle of one colour, without text or border: a static control
// that the parent asks for its background. Like every static control without
// SS_NOTIFY it lets clicks through to what lies beneath.
#include "ui/Control.h"
#include "ui/Gdi.h"

namespace ui {

struct ColourBlockArgs;

class ColourBlock : public Control {
 public:
  void Create(const ColourBlockArgs& args);
  COLORREF Colour() const { return colour_; }

  HBRUSH OnColor(HDC dc) override;

 private:
  COLORREF colour_ = 0;
  Brush brush_;
};

struct ColourBlockArgs {
  HWND parent = nullptr;
  Bounds bounds{};
  COLORREF colour = 0;
  bool hidden = false;
};

}  // namespace ui
