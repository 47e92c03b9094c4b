#pragma once
#include <functional>

#include "ui/Control.h"

namespace ui {

// A standard up-down control that keeps its own position (no buddy field).
// Setting the position from code runs nothing; an arrow click that moves the
// position runs OnClick with the new position.
class Spinner : public Control {
 public:
  void Create(HWND parent, const Bounds& bounds, int minimum, int maximum, int position);
  int Position() const;
  void SetPosition(int position);  // held within the range

  std::function<void(int position)> OnClick;

  void OnScroll(int code) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;

 private:
  int minimum_ = 0;
  int maximum_ = 0;
  int known_ = 0;  // the position the last reaction saw
};

}  // namespace ui
