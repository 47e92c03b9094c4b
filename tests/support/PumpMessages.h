#pragma once
// Handles every message waiting on the test's thread: through the main
// window, as its own message loop does (key preview, close requests), or
// plainly when there is none.
#include <windows.h>

#include "app/TFormMain.h"

inline void PumpMessages(TFormMain* form) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (form)
      form->ProcessMessage(message);
    else
      DispatchMessageW(&message);
  }
}
