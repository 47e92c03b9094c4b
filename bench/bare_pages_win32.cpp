// The floor of the start-up benchmark: the main window's three pages made
// bare, as the program makes them (the first before the show, the other two
// from the message loop after it), with no settings, language, skins or
// schedule. What the program needs beyond it is its own logic; what this
// needs beyond the minimal window is the system's controls.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "app/ConfigPage.h"
#include "app/OthersPage.h"
#include "app/SchedulePage.h"
#include "app/WindowFonts.h"
#include "platform/win32/Win32Dialogs.h"
#include "ui/TabPages.h"
#include "ui/Window.h"

namespace {

class BarePages : public ui::Window {
 public:
  explicit BarePages(IDialogs& dialogs) : dialogs_(dialogs) {
    CreateWindowOf(L"BarePages", WS_EX_CONTROLPARENT, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                   "Bare Pages", {CW_USEDEFAULT, CW_USEDEFAULT, 556, 468}, nullptr);
    fonts_.SetDpi(Handle(), Dpi());
    pages_.Create({.parent = Handle(), .bounds = {0, 64, 549, 341}, .font = Fonts().window});
    ui::Panel& first = pages_.AddPage("Ombrel Configurations");
    pages_.AddPage("Schedule Setup");
    pages_.AddPage("Others");
    page1_.Build(first, Fonts());
    pages_.SetActive(0);
    PostMessageW(Handle(), kMakeLaterPages, 0, 0);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case kMakeLaterPages:
        page2_.Build(pages_.Page(1), Fonts());
        page3_.Build(pages_.Page(2), Fonts());
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      default:
        return Window::HandleMessage(message, wParam, lParam);
    }
  }

 private:
  static constexpr UINT kMakeLaterPages = WM_APP + 2;
  PageFonts Fonts() { return fonts_.Pages(); }

  IDialogs& dialogs_;
  Stores stores_;
  TADateTime dates_{SystemClock()};
  WindowFonts fonts_;
  ui::TabPages pages_;
  ConfigPage page1_{dialogs_, stores_};
  SchedulePage page2_{dialogs_, stores_, dates_, SystemClock()};
  OthersPage page3_{dialogs_};
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  Win32Dialogs dialogs("Bare Pages");
  BarePages window(dialogs);
  ShowWindow(window.Handle(), SW_SHOW);
  UpdateWindow(window.Handle());
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
