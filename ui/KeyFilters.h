#pragma once
// Character filters installed on edit windows (text fields and the edit part
// of a combo box) and on drop-down lists.
#include <windows.h>

#include "ui/ProcedureHook.h"

namespace ui {

// What a user may type into a field.
enum class Typing {
  Any,
  DigitsOnly,  // "0".."9" and Backspace
  Blocked,     // nothing: a drop-down list changes only by choosing a row
};

// Installs on window, through hook, the filter of typing (none for Any):
// - DigitsOnly: only "0".."9" and Backspace get through; every other typed
//   character, control characters included, is dropped, and pasting does nothing;
// - Blocked: every typed character is dropped.
void FilterTyping(ProcedureHook& hook, HWND window, Typing typing);

}  // namespace ui
