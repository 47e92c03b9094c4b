#include "app/TFormViewAll.h"

TFormViewAll::TFormViewAll(const Services& services, HWND owner) {
  IDialogs& dialogs = services.dialogs;
  SetErrorSink([&dialogs](const std::string& text) { dialogs.Error(text); });
  CreateWindowOf(L"TFormViewAll", 0, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, "View All",
                 {CW_USEDEFAULT, CW_USEDEFAULT, 400, 300}, owner);
}

TFormViewAll::~TFormViewAll() {
  if (Handle()) DestroyWindow(Handle());
}

LRESULT TFormViewAll::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    ShowWindow(Handle(), SW_HIDE);
    return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}
