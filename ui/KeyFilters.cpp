#include "ui/KeyFilters.h"

namespace ui {

void FilterTyping(ProcedureHook& hook, HWND window, Typing typing) {
  if (typing == Typing::DigitsOnly) {
    hook.Install(window, [&hook](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (message == WM_CHAR && !(wParam >= '0' && wParam <= '9') && wParam != VK_BACK) return 0;
      if (message == WM_PASTE) return 0;
      return hook.PassOn(message, wParam, lParam);
    });
  } else if (typing == Typing::Blocked) {
    hook.Install(window, [&hook](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      return message == WM_CHAR ? 0 : hook.PassOn(message, wParam, lParam);
    });
  }
}

}  // namespace ui
