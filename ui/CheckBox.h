#pragma once
#include <functional>
#include <string>

#include "ui/Control.h"

namespace ui {

// A standard check box. Setting the tick from code runs OnClick exactly when
// the tick changes, as a user's click would.
class CheckBox : public Control {
 public:
  void Create(const CaptionArgs& args);
  bool Checked() const;
  void SetChecked(bool on);

  std::function<void()> OnClick;

  void OnCommand(int code) override;
  HBRUSH OnColor(HDC dc) override;
};

}  // namespace ui
