// The yardstick of the start-up benchmark: a program that only opens one
// empty window and waits until it is closed.
//
//   minimal_window_win32 [--title TEXT] [--single-instance] [--pages]
//
// --single-instance  when a window with the title exists, bring it to the
//                    front, restore it and end (the main program's rule), so
//                    the end-to-end scripts can be tried on this program.
// --pages            add a tab control with three pages, for trying the
//                    screenshot script.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <string>

namespace {

struct Options {
  std::wstring title = L"Minimal Window";
  bool singleInstance = false;
  bool pages = false;
};

// The arguments as the C runtime splits them: asking the shell to split the
// command line would load shell32, which a program opening one window does
// not need.
Options ReadOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--title" && i + 1 < argc) {
      const std::string title = argv[++i];
      options.title.assign(title.size(), L'\0');
      int length = MultiByteToWideChar(CP_ACP, 0, title.data(), static_cast<int>(title.size()),
                                       options.title.data(), static_cast<int>(options.title.size()));
      options.title.resize(length);
    } else if (arg == "--single-instance") {
      options.singleInstance = true;
    } else if (arg == "--pages") {
      options.pages = true;
    }
  }
  return options;
}

constexpr int kTabsId = 100;
constexpr int kPageLabelId = 101;

void ShowPageNumber(HWND window) {
  const int page = static_cast<int>(SendDlgItemMessageW(window, kTabsId, TCM_GETCURSEL, 0, 0));
  SetDlgItemTextW(window, kPageLabelId, (L"Page " + std::to_wstring(page + 1)).c_str());
}

void AddPages(HWND window) {
  LoadLibraryW(L"comctl32.dll");  // registers the tab control's class
  HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 64, 549,
                              341, window, reinterpret_cast<HMENU>(kTabsId), nullptr, nullptr);
  const wchar_t* captions[] = {L"First page", L"Second page", L"Third page"};
  for (int i = 0; i < 3; ++i) {
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(captions[i]);
    SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 40, 160, 200, 20, window,
                  reinterpret_cast<HMENU>(kPageLabelId), nullptr, nullptr);
  SetWindowPos(GetDlgItem(window, kPageLabelId), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ShowPageNumber(window);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE) ShowPageNumber(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ReadOptions(argc, argv);
  if (options.singleInstance) {
    if (HWND running = FindWindowW(nullptr, options.title.c_str())) {
      SetForegroundWindow(running);
      ShowWindow(running, SW_RESTORE);
      return 0;
    }
  }

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"MinimalWindow";
  RegisterClassW(&windowClass);

  HWND window = CreateWindowExW(0, L"MinimalWindow", options.title.c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                CW_USEDEFAULT, 556, 468, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (options.pages) AddPages(window);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
