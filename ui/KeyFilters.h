#pragma once
// Character filters installed on edit windows (text fields and the edit part
// of a combo box) and on drop-down lists.
#include <windows.h>

namespace ui {

// What a user may type into a field.
enum class Typing {
  Any,
  DigitsOnly,  // "0".."9" and Backspace
  Blocked,     // nothing: a drop-down list changes only by choosing a row
};

// Only "0".."9" and Backspace get through; every other typed character,
// control characters included, is dropped, and pasting does nothing.
void AllowDigitsOnly(HWND edit);

// Every typed character is dropped (drop-down lists change only by choosing a row).
void BlockTyping(HWND window);

}  // namespace ui
