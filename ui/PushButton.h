#pragma once
#include <functional>

#include "ui/Control.h"

namespace ui {

// A standard push button that takes the keyboard focus, the default button
// of its window: a click, the space key on it, or Enter in its window run OnClick.
class PushButton : public Control {
 public:
  void Create(const CaptionArgs& args);

  std::function<void()> OnClick;

  void OnCommand(int code) override;
};

}  // namespace ui
