#include "ui/Text.h"

namespace ui {

std::string WindowText(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::wstring wide(length + 1, L'\0');
  int copied = GetWindowTextW(hwnd, wide.data(), length + 1);
  wide.resize(copied);
  return WideToAnsi(wide);
}

void SetWindowText(HWND hwnd, const std::string& text) {
  SetWindowTextW(hwnd, AnsiToWide(text).c_str());
}

}  // namespace ui
