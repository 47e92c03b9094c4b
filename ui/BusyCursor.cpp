#include "ui/BusyCursor.h"

#include <windows.h>

namespace ui {
namespace {

// Only the GUI thread shows windows and sets the cursor.
bool busy = false;

}  // namespace

void ShowBusyCursor(bool on) {
  busy = on;
  // At once, not only when the mouse next moves.
  SetCursor(LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

bool BusyCursorShown() {
  return busy;
}

}  // namespace ui
