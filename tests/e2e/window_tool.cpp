// Drives the program's windows from outside, the way a user would, for the
// end-to-end scripts, the screenshots and the start-up benchmark. Runs under
// Wine next to the program; prints its findings on standard output.
//
//   window_tool wait TITLE [SECONDS]      wait until a visible window TITLE exists
//   window_tool gone TITLE [SECONDS]      wait until no window TITLE exists
//   window_tool state TITLE               "count=N iconic=0|1 foreground=0|1"
//   window_tool minimize TITLE            the title bar's minimise
//   window_tool close TITLE               WM_CLOSE, as the close box sends it
//   window_tool page TITLE N              click the header of tab N (1-based)
//   window_tool click TITLE CAPTION       click the button CAPTION of window TITLE
//   window_tool box TITLE [SECONDS]       wait for a message box TITLE; print its
//                                         "text=" (CR and LF as \r and \n) and "at_ms="
//   window_tool answer TITLE ID [SECONDS] the same, then press its button ID (1 OK, 6 Yes, 7 No)
//                                         and print "closed_ms=" once the box is gone
//   window_tool ups TITLE                 "port=<port list text> ticked=<ticked rows of
//                                         the series list, comma-separated>"
//   window_tool measure SECONDS EXE TITLE [ARGS...]
//       starts EXE, waits for its window TITLE, prints "startup_ms=... peak_kb=...",
//       then closes the window and waits for the program to end
// Exit status 0 on success, 1 when the window did not do what was asked; the
// last line printed says the same ("result=0"), for runs inside a Wine
// virtual desktop, whose launcher does not pass exit statuses on.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Found {
  std::wstring title;
  DWORD process = 0;  // 0: any process
  std::vector<HWND> windows;
};

std::vector<HWND> TopLevelWindows(const std::wstring& title, DWORD process = 0) {
  Found found{title, process, {}};
  EnumWindows(
      [](HWND window, LPARAM data) {
        auto& found = *reinterpret_cast<Found*>(data);
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (found.title == text && (found.process == 0 || found.process == owner))
          found.windows.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

HWND VisibleWindow(const std::wstring& title, DWORD process = 0) {
  for (HWND window : TopLevelWindows(title, process))
    if (IsWindowVisible(window)) return window;
  return nullptr;
}

HWND WaitForWindow(const std::wstring& title, double seconds, DWORD process = 0) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  do {
    if (HWND window = VisibleWindow(title, process)) return window;
    Sleep(10);
  } while (GetTickCount64() < end);
  return nullptr;
}

bool WaitUntilGone(const std::wstring& title, double seconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  while (!TopLevelWindows(title).empty()) {
    if (GetTickCount64() >= end) return false;
    Sleep(50);
  }
  return true;
}

HWND FindTabControl(HWND window) {
  HWND tabs = nullptr;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (lstrcmpiW(name, WC_TABCONTROLW) != 0) return TRUE;
        *reinterpret_cast<HWND*>(data) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&tabs));
  return tabs;
}

// The rectangle of a tab header, asked of the tab control in its own process:
// the answer is written into memory lent inside that process.
bool TabRect(HWND tabs, int index, RECT& rect) {
  DWORD processId = 0;
  GetWindowThreadProcessId(tabs, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return false;
  void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
  bool ok = remote && SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote)) &&
            ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return ok;
}

int SelectPage(HWND window, int page) {
  HWND tabs = FindTabControl(window);
  if (!tabs) {
    std::fputs("no tab control in the window\n", stderr);
    return 1;
  }
  const int index = page - 1;
  RECT rect;
  if (TabRect(tabs, index, rect)) {
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageW(tabs, WM_MOUSEMOVE, 0, at);
    SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tabs, WM_LBUTTONUP, 0, at);
  }
  // Without a header rectangle, the arrow keys move along the strip.
  for (int step = 0; step < 8; ++step) {
    const int current = static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
    if (current == index) return 0;
    const WPARAM key = current < index ? VK_RIGHT : VK_LEFT;
    SendMessageW(tabs, WM_KEYDOWN, key, 1);
    SendMessageW(tabs, WM_KEYUP, key, 0xC0000001);
  }
  const bool done = SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == index;
  if (!done) std::fprintf(stderr, "page %d could not be selected\n", page);
  return done ? 0 : 1;
}

// A window of the thread with the title, or null: one request for the
// thread's windows, one per window for its title.
HWND ThreadWindow(const std::wstring& title, DWORD thread) {
  Found found{title, 0, {}};
  EnumThreadWindows(
      thread,
      [](HWND window, LPARAM data) {
        auto& found = *reinterpret_cast<Found*>(data);
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        if (found.title == text) found.windows.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.windows.empty() ? nullptr : found.windows.front();
}

// Waits until the started thread's window with the title shows. The polling
// is kept light, as every look at another program's windows is a call into
// the window manager that the starting program waits behind: the window is
// looked for among the thread's own windows, and once it exists only its
// style is read.
HWND WaitUntilShown(const std::wstring& title, double seconds, DWORD thread) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  HWND window = nullptr;
  do {
    if (!window || !IsWindow(window)) window = ThreadWindow(title, thread);
    if (window && (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE)) return window;
    Sleep(10);
  } while (GetTickCount64() < end);
  return nullptr;
}

// A child of the window (at any depth) whose text is `text`, or null.
HWND ChildWithText(HWND window, const std::wstring& text) {
  struct Search {
    std::wstring text;
    HWND found = nullptr;
  } search{text};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) {
        auto& search = *reinterpret_cast<Search*>(data);
        wchar_t caption[256] = {};
        GetWindowTextW(child, caption, 256);
        if (search.text != caption) return TRUE;
        search.found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> ChildrenOfClass(HWND window, const wchar_t* className) {
  struct Search {
    const wchar_t* className;
    std::vector<HWND> found;
  } search{className, {}};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) {
        auto& search = *reinterpret_cast<Search*>(data);
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (lstrcmpiW(name, search.className) == 0) search.found.push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A message box: a dialog window of that title.
HWND WaitForBox(const std::wstring& title, double seconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  do {
    HWND box = FindWindowW(L"#32770", title.c_str());
    if (box && IsWindowVisible(box)) return box;
    Sleep(10);
  } while (GetTickCount64() < end);
  return nullptr;
}

// Prints the box's message, line ends spelled out, and when it was seen.
void PrintBox(HWND box) {
  wchar_t text[4096] = {};
  GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 4096);
  std::wstring shown;
  for (const wchar_t* c = text; *c; ++c)
    shown += *c == L'\r' ? L"\\r" : *c == L'\n' ? L"\\n" : std::wstring(1, *c);
  std::printf("text=%ls\nat_ms=%llu\n", shown.c_str(), static_cast<unsigned long long>(GetTickCount64()));
}

// A row's text of a list view in another process: asked into memory lent
// inside that process.
std::wstring ListRowText(HWND list, int row) {
  DWORD processId = 0;
  GetWindowThreadProcessId(list, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return L"";
  constexpr int kLength = 128;
  auto* remote = static_cast<char*>(VirtualAllocEx(
      process, nullptr, sizeof(LVITEMW) + kLength * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
  wchar_t text[kLength] = {};
  if (remote) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
    item.cchTextMax = kLength;
    if (WriteProcessMemory(process, remote, &item, sizeof item, nullptr) &&
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote)) > 0)
      ReadProcessMemory(process, remote + sizeof(LVITEMW), text, sizeof text - sizeof(wchar_t), nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return text;
}

// The port list's text and the ticked rows of the series list.
int PrintUps(HWND window) {
  std::wstring port = L"?";
  for (HWND combo : ChildrenOfClass(window, L"ComboBox")) {
    wchar_t first[32] = {};
    if (SendMessageW(combo, CB_GETLBTEXTLEN, 0, 0) < 32 &&
        SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first)) > 0 &&
        std::wstring(first) == L"COM 1") {
      // The selected row's text: another process's window text is not asked of the control.
      wchar_t text[32] = {};
      const auto row = SendMessageW(combo, CB_GETCURSEL, 0, 0);
      if (row >= 0 && SendMessageW(combo, CB_GETLBTEXTLEN, row, 0) < 32)
        SendMessageW(combo, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text));
      port = text;
    }
  }
  std::wstring ticked = L"?";
  for (HWND list : ChildrenOfClass(window, WC_LISTVIEWW)) {
    if (ListRowText(list, 0) != L"QZ series") continue;
    ticked.clear();
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
      const auto state = SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
      if ((state & LVIS_STATEIMAGEMASK) != INDEXTOSTATEIMAGEMASK(2)) continue;
      if (!ticked.empty()) ticked += L",";
      ticked += std::to_wstring(row);
    }
  }
  std::printf("port=%ls ticked=%ls\n", port.c_str(), ticked.c_str());
  return port == L"?" || ticked == L"?" ? 1 : 0;
}

std::wstring Quoted(const std::wstring& arg) {
  return arg.find_first_of(L" \t\"") == std::wstring::npos ? arg : L"\"" + arg + L"\"";
}

// Starts the program and reports how long its window took to show and the
// peak memory the process used until then.
int Measure(double seconds, const std::wstring& exe, const std::wstring& title,
            const std::vector<std::wstring>& args) {
  std::wstring commandLine = Quoted(exe);
  for (const auto& arg : args) commandLine += L" " + Quoted(arg);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  LARGE_INTEGER frequency, begin, shown;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&begin);
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    std::fprintf(stderr, "cannot start the program (error %lu)\n", GetLastError());
    return 1;
  }
  HWND window = WaitUntilShown(title, seconds, started.dwThreadId);
  QueryPerformanceCounter(&shown);
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(started.hProcess, &memory, sizeof memory);
  if (window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(started.hProcess, static_cast<DWORD>(seconds * 1000)) != WAIT_OBJECT_0)
      TerminateProcess(started.hProcess, 1);
  } else {
    TerminateProcess(started.hProcess, 1);
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  if (!window) {
    std::fputs("the window did not show\n", stderr);
    return 1;
  }
  const double ms = 1000.0 * static_cast<double>(shown.QuadPart - begin.QuadPart) / frequency.QuadPart;
  std::printf("startup_ms=%.1f peak_kb=%llu\n", ms,
              static_cast<unsigned long long>(memory.PeakWorkingSetSize / 1024));
  return 0;
}

int Usage() {
  std::fputs("usage: window_tool wait|gone|state|minimize|close|page|click|box|answer|ups|measure ...\n",
             stderr);
  return 2;
}

int Run(int argc, wchar_t** argv) {
  if (argc < 3) return Usage();
  const std::wstring command = argv[1];
  if (command == L"measure") {
    if (argc < 5) return Usage();
    return Measure(std::wcstod(argv[2], nullptr), argv[3], argv[4],
                   std::vector<std::wstring>(argv + 5, argv + argc));
  }
  const std::wstring title = argv[2];
  const double seconds = argc > 3 ? std::wcstod(argv[3], nullptr) : 30;
  if (command == L"wait") return WaitForWindow(title, seconds) ? 0 : 1;
  if (command == L"box" || command == L"answer") {
    const double wait = command == L"answer" ? (argc > 4 ? std::wcstod(argv[4], nullptr) : 30) : seconds;
    HWND box = WaitForBox(title, wait);
    if (!box) {
      std::fputs("no such box\n", stderr);
      return 1;
    }
    PrintBox(box);
    if (command == L"box") return 0;
    if (argc < 4) return Usage();
    HWND button = GetDlgItem(box, static_cast<int>(std::wcstol(argv[3], nullptr, 10)));
    if (!button || !PostMessageW(button, BM_CLICK, 0, 0)) return 1;
    // When the box is gone its program goes on; under Wine without a window
    // manager that comes about 2 s after the click.
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(wait * 1000);
    while (IsWindow(box) && GetTickCount64() < end) Sleep(5);
    std::printf("closed_ms=%llu\n", static_cast<unsigned long long>(GetTickCount64()));
    return IsWindow(box) ? 1 : 0;
  }
  if (command == L"gone") return WaitUntilGone(title, seconds) ? 0 : 1;
  if (command == L"state") {
    const auto windows = TopLevelWindows(title);
    HWND window = VisibleWindow(title);
    std::printf("count=%zu iconic=%d foreground=%d\n", windows.size(), window && IsIconic(window) ? 1 : 0,
                window && GetForegroundWindow() == window ? 1 : 0);
    return window ? 0 : 1;
  }
  HWND window = VisibleWindow(title);
  if (!window) {
    std::fputs("no such window\n", stderr);
    return 1;
  }
  if (command == L"minimize") return PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0) ? 0 : 1;
  if (command == L"close") return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
  if (command == L"click" && argc > 3) {
    HWND button = ChildWithText(window, argv[3]);
    return button && PostMessageW(button, BM_CLICK, 0, 0) ? 0 : 1;
  }
  if (command == L"ups") return PrintUps(window);
  if (command == L"page" && argc > 3)
    return SelectPage(window, static_cast<int>(std::wcstol(argv[3], nullptr, 10)));
  return Usage();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int result = Run(argc, argv);
  std::printf("result=%d\n", result);
  std::fflush(stdout);
  return result;
}
