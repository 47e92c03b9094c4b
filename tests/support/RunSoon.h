#pragma once
// Runs a step from whatever message loop runs next (a modal window's, a box's):
// a thread timer that fires once.
#include <windows.h>

#include <functional>
#include <utility>

inline void RunSoon(std::function<void()> step) {
  static std::function<void()> pending;
  pending = std::move(step);
  SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto step = std::move(pending);
    if (step) step();
  });
}
