// The main window's frame: creation, the controls of the frame and the
// handlers of every page, the keyboard preview and focus, closing. The start
// is in StartSequence.cpp, OK and Cancel in ApplyCancel.cpp.
#include "app/TFormMain.h"

#include <exception>

#include "app/StartupTrace.h"
#include "platform/FileSystem.h"
#include "schedule/DayDescription.h"
#include "ui/BusyCursor.h"
#include "ui/Dpi.h"
#include "ui/Text.h"
#include "util/AppError.h"

TFormMain::TFormMain(const Services& services, TDataModule1& module) : services_(services), module_(module) {
  SetErrorSink([this](const std::string& text) { dialogs_.Error(text); });
  CreateWindowOf(L"TFormMain", WS_EX_CONTROLPARENT,
                 WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, kMainWindowTitle,
                 {CW_USEDEFAULT, CW_USEDEFAULT, kOuterWidth, kOuterHeight}, nullptr);
  fonts_.SetDpi(Handle(), Dpi());
  Note("main window");
  RunStart();
}

TFormMain::~TFormMain() {
  module_.SetDetectionWindow(nullptr);
  ui::ShowBusyCursor(false);  // a run cut short leaves no hourglass behind
  if (Handle()) DestroyWindow(Handle());
}

void TFormMain::Note(const char* step) const {
  if (services_.trace) services_.trace->Mark(step);
}

std::string TFormMain::ProgramFolder() const {
  return FolderOf(services_.programPath);
}

void TFormMain::ShowFailure(const std::exception& failure) {
  dialogs_.Error(ErrorBoxText(failure.what()));
}

void TFormMain::BindHandlers() {
  Page1.CheckBox1.OnClick = Guarded([this] { Page1.CheckBox1Click(); });
  Page1.CheckBox3.OnClick = Guarded([this] { Page1.CheckBox1Click(); });
  Page2.CheckBox8.OnClick = Guarded([this] { Page1.CheckBox1Click(); });
  Page1.CheckBox9.OnClick = Guarded([this] { Page1.CheckBox9Click(); });
  Page1.CheckBox11.OnClick = Guarded([this] { Page1.CheckBox11Click(); });
  Page1.CheckListBox1.OnClickCheck = Guarded([this](int row) { Page1.CheckListBox1ClickCheck(row); });
  Page1.OnSeriesChosen = [this](int code) { ApplySeriesRules(code); };
  Page1.CheckListBox4.OnClickCheck = Guarded([this](int row) { Page1.CheckListBox4ClickCheck(row); });
  Page1.UpDown1.OnClick = Guarded([this](int position) { Page1.UpDown1Click(position); });
  Page1.UpDown2.OnClick = Guarded([this](int position) { Page1.UpDown2Click(position); });
  Page1.ComboBox3.OnChange = Guarded([this] { Page1.ComboBox3Change(); });
  Page1.ButtonAutoDetect.OnClick = Guarded([this] { module_.AutoDetectClick(stores_.language->MESSAGE_CONFIRM_DETECT); });

  Page2.CheckBox5.OnClick = Guarded([this] { Page2.CheckBox5Click(); });
  Page2.ComboBox11.OnChange = Guarded([this] { Page2.ComboBox11Change(); });
  Page2.ComboBox7.OnChange = Guarded([this] { Page2.ComboBox7Change(); });
  Page2.ComboBox8.OnChange = Guarded([this] { Page2.ComboBox7Change(); });
  Page2.Calendar1.OnChange = Guarded([this] { Page2.Calendar1Change(); });
  // A screen reader hears the month and each day in the language in use,
  // with the events the markers show.
  Page2.Calendar1.MonthName = [this](int month, int year) {
    return stores_.language ? DescribeMonth(*stores_.language, month, year) : std::string();
  };
  Page2.Calendar1.DayName = [this](int day, int month, int year) {
    if (!stores_.language || !stores_.schedule || !stores_.settings) return std::string();
    return DescribeDay(*stores_.language, *stores_.schedule, *stores_.settings, module_.ADateTime1, day, month,
                       year);
  };
  Page2.ButtonApply.OnClick = Guarded([this] { Page2.ButtonApplyClick(); });
  Page2.ButtonClear.OnClick = Guarded([this] { Page2.ButtonClearClick(); });
  Page2.ButtonReset.OnClick = Guarded([this] { Page2.ButtonResetClick(); });
  Page2.ButtonViewAll.OnClick = Guarded([this] { ButtonViewAllClick(); });

  Page3.CheckBox7.OnClick = Guarded([this] { Page3.CheckBox7Click(); });
  Page3.CheckListBox2.OnClickCheck = Guarded([this](int row) { Page3.CheckListBox2ClickCheck(row); });
  Page3.SpeedButton1.OnClick = Guarded([this] { Page3.SpeedButton1Click(); });
  Page3.SpeedButton2.OnClick = Guarded([this] { Page3.SpeedButton2Click(); });

  ButtonOK.OnClick = Guarded([this] { OkClick(); });
  ButtonCancel.OnClick = Guarded([this] { CancelClick(); });
  PageControl1.OnChange = Guarded([this](int) { FocusFirstOfPage(); });
}

// Fonts first: the labels that fit their text measure it in the new ones.
void TFormMain::OnDpiChanged(int oldDpi) {
  fonts_.SetDpi(Handle(), Dpi());
  ui::RescaleChildren(Handle(), oldDpi, Dpi());
  if (Page2.Built()) Page2.CentreMarkerLabels();
  LoadSkins(SkinErrors::Ignore);
}

void TFormMain::Show() {
  if (closeRequested_) return;  // closed during the start: it ends unseen
  CentreOnScreen();
  ShowWindow(Handle(), SW_SHOW);
  Note("made visible");
  UpdateWindow(Handle());
}

void TFormMain::CentreOnScreen() {
  RECT outer;
  GetWindowRect(Handle(), &outer);
  int width = outer.right - outer.left;
  int height = outer.bottom - outer.top;
  int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFormMain::FormClose() {
  module_.EndDetection();
  stores_.language.reset();
  stores_.settings.reset();
  stores_.schedule.reset();
}

void TFormMain::Close() {
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TFormMain::RequestClose() {
  closeRequested_ = true;
  if (busy_ == 0) {
    DestroyWindow(Handle());
    return;
  }
  EndOpenBoxes();
}

// The boxes, the folder browser and the overview window of this thread end
// as their close box ends them: a question answers No.
void TFormMain::EndOpenBoxes() {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM form) -> BOOL {
        if (window != reinterpret_cast<HWND>(form) && IsWindowVisible(window)) PostMessageW(window, WM_CLOSE, 0, 0);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(Handle()));
}

LRESULT TFormMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // Closing asks nothing and writes nothing.
      RequestClose();
      return 0;
    case WM_QUERYENDSESSION:
      // The session may end: nothing is written unasked, so nothing is lost.
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) RequestClose();
      return 0;
    case WM_DESTROY:
      FormClose();
      if (OnClosed) OnClosed();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        RememberFocus();
        return 0;
      }
      // Activated, not minimised: the control gets the focus, not the window.
      if (HIWORD(wParam) == 0) {
        RestoreFocus();
        return 0;
      }
      break;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case kMakeLaterPages:
      if (!closeRequested_) BuildLaterPages();
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

void TFormMain::ProcessMessage(MSG& message) {
  bool mine = Handle() && (message.hwnd == Handle() || IsChild(Handle(), message.hwnd));
  if (mine) {
    Busy busy(*this);
    try {
      if (message.message == WM_KEYDOWN) {
        FormKeyDown(message.wParam);
        if (PageKey(message.wParam)) return;
        switch (message.wParam) {
          case VK_TAB:
            FocusNext(GetKeyState(VK_SHIFT) < 0);
            return;
          case VK_RETURN:
          case VK_ESCAPE:
            // Only their characters count; the key itself goes no further.
            TranslateMessage(&message);
            return;
          default:
            break;
        }
      } else if (message.message == WM_CHAR && FormKeyPress(message.wParam)) {
        return;
      }
    } catch (const std::exception& failure) {
      ShowFailure(failure);
      return;
    }
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void TFormMain::FormKeyDown(WPARAM key) {
  if (key == VK_F1) ShowHelp(PlaceOfActivePage());
}

bool TFormMain::FormKeyPress(WPARAM character) {
  if (character == 13) {
    FocusNext(false);
    return true;
  }
  if (character == 27) {
    CancelClick();
    return true;
  }
  return false;
}

namespace {

// A control the keyboard can reach: enabled and not hidden itself (the page
// that holds it may be hidden, and the whole window while it is built).
bool CanTakeFocus(const ui::Control& control) {
  return control.Enabled() && (GetWindowLongW(control.Handle(), GWL_STYLE) & WS_VISIBLE);
}

}  // namespace

void TFormMain::RememberFocus() {
  HWND focus = GetFocus();
  if (focus && IsChild(Handle(), focus)) focus_ = focus;
}

void TFormMain::RestoreFocus() {
  // A control that has since been disabled, or whose page was left, gives
  // way to the first control of the page.
  int page = PageControl1.ActiveIndex();
  bool onActivePage = focus_ && page >= 0 && page < PageControl1.Count() &&
                      IsChild(PageControl1.Page(page).Handle(), focus_);
  if (onActivePage && IsWindowEnabled(focus_) && (GetWindowLongW(focus_, GWL_STYLE) & WS_VISIBLE)) {
    SetFocus(focus_);
    return;
  }
  FocusFirstOfPage();
}

void TFormMain::FocusFirstOfPage() {
  int page = PageControl1.ActiveIndex();
  if (page < 0 || page >= static_cast<int>(keyboardOrder_.size())) return;
  for (ui::Control* control : keyboardOrder_[page]) {
    if (CanTakeFocus(*control)) {
      SetFocus(control->Handle());
      return;
    }
  }
}

bool TFormMain::PageKey(WPARAM key) {
  if (GetKeyState(VK_CONTROL) >= 0) return false;
  switch (key) {
    case VK_TAB:
      TurnPage(GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_NEXT:
      TurnPage(false);
      return true;
    case VK_PRIOR:
      TurnPage(true);
      return true;
    default:
      return false;
  }
}

// From the last page forwards is the first, as in every tabbed window.
void TFormMain::TurnPage(bool backwards) {
  int count = PageControl1.Count();
  if (count == 0) return;
  PageControl1.SetActive((PageControl1.ActiveIndex() + (backwards ? count - 1 : 1)) % count);
  FocusFirstOfPage();
}

void TFormMain::FocusNext(bool backwards) {
  int page = PageControl1.ActiveIndex();
  if (page < 0 || page >= static_cast<int>(keyboardOrder_.size())) return;
  const std::vector<ui::Control*>& order = keyboardOrder_[page];
  int count = static_cast<int>(order.size());
  HWND focus = GetFocus();
  int current = -1;
  for (int i = 0; i < count; ++i)
    if (order[i]->Handle() == focus || IsChild(order[i]->Handle(), focus)) current = i;
  for (int step = 1; step <= count; ++step) {
    int next = current < 0 ? (backwards ? count - step : step - 1)
                           : ((current + (backwards ? -step : step)) % count + count) % count;
    if (CanTakeFocus(*order[next])) {
      SetFocus(order[next]->Handle());
      return;
    }
  }
}
