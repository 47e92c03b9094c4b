#pragma once
// A window timer on a hidden message-only window, made when the timer first
// starts; created stopped.
#include <functional>

#include "ui/Window.h"

namespace ui {

struct TimerArgs {
  unsigned intervalMs = 1000;
  ErrorSink sink{};  // shows a failure of OnTimer
};

class Timer : public Window {
 public:
  void Create(const TimerArgs& args);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  unsigned Interval() const { return interval_; }

  std::function<void()> OnTimer;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  unsigned interval_ = 1000;
  bool enabled_ = false;
};

}  // namespace ui
