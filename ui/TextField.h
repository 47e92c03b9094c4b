#pragma once
#include <string>

#include "ui/Control.h"

namespace ui {

// A one-line edit. Enabled it is painted in the window colour, disabled in
// the button-face colour.
class TextField : public Control {
 public:
  // maxLength 0: any length.
  void Create(HWND parent, const Bounds& bounds, int maxLength, bool digitsOnly, HFONT font);
  void SetEnabled(bool on) override;

  HBRUSH OnColor(HDC dc) override;
};

}  // namespace ui
