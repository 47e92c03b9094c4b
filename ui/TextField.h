#pragma once
#include <string>

#include "ui/Control.h"
#include "ui/KeyFilters.h"

namespace ui {

struct TextFieldArgs {
  HWND parent = nullptr;
  Bounds bounds{};
  int maxLength = 0;  // 0: any length
  Typing typing = Typing::Any;
  HFONT font = nullptr;
};

// A one-line edit. Enabled it is painted in the window colour, disabled in
// the button-face colour.
class TextField : public Control {
 public:
  void Create(const TextFieldArgs& args);
  void SetEnabled(bool on) override;

  HBRUSH OnColor(HDC dc) override;

 private:
  ProcedureHook typingFilter_;
};

}  // namespace ui
