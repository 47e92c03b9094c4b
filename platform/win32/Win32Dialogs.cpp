#include "platform/win32/Win32Dialogs.h"

#include <shlobj.h>

#include <utility>

#include "platform/win32/AnsiText.h"
#include "platform/win32/SystemFunction.h"

namespace {

// The message box keeps its own window procedure under this property while
// ours sits in front of it.
constexpr wchar_t kOriginalProcProperty[] = L"OmbrelConfirmOriginalProc";

LRESULT CallOriginal(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  auto original = reinterpret_cast<WNDPROC>(GetPropW(box, kOriginalProcProperty));
  return CallWindowProcW(original, box, message, wParam, lParam);
}

LRESULT AnswerNo(HWND box) {
  return CallOriginal(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED),
                      reinterpret_cast<LPARAM>(GetDlgItem(box, IDNO)));
}

// A Yes/No message box ignores Escape (IDCANCEL) and greys its close box;
// here both answer No.
LRESULT CALLBACK ConfirmBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const LRESULT result = CallOriginal(box, message, wParam, lParam);
      if (HMENU menu = GetSystemMenu(box, FALSE)) EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
      return result;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) return AnswerNo(box);
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) return AnswerNo(box);
      break;
    case WM_CLOSE:
      return AnswerNo(box);
    case WM_NCDESTROY: {
      auto original = reinterpret_cast<WNDPROC>(RemovePropW(box, kOriginalProcProperty));
      SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      return CallWindowProcW(original, box, message, wParam, lParam);
    }
  }
  return CallOriginal(box, message, wParam, lParam);
}

bool IsDialogWindow(HWND window) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  return lstrcmpW(className, L"#32770") == 0;
}

// Puts ConfirmBoxProc in front of every dialog window this thread creates
// while the hook is installed: that is the message box being shown.
LRESULT CALLBACK ConfirmCreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    auto window = reinterpret_cast<HWND>(wParam);
    if (IsDialogWindow(window) && !GetPropW(window, kOriginalProcProperty)) {
      LONG_PTR original = GetWindowLongPtrW(window, GWLP_WNDPROC);
      SetPropW(window, kOriginalProcProperty, reinterpret_cast<HANDLE>(original));
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ConfirmBoxProc));
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The creation hook of this thread, removed when it goes out of scope.
class ThreadHook {
 public:
  ThreadHook(int type, HOOKPROC procedure)
      : hook_(SetWindowsHookExW(type, procedure, nullptr, GetCurrentThreadId())) {}
  ~ThreadHook() {
    if (hook_) UnhookWindowsHookEx(hook_);
  }
  ThreadHook(const ThreadHook&) = delete;
  ThreadHook& operator=(const ThreadHook&) = delete;

 private:
  HHOOK hook_;
};

// COM for this thread while the folder browser is up (the shell's namespace
// needs it); left alone when the thread already runs COM in another mode.
class ComScope {
 public:
  ComScope()
      : initialised_(SUCCEEDED(SystemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx")(
            nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialised_) SystemFunction<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize")();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialised_;
};

// An item list from the folder browser, freed when it goes out of scope.
class ItemList {
 public:
  explicit ItemList(PIDLIST_ABSOLUTE list) : list_(list) {}
  ~ItemList() {
    if (list_) SystemFunction<decltype(&ILFree)>(L"shell32.dll", "ILFree")(list_);
  }
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;
  PIDLIST_ABSOLUTE get() const { return list_; }

 private:
  PIDLIST_ABSOLUTE list_;
};

std::optional<std::wstring> FolderPath(PCIDLIST_ABSOLUTE list) {
  wchar_t path[MAX_PATH] = {};
  auto pathOf = SystemFunction<decltype(&SHGetPathFromIDListW)>(L"shell32.dll", "SHGetPathFromIDListW");
  if (!list || !pathOf(list, path)) return std::nullopt;
  return std::wstring(path);
}

// Titles the browser window when it opens, and shows the highlighted
// folder's path in its status line.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
  if (message == BFFM_INITIALIZED) {
    SetWindowTextW(dialog, reinterpret_cast<const wchar_t*>(data));
  } else if (message == BFFM_SELCHANGED) {
    auto path = FolderPath(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam));
    SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path ? path->c_str() : L""));
  }
  return 0;
}

}  // namespace

Win32Dialogs::Win32Dialogs(std::string programTitle, HWND owner)
    : programTitle_(std::move(programTitle)), owner_(owner) {}

void Win32Dialogs::Message(const std::string& text) {
  MessageBoxW(owner_, AnsiToWide(text).c_str(), AnsiToWide(programTitle_).c_str(), MB_OK);
}

void Win32Dialogs::Error(const std::string& text) {
  MessageBoxW(owner_, AnsiToWide(text).c_str(), AnsiToWide(programTitle_).c_str(), MB_OK | MB_ICONERROR);
}

void Win32Dialogs::Warn(const std::string& text) {
  MessageBoxW(owner_, AnsiToWide(text).c_str(), AnsiToWide(programTitle_).c_str(), MB_OK | MB_ICONWARNING);
}

int AskYesNo(HWND owner, const std::wstring& text, const wchar_t* title, UINT icon) {
  ThreadHook hook(WH_CBT, &ConfirmCreationHook);
  return MessageBoxW(owner, text.c_str(), title, MB_YESNO | icon | MB_DEFBUTTON1);
}

bool Win32Dialogs::Confirm(const std::string& text) {
  return AskYesNo(owner_, AnsiToWide(text)) == IDYES;
}

bool Win32Dialogs::AskWarning(const std::string& text) {
  return AskYesNo(owner_, AnsiToWide(text), L"Warning", MB_ICONWARNING) == IDYES;
}

std::optional<std::string> Win32Dialogs::BrowseForFolder(const std::string& prompt,
                                                         const std::string& title) {
  const std::wstring widePrompt = AnsiToWide(prompt);
  const std::wstring wideTitle = AnsiToWide(title);
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW info = {};
  info.hwndOwner = owner_;
  info.pszDisplayName = displayName;
  info.lpszTitle = widePrompt.c_str();
  // Network places stay reachable: no BIF_DONTGOBELOWDOMAIN.
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  info.lpfn = &BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(wideTitle.c_str());
  ComScope com;
  ItemList chosen(SystemFunction<decltype(&SHBrowseForFolderW)>(L"shell32.dll", "SHBrowseForFolderW")(&info));
  auto path = FolderPath(chosen.get());
  if (!path) return std::nullopt;
  return WideToAnsi(*path);
}
