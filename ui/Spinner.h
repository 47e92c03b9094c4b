#pragma once
#include <functional>

#include "ui/Control.h"

namespace ui {

struct SpinnerArgs {
  HWND parent = nullptr;
  Bounds bounds{};
  int minimum = 0;
  int maximum = 0;
  int position = 0;
};

// A standard up-down control that keeps its own position (no buddy field).
// Setting the position from code runs nothing; an arrow click that moves the
// position runs OnClick with the new position.
class Spinner : public Control {
 public:
  void Create(const SpinnerArgs& args);
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
