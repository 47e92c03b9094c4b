#include "ui/KeyFilters.h"

#include <commctrl.h>

namespace ui {
namespace {

constexpr UINT_PTR kDigitFilterId = 1;
constexpr UINT_PTR kTypingBlockId = 2;

LRESULT CALLBACK DigitFilter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  if (message == WM_CHAR) {
    bool digit = wParam >= '0' && wParam <= '9';
    if (!digit && wParam != VK_BACK) return 0;
  } else if (message == WM_PASTE) {
    return 0;
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, DigitFilter, id);
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK TypingBlock(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  if (message == WM_CHAR) return 0;
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, TypingBlock, id);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

void AllowDigitsOnly(HWND edit) {
  SetWindowSubclass(edit, DigitFilter, kDigitFilterId, 0);
}
void BlockTyping(HWND window) {
  SetWindowSubclass(window, TypingBlock, kTypingBlockId, 0);
}

}  // namespace ui
