// Drives the program's windows from outside, the way a user would, for the
// end-to-end scripts, the screenshots and the start-up benchmark. Runs under
// Wine next to the program; prints its findings on standard output.
//
//   window_tool wait TITLE [SECONDS]      wait until a visible window TITLE exists
//                                         and its program is idle, ready for input
//   window_tool gone TITLE [SECONDS]      wait until no window TITLE exists
//   window_tool state TITLE               "count=N iconic=0|1 foreground=0|1"
//   window_tool minimize TITLE            the title bar's minimise
//   window_tool close TITLE               WM_CLOSE, as the close box sends it
//   window_tool request TITLE close|endsession
//                                         to every window TITLE, shown or hidden:
//                                         WM_CLOSE as another program posts it
//                                         (taskkill without /f), or the end of
//                                         the session (WM_QUERYENDSESSION, then
//                                         WM_ENDSESSION) as a log-off sends it
//   window_tool front TITLE               brings the window to the front, as a
//                                         user's click on it does
//   window_tool page TITLE N              click the header of tab N (1-based)
//
// Real input, through the system's input queue (SendInput), as a user gives it:
//   window_tool click TITLE WHERE         a left click; WHERE is client:X,Y (the
//                                         window's client area), page:X,Y (the
//                                         visible page of its tabs), tab:N or
//                                         screen:X,Y
//   window_tool keys KEYS                 key presses to the window in front:
//                                         characters as typed, {NAME} for ESC,
//                                         ENTER, TAB, BS, UP, DOWN, LEFT, RIGHT, HOME, END,
//                                         PGUP, PGDN, F1; ^ and + before a key
//                                         hold Ctrl and Shift for it
//   window_tool answer TITLE KEYS [SECONDS]
//                                         waits for the dialog box TITLE, prints
//                                         "text=..." (its message, CR and LF as
//                                         \r and \n), types KEYS into it, waits
//                                         until it is gone and prints "closed_ms="
// What the window shows:
//   window_tool focus TITLE               "class=... page=X,Y text=..." of the
//                                         control with the keyboard focus
//   window_tool text TITLE page:X,Y       the text of the control at that point
//   window_tool box TITLE [SECONDS]       waits for the dialog box TITLE and
//                                         prints "text=..." and "at_ms=", leaving it up
//   window_tool ups TITLE                 "port=<the port list's text> ticked=<the
//                                         series list's ticked rows, comma-separated>"
//   window_tool accessible TITLE page:X,Y [CHILD]
//                                         what a screen reader reads of the control
//                                         there (see AccessibleReport.h)
// Times (..._ms) are the system's tick count, the same in every process.
//
//   window_tool shortcut FILE.lnk         "target=... folder=..." of a shortcut
//   window_tool record FILE ARGS...       appends each argument as a line to
//                                         FILE: registered as the program that
//                                         opens a file type, it records what the
//                                         shell asked it to open
//
//   window_tool measure SECONDS EXE TITLE [ARGS...]
//       starts EXE, waits for its window TITLE, prints "startup_ms=... peak_kb=..."
//       (until the window shows), then waits until the program is ready, idle
//       waiting for input with none pending, and prints "ready_ms=...
//       ready_peak_kb=... windows=N settled=M" (the window's descendants then,
//       and 600 ms later: equal when nothing was still being made), then
//       closes the window and waits for the program to end
// Exit status 0 on success, 1 when the window did not do what was asked; the
// last line printed says the same ("result=0"), for runs inside a Wine
// virtual desktop, whose launcher does not pass exit statuses on.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <psapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cwchar>

#include "AccessibleReport.h"
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

// Waits until a visible window TITLE exists and its program is ready for the
// user: idle, waiting for input with none pending (WaitForInputIdle), so that
// what it posted itself while starting, such as the pages it makes just after
// the first show, is done before the script goes on. A program that does not
// become idle in the time left still counts as shown: the script's next step
// says what is missing.
HWND WaitUntilReady(const std::wstring& title, double seconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  HWND window = WaitForWindow(title, seconds);
  if (!window) return nullptr;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId)) {
    const ULONGLONG now = GetTickCount64();
    WaitForInputIdle(process, now < end ? static_cast<DWORD>(end - now) : 0);
    CloseHandle(process);
  }
  return window;
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

std::wstring Quoted(const std::wstring& arg) {
  return arg.find_first_of(L" \t\"") == std::wstring::npos ? arg : L"\"" + arg + L"\"";
}

int CountDescendants(HWND window) {
  int count = 0;
  EnumChildWindows(
      window,
      [](HWND, LPARAM data) {
        ++*reinterpret_cast<int*>(data);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

double MillisecondsBetween(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

unsigned long long PeakKilobytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process, &memory, sizeof memory);
  return memory.PeakWorkingSetSize / 1024;
}

// Starts the program and reports how long its window took to show and how
// long until it was ready, with the peak memory the process used until each.
// Ready is the system's own test (WaitForInputIdle): the program's thread
// asked for its next message and found none, with every message the start
// posted to itself handled and every window painted.
int Measure(double seconds, const std::wstring& exe, const std::wstring& title,
            const std::vector<std::wstring>& args) {
  std::wstring commandLine = Quoted(exe);
  for (const auto& arg : args) commandLine += L" " + Quoted(arg);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  LARGE_INTEGER begin, shown, ready;
  QueryPerformanceCounter(&begin);
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    std::fprintf(stderr, "cannot start the program (error %lu)\n", GetLastError());
    return 1;
  }
  HWND window = WaitUntilShown(title, seconds, started.dwThreadId);
  QueryPerformanceCounter(&shown);
  const unsigned long long shownPeak = PeakKilobytes(started.hProcess);
  const bool idle = window && WaitForInputIdle(started.hProcess, static_cast<DWORD>(seconds * 1000)) == 0;
  QueryPerformanceCounter(&ready);
  const unsigned long long readyPeak = PeakKilobytes(started.hProcess);
  int windows = 0, settled = 0;
  if (idle) {
    windows = CountDescendants(window);
    Sleep(600);
    settled = CountDescendants(window);
  }
  if (window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(started.hProcess, static_cast<DWORD>(seconds * 1000)) != WAIT_OBJECT_0)
      TerminateProcess(started.hProcess, 1);
  } else {
    TerminateProcess(started.hProcess, 1);
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  if (!window || !idle) {
    std::fputs(window ? "the program did not become idle\n" : "the window did not show\n", stderr);
    return 1;
  }
  std::printf("startup_ms=%.1f peak_kb=%llu ready_ms=%.1f ready_peak_kb=%llu windows=%d settled=%d\n",
              MillisecondsBetween(begin, shown), shownPeak, MillisecondsBetween(begin, ready), readyPeak, windows,
              settled);
  return 0;
}

// The page of the tabs that is shown, or null.
HWND VisiblePage(HWND window) {
  HWND tabs = FindTabControl(window);
  for (HWND child = tabs ? GetWindow(tabs, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child)) return child;
  return nullptr;
}

// A point given as client:X,Y, page:X,Y or tab:N, in screen coordinates.
bool ScreenPoint(HWND window, const std::wstring& where, POINT& point) {
  const auto colon = where.find(L':');
  if (colon == std::wstring::npos) return false;
  const std::wstring space = where.substr(0, colon);
  const std::wstring rest = where.substr(colon + 1);
  if (space == L"tab") {
    HWND tabs = FindTabControl(window);
    RECT rect;
    if (!tabs || !TabRect(tabs, static_cast<int>(std::wcstol(rest.c_str(), nullptr, 10)) - 1, rect)) return false;
    point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return ClientToScreen(tabs, &point) != FALSE;
  }
  wchar_t* end = nullptr;
  point.x = std::wcstol(rest.c_str(), &end, 10);
  if (!end || *end != L',') return false;
  point.y = std::wcstol(end + 1, nullptr, 10);
  if (space == L"screen") return true;
  HWND origin = space == L"page" ? VisiblePage(window) : space == L"client" ? window : nullptr;
  return origin && ClientToScreen(origin, &point);
}

// Gives the program time to take the input from its queue.
void LetInputArrive() {
  Sleep(300);
}

int Click(HWND window, const std::wstring& where) {
  POINT point;
  if (!ScreenPoint(window, where, point)) {
    std::fputs("no such place\n", stderr);
    return 1;
  }
  // The place travels with the press and release themselves: a press sent
  // after SetCursorPos alone lands wherever the pointer is when it is taken,
  // and a pointer position the display reports late (from the program's window
  // appearing under the pointer of an earlier click) can move it there first.
  SetCursorPos(point.x, point.y);
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  INPUT presses[3] = {};
  for (INPUT& press : presses) {
    press.type = INPUT_MOUSE;
    press.mi.dx = MulDiv(point.x - left, 65535, width > 1 ? width - 1 : 1);
    press.mi.dy = MulDiv(point.y - top, 65535, height > 1 ? height - 1 : 1);
    press.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  }
  presses[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  presses[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  // Input the system refuses outright (none of it taken) is sent once more.
  UINT taken = SendInput(3, presses, sizeof(INPUT));
  if (taken == 0) {
    Sleep(200);
    taken = SendInput(3, presses, sizeof(INPUT));
  }
  if (taken != 3) std::fprintf(stderr, "the system took %u of 3 mouse inputs (error %lu)\n", taken, GetLastError());
  LetInputArrive();
  return taken == 3 ? 0 : 1;
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

WORD NamedKey(const std::wstring& name) {
  static const std::pair<const wchar_t*, WORD> keys[] = {
      {L"ESC", VK_ESCAPE}, {L"ENTER", VK_RETURN}, {L"TAB", VK_TAB},   {L"BS", VK_BACK},
      {L"UP", VK_UP},      {L"DOWN", VK_DOWN},    {L"LEFT", VK_LEFT}, {L"RIGHT", VK_RIGHT},
      {L"HOME", VK_HOME},  {L"END", VK_END},
      {L"PGUP", VK_PRIOR}, {L"PGDN", VK_NEXT},    {L"F1", VK_F1}};
  for (const auto& [text, key] : keys)
    if (name == text) return key;
  return 0;
}

// Presses each key of the sequence with its modifiers, as a keyboard would.
int Keys(const std::wstring& sequence) {
  bool control = false, shift = false;
  for (size_t i = 0; i < sequence.size(); ++i) {
    if (sequence[i] == L'^') {
      control = true;
      continue;
    }
    if (sequence[i] == L'+') {
      shift = true;
      continue;
    }
    WORD key = 0;
    if (sequence[i] == L'{') {
      const size_t close = sequence.find(L'}', i);
      if (close == std::wstring::npos) return 1;
      key = NamedKey(sequence.substr(i + 1, close - i - 1));
      i = close;
    } else {
      const SHORT scan = VkKeyScanW(sequence[i]);
      if (scan == -1) return 1;
      key = LOBYTE(scan);
      shift = shift || (HIBYTE(scan) & 1);
    }
    if (!key) return 1;
    std::vector<INPUT> inputs;
    if (control) inputs.push_back(KeyInput(VK_CONTROL, false));
    if (shift) inputs.push_back(KeyInput(VK_SHIFT, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    if (shift) inputs.push_back(KeyInput(VK_SHIFT, true));
    if (control) inputs.push_back(KeyInput(VK_CONTROL, true));
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size()) return 1;
    control = shift = false;
    LetInputArrive();
  }
  return 0;
}

// Text for the tool's output, which the scripts read as UTF-8.
std::string Utf8(const wchar_t* text) {
  char bytes[1024] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  return bytes;
}

std::string WindowTextOf(HWND window) {
  wchar_t text[512] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
  return Utf8(text);
}

// The message of a dialog box: the text of its static control that is not an
// icon (a message box's message, a folder browser's prompt), with its line
// ends spelled out so that it stays on one line of output.
std::string DialogMessage(HWND box) {
  std::string message;
  for (HWND child = GetWindow(box, GW_CHILD); child && message.empty(); child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (lstrcmpiW(name, L"Static") == 0 && !(GetWindowLongW(child, GWL_STYLE) & SS_ICON))
      message = WindowTextOf(child);
  }
  std::string spelled;
  for (char c : message) spelled += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return spelled;
}

HWND WaitForDialog(const std::wstring& title, ULONGLONG end) {
  for (; GetTickCount64() < end; Sleep(10)) {
    for (HWND candidate : TopLevelWindows(title)) {
      wchar_t name[16] = {};
      GetClassNameW(candidate, name, 16);
      if (IsWindowVisible(candidate) && lstrcmpW(name, L"#32770") == 0) return candidate;
    }
  }
  std::fputs("no such dialog box\n", stderr);
  return nullptr;
}

int Box(const std::wstring& title, double seconds) {
  HWND box = WaitForDialog(title, GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000));
  if (!box) return 1;
  const auto shown = static_cast<unsigned long long>(GetTickCount64());
  std::printf("text=%s\nat_ms=%llu\n", DialogMessage(box).c_str(), shown);
  return 0;
}

int Answer(const std::wstring& title, const std::wstring& keys, double seconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  HWND box = WaitForDialog(title, end);
  if (!box) return 1;
  Sleep(200);  // until the box has the focus
  std::printf("text=%s\n", DialogMessage(box).c_str());
  if (Keys(keys) != 0) return 1;
  for (; IsWindow(box) && GetTickCount64() < end; Sleep(5)) {
  }
  // The program goes on from here. (Under Wine without a window manager a
  // box is gone about 2 s after the key that closes it.)
  std::printf("closed_ms=%llu\n", static_cast<unsigned long long>(GetTickCount64()));
  return IsWindow(box) ? 1 : 0;
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

// The port list (the combo box whose first row is "COM 1") and the series
// list (the list view whose first row is "QZ series").
int Ups(HWND window) {
  std::wstring port = L"?";
  for (HWND combo : ChildrenOfClass(window, L"ComboBox")) {
    wchar_t row0[32] = {};
    if (SendMessageW(combo, CB_GETLBTEXTLEN, 0, 0) >= 32 ||
        SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(row0)) <= 0 ||
        std::wstring(row0) != L"COM 1")
      continue;
    // The selected row's own text: another program's window text is not asked of the control.
    wchar_t text[32] = {};
    const auto row = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (row >= 0 && SendMessageW(combo, CB_GETLBTEXTLEN, row, 0) < 32)
      SendMessageW(combo, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text));
    port = text;
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
  std::printf("port=%s ticked=%s\n", Utf8(port.c_str()).c_str(), Utf8(ticked.c_str()).c_str());
  return port == L"?" || ticked == L"?" ? 1 : 0;
}

// Where a control lies on the visible page, or -1,-1 when it is not on it.
POINT PlaceOnPage(HWND window, HWND control) {
  HWND page = VisiblePage(window);
  RECT rect;
  GetWindowRect(control, &rect);
  POINT place{rect.left, rect.top};
  if (!page || !IsChild(page, control) || !ScreenToClient(page, &place)) return {-1, -1};
  return place;
}

int Focus(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return 1;
  HWND focus = info.hwndFocus;
  if (!focus) {
    std::printf("class=none\n");
    return 0;
  }
  // The edit part of a combo box stands for the box.
  wchar_t name[64] = {};
  GetClassNameW(GetParent(focus), name, 64);
  if (lstrcmpiW(name, L"ComboBox") == 0) focus = GetParent(focus);
  GetClassNameW(focus, name, 64);
  const POINT place = PlaceOnPage(window, focus);
  std::printf("class=%s page=%ld,%ld text=%s\n", Utf8(name).c_str(), place.x, place.y,
              WindowTextOf(focus).c_str());
  return 0;
}

// The control of the visible page at a place, or null.
HWND ControlAt(HWND window, const std::wstring& where) {
  POINT point;
  if (!ScreenPoint(window, where, point)) return nullptr;
  HWND page = VisiblePage(window);
  ScreenToClient(page, &point);
  HWND control = ChildWindowFromPointEx(page, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
  return control == page ? nullptr : control;
}

int Text(HWND window, const std::wstring& where) {
  HWND control = ControlAt(window, where);
  if (!control) return 1;
  std::printf("text=%s\n", WindowTextOf(control).c_str());
  return 0;
}

// What a shortcut starts: its target and working folder, as Explorer reads them.
int Shortcut(const std::wstring& file) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  int result = 1;
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW),
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(__uuidof(IPersistFile), reinterpret_cast<void**>(&persist)))) {
      wchar_t target[MAX_PATH] = {}, folder[MAX_PATH] = {};
      if (SUCCEEDED(persist->Load(file.c_str(), STGM_READ)) &&
          SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
          SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH))) {
        std::printf("target=%s folder=%s\n", Utf8(target).c_str(), Utf8(folder).c_str());
        result = 0;
      }
      persist->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return result;
}

// A close request to every window of that title, hidden ones too (a window
// still being built at start).
int Request(const std::wstring& title, const std::wstring& kind) {
  const auto windows = TopLevelWindows(title);
  if (windows.empty()) {
    std::fputs("no such window\n", stderr);
    return 1;
  }
  for (HWND window : windows) {
    if (kind == L"close") {
      PostMessageW(window, WM_CLOSE, 0, 0);
      continue;
    }
    DWORD_PTR agreed = 0;
    SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &agreed);
    std::printf("query_end_session=%d\n", agreed ? 1 : 0);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_ENDSESSION, agreed ? TRUE : FALSE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                        &ignored);
  }
  return 0;
}

// Appends the arguments, a line each in UTF-8, to the file.
int Record(const std::wstring& file, const std::vector<std::wstring>& arguments) {
  FILE* out = _wfopen(file.c_str(), L"ab");
  if (!out) return 1;
  for (const std::wstring& argument : arguments) std::fprintf(out, "%s\n", Utf8(argument.c_str()).c_str());
  std::fclose(out);
  return 0;
}

int Usage() {
  std::fputs(
      "usage: window_tool wait|gone|state|minimize|close|request|page|click|keys|answer|box|focus|text|ups|"
      "accessible|measure|shortcut|record ...\n",
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
  if (command == L"keys") return Keys(argv[2]);
  if (command == L"shortcut") return Shortcut(argv[2]);
  if (command == L"record") return Record(argv[2], std::vector<std::wstring>(argv + 3, argv + argc));
  const std::wstring title = argv[2];
  if (command == L"answer" && argc > 3)
    return Answer(title, argv[3], argc > 4 ? std::wcstod(argv[4], nullptr) : 30);
  const double seconds = argc > 3 ? std::wcstod(argv[3], nullptr) : 30;
  if (command == L"box") return Box(title, seconds);
  if (command == L"wait") return WaitUntilReady(title, seconds) ? 0 : 1;
  if (command == L"gone") return WaitUntilGone(title, seconds) ? 0 : 1;
  if (command == L"state") {
    const auto windows = TopLevelWindows(title);
    HWND window = VisibleWindow(title);
    std::printf("count=%zu iconic=%d foreground=%d\n", windows.size(), window && IsIconic(window) ? 1 : 0,
                window && GetForegroundWindow() == window ? 1 : 0);
    return window ? 0 : 1;
  }
  if (command == L"request" && argc > 3) return Request(title, argv[3]);
  HWND window = VisibleWindow(title);
  if (!window) {
    std::fputs("no such window\n", stderr);
    return 1;
  }
  if (command == L"minimize") return PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0) ? 0 : 1;
  if (command == L"close") return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
  if (command == L"front") return SetForegroundWindow(window) ? 0 : 1;
  if (command == L"page" && argc > 3)
    return SelectPage(window, static_cast<int>(std::wcstol(argv[3], nullptr, 10)));
  if (command == L"click" && argc > 3) return Click(window, argv[3]);
  if (command == L"focus") return Focus(window);
  if (command == L"text" && argc > 3) return Text(window, argv[3]);
  if (command == L"ups") return Ups(window);
  if (command == L"accessible" && argc > 3) {
    HWND control = ControlAt(window, argv[3]);
    return control ? AccessibleReport(control, argc > 4 ? std::wcstol(argv[4], nullptr, 10) : 0) : 1;
  }
  return Usage();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int result = Run(argc, argv);
  std::printf("result=%d\n", result);
  std::fflush(stdout);
  return result;
}
