#pragma once
#include <string>

#include "ui/Control.h"

namespace ui {

// A static text. Created with width 0 it sizes itself to its text (also when
// the caption changes); with height 0 it is one line high.
class Label : public Control {
 public:
  void Create(const CaptionArgs& args);
  void SetCaption(const std::string& caption);
  void SetTextColor(COLORREF color);

  HBRUSH OnColor(HDC dc) override;
  void OnDpiChanged(int oldDpi, int newDpi) override;

 private:
  void FitToText();
  bool autoSize_ = false;
  bool ownColor_ = false;
  COLORREF color_ = 0;
};

}  // namespace ui
