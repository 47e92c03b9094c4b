#pragma once
#include <string>

#include "ui/Control.h"

namespace ui {

// A static text. With width 0 it sizes itself to its text.
class Label : public Control {
 public:
  void Create(HWND parent, const Bounds& bounds, const std::string& caption, HFONT font);
  void SetCaption(const std::string& caption);
  void SetTextColor(COLORREF color);

  HBRUSH OnColor(HDC dc) override;

 private:
  void FitToText();
  bool autoSize_ = false;
  bool ownColor_ = false;
  COLORREF color_ = 0;
};

}  // namespace ui
