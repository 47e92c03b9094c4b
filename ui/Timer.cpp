#include "ui/Timer.h"

namespace ui {

constexpr UINT_PTR kTimerId = 1;

void Timer::Create(const TimerArgs& args) {
  interval_ = args.intervalMs;
  SetErrorSink(args.sink);
}

void Timer::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  // The window that receives the ticks is made when the timer first starts:
  // most runs never start it, and every window costs start-up time.
  if (on && !Handle()) CreateWindowOf(L"OmbrelTimer", 0, 0, "", {}, HWND_MESSAGE);
  if (on)
    SetTimer(Handle(), kTimerId, interval_, nullptr);
  else
    KillTimer(Handle(), kTimerId);
}

LRESULT Timer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    if (OnTimer) OnTimer();
    return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace ui
