// The main window's life: creation, start-up sequence, keyboard preview, closing.
#include "app/TFormMain.h"

#include <exception>

#include "app/StartupTrace.h"
#include "platform/FileSystem.h"
#include "schedule/DayDescription.h"
#include "ui/BusyCursor.h"
#include "ui/Dpi.h"
#include "ui/Text.h"
#include "util/AppError.h"

namespace {

// The window's outer size at 96 DPI.
constexpr int kOuterWidth = 556;
constexpr int kOuterHeight = 468;
// Posted to the window: make the calendar's day markers.
constexpr UINT kMakeDayMarkers = WM_APP + 1;
// Posted to the window: make the pages after the first.
constexpr UINT kMakeLaterPages = WM_APP + 2;

}  // namespace

TFormMain::TFormMain(const Services& services, TDataModule1& module) : services_(services), module_(module) {
  SetErrorSink([this](const std::string& text) { services_.dialogs.Error(text); });
  CreateWindowOf(L"TFormMain", WS_EX_CONTROLPARENT,
                 WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, kMainWindowTitle,
                 {CW_USEDEFAULT, CW_USEDEFAULT, kOuterWidth, kOuterHeight}, nullptr);
  fonts_.SetDpi(Handle(), Dpi());
  Note("main window");
  // The settings and the language are read before the controls are made, so
  // that each control is made once, in the language's font.
  std::exception_ptr readFailure;
  try {
    FormCreate();
  } catch (const std::exception&) {
    readFailure = std::current_exception();
  }
  BuildControls();
  Note("controls");
  // Handled before any input: the user never finds the page unmade.
  PostMessageW(Handle(), kMakeLaterPages, 0, 0);
  BindHandlers();
  module_.SetDetectionWindow(this);
  try {
    if (readFailure) std::rethrow_exception(readFailure);
    FillControls();
  } catch (const std::exception& failure) {
    // The rest of the start-up sequence is skipped; the window shows what it has.
    ShowFailure(failure);
  }
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
  services_.dialogs.Error(ErrorBoxText(failure.what()));
}

void TFormMain::BindHandlers() {
  CheckBox1.OnClick = [this] { CheckBox1Click(); };
  CheckBox3.OnClick = [this] { CheckBox1Click(); };
  CheckBox8.OnClick = [this] { CheckBox1Click(); };
  CheckBox5.OnClick = [this] { CheckBox5Click(); };
  CheckBox7.OnClick = [this] { CheckBox7Click(); };
  CheckBox9.OnClick = [this] { CheckBox9Click(); };
  CheckBox11.OnClick = [this] { CheckBox11Click(); };
  CheckListBox1.OnClickCheck = [this](int row) { CheckListBox1ClickCheck(row); };
  CheckListBox2.OnClickCheck = [this](int row) { CheckListBox2ClickCheck(row); };
  CheckListBox4.OnClickCheck = [this](int row) { CheckListBox4ClickCheck(row); };
  UpDown1.OnClick = [this](int position) { UpDown1Click(position); };
  UpDown2.OnClick = [this](int position) { UpDown2Click(position); };
  SpeedButton1.OnClick = [this] { SpeedButton1Click(); };
  SpeedButton2.OnClick = [this] { SpeedButton2Click(); };
  ComboBox3.OnChange = [this] { ComboBox3Change(); };
  ComboBox11.OnChange = [this] { ComboBox11Change(); };
  ButtonAutoDetect.OnClick = [this] { ButtonAutoDetectClick(); };
  ComboBox7.OnChange = [this] { ComboBox7Change(); };
  ComboBox8.OnChange = [this] { ComboBox7Change(); };
  Calendar1.OnChange = [this] { Calendar1Change(); };
  // A screen reader hears the month and each day in the language in use,
  // with the events the markers show.
  Calendar1.MonthName = [this](int month, int year) {
    return language_ ? DescribeMonth(*language_, month, year) : std::string();
  };
  Calendar1.DayName = [this](int day, int month, int year) {
    if (!language_ || !schedule_ || !settings_) return std::string();
    return DescribeDay(*language_, *schedule_, *settings_, module_.ADateTime1, day, month, year);
  };
  ButtonApply.OnClick = [this] { ButtonApplyClick(); };
  ButtonClear.OnClick = [this] { ButtonClearClick(); };
  ButtonReset.OnClick = [this] { ButtonResetClick(); };
  ButtonViewAll.OnClick = [this] { ButtonViewAllClick(); };
  ButtonOK.OnClick = [this] { OkClick(); };
  ButtonCancel.OnClick = [this] { CancelClick(); };
  PageControl1.OnChange = [this](int) { FocusFirstOfPage(); };
}

void TFormMain::FormCreate() {
  // Title and size, unless the window has them already: each change is a
  // round of calls into the window manager.
  if (ui::WindowText(Handle()) != kMainWindowTitle) ui::SetWindowText(Handle(), kMainWindowTitle);
  RECT outer{};
  GetWindowRect(Handle(), &outer);
  const int width = ui::Scale(kOuterWidth, Dpi()), height = ui::Scale(kOuterHeight, Dpi());
  if (outer.right - outer.left != width || outer.bottom - outer.top != height)
    SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  std::string folder = ProgramFolder();
  settings_ = std::make_unique<TINI>();
  settings_->Load(folder + "omb.ini");
  Note("settings");
  schedule_ = std::make_unique<TSchedule>();

  language_ = std::make_unique<TINI_LANGUAGE>();
  language_->Path = folder + "Languages\\" + settings_->LANGUAGE + "\\setup.ini";
  if (fs_seam::FileExists(language_->Path)) {
    language_->Load();
    UseLanguageFonts();
    languageRead_ = true;
  } else {
    services_.dialogs.Message(language_->Path + " " + language_->MESSAGE_ERROR_FILE_NOT_FOUND);
  }
  Note("language read");
}

// Each step that takes the later pages too notes that the start came to it,
// so that they are given it once they are made.
void TFormMain::FillControls() {
  startReached_ = StartStep::Bevels;
  if (laterPagesMade_) Panel4.SetBevels(ui::Bevel::None, ui::Bevel::None);
  startReached_ = StartStep::Language;
  if (languageRead_) ApplyLanguage();

  // Controls that show no caption still have a name for screen readers: the
  // marker buttons their kind, the spinners the field they step.
  startReached_ = StartStep::Names;
  if (laterPagesMade_) NameMarkers();
  UpDown1.SetText(language_->OVERLOAD_SHUTDOWN_IN);
  UpDown2.SetText(language_->POWER_FAIL_FOR);
  Note("language");
  // Made from the message loop, once the window has shown.
  PostMessageW(Handle(), kMakeDayMarkers, 0, 0);
  SetUpPages();

  schedule_->FilePath = ProgramFolder() + "SCHEDULE.TXT";
  if (fs_seam::FileExists(schedule_->FilePath)) schedule_->LoadSchedule();

  startReached_ = StartStep::MonthMarked;
  if (laterPagesMade_) MarkShownMonth();

  startReached_ = StartStep::SeriesRules;
  ApplySeriesRules(settings_->UPSTYPE);
  Note("schedule and series");
}

void TFormMain::BuildLaterPages() {
  if (laterPagesMade_) return;
  BuildSchedulePage(PageControl1.Page(1));
  BuildOthersPage(PageControl1.Page(2));
  for (ui::Group* group : {&GroupBox14, &GroupBox3, &GroupBox2, &GroupBox1}) group->PlaceBeneathSiblings();
  laterPagesMade_ = true;
  const auto reached = [this](StartStep step) { return startReached_ >= step; };
  if (reached(StartStep::Bevels)) Panel4.SetBevels(ui::Bevel::None, ui::Bevel::None);
  if (reached(StartStep::Language) && languageRead_) ApplyLanguageToLaterPages();
  if (reached(StartStep::Names)) NameMarkers();
  if (reached(StartStep::PagesFilled)) {
    FillLanguageList();
    ShowScheduleSetup();
    ShowOthersPage();
  }
  if (reached(StartStep::MonthMarked)) MarkShownMonth();
  if (reached(StartStep::SeriesRules)) ApplySeriesRulesToLaterPages(settings_->UPSTYPE);
}

// The marks of the calendar's month and the times of its day.
void TFormMain::MarkShownMonth() {
  MarkMonth(Calendar1.Month(), Calendar1.Year());
  ShowDayTimes(Calendar1.Day(), Calendar1.Month(), Calendar1.Year());
}

void TFormMain::NameMarkers() {
  MarkerShutdown.SetText(language_->SHUTDOWN);
  MarkerStartup.SetText(language_->STARTUP);
  MarkerTest.SetText(language_->TESTUPS);
}

void TFormMain::SetUpPages() {
  LoadSkins();
  Note("skins");
  startReached_ = StartStep::PagesFilled;
  if (laterPagesMade_) FillLanguageList();
  ShowConfigPage();
  if (laterPagesMade_) {
    ShowScheduleSetup();
    ShowOthersPage();
  }
  PageControl1.SetActive(0);
  Note("pages filled");
}

void TFormMain::LoadSkins(SkinErrors errors) {
  struct Target {
    const char* file;
    int count;  // images side by side
    std::function<void(ui::Bitmap, int count)> show;
  };
  using ui::GlyphLayout;
  const Target skins[] = {
      {"HeaderSetup.bmp", 1, [this](ui::Bitmap b, int) { Panel1.SetPicture(std::move(b)); }},
      {"SAVE_BUTTON.bmp", 1,
       [this](ui::Bitmap b, int n) { ButtonOK.SetGlyph(std::move(b), n, GlyphLayout::Left); }},
      {"CANCEL_BUTTON.bmp", 2,
       [this](ui::Bitmap b, int n) { ButtonCancel.SetGlyph(std::move(b), n, GlyphLayout::Left); }},
      {"EXIT_BUTTON.bmp", 1,
       [this](ui::Bitmap b, int n) { ButtonClear.SetGlyph(std::move(b), n, GlyphLayout::Left); }},
      {"APPLY_BUTTON.bmp", 2,
       [this](ui::Bitmap b, int n) { ButtonApply.SetGlyph(std::move(b), n, GlyphLayout::Left); }},
      {"BATTERY.BMP", 1,
       [this](ui::Bitmap b, int n) { ButtonAutoDetect.SetGlyph(std::move(b), n, GlyphLayout::Top); }},
      {"VIEWALL_BUTTON.bmp", 1,
       [this](ui::Bitmap b, int n) { ButtonViewAll.SetGlyph(std::move(b), n, GlyphLayout::Top); }},
      {"RESET_BUTTON.bmp", 1,
       [this](ui::Bitmap b, int n) { ButtonReset.SetGlyph(std::move(b), n, GlyphLayout::Top); }},
  };
  std::string folder = ProgramFolder() + "skin\\setup\\";
  for (const Target& skin : skins) {
    std::string path = folder + skin.file;
    if (!fs_seam::FileExists(path)) {
      if (errors == SkinErrors::Report)
        services_.dialogs.Message(language_->MESSAGE_ERROR_FILE_NOT_FOUND + skin.file);
      continue;
    }
    ui::Bitmap picture = ui::LoadBitmapFile(path);
    if (!picture) {
      if (errors == SkinErrors::Report) throw AppError("Bitmap image is not valid");
      continue;
    }
    skin.show(SkinAtDpi(skin.file, std::move(picture), skin.count), skin.count);
  }
}

// The larger renderings lie in skin\setup\150 and skin\setup\200. Shrinking
// the nearest larger one keeps the lines sharp; enlarging the 1x picture is
// the last resort.
ui::Bitmap TFormMain::SkinAtDpi(const std::string& file, ui::Bitmap picture, int count) {
  const int dpi = Dpi();
  if (dpi == ui::kLayoutDpi) return picture;
  const SIZE size = ui::BitmapSize(picture.Get());
  const SIZE wanted{ui::Scale(size.cx / count, dpi) * count, ui::Scale(size.cy, dpi)};
  for (int percent : {150, 200}) {
    if (percent * ui::kLayoutDpi < dpi * 100 && percent != 200) continue;
    std::string path = ProgramFolder() + "skin\\setup\\" + std::to_string(percent) + "\\" + file;
    if (!fs_seam::FileExists(path)) continue;
    if (ui::Bitmap larger = ui::LoadBitmapFile(path)) {
      picture = std::move(larger);
      break;
    }
  }
  ui::Bitmap scaled = ui::ScaledBitmap(picture.Get(), wanted, count);
  return scaled ? std::move(scaled) : std::move(picture);
}

// Fonts first: the labels that fit their text measure it in the new ones.
void TFormMain::OnDpiChanged(int oldDpi) {
  fonts_.SetDpi(Handle(), Dpi());
  ui::RescaleChildren(Handle(), oldDpi, Dpi());
  for (ui::Label* label : {&Label27, &Label28, &Label29}) CentreUnderMarker(*label);
  AlignDayMarkers();
  LoadSkins(SkinErrors::Ignore);
}

void TFormMain::FillLanguageList() {
  CheckListBox2.SetRows(fs_seam::ListNamesWithoutExtension(ProgramFolder() + "Languages\\"));
  CheckListBox2.Sort();
}

void TFormMain::Show() {
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
  language_.reset();
  settings_.reset();
  schedule_.reset();
}

void TFormMain::Close() {
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

LRESULT TFormMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // Closing asks nothing and writes nothing.
      DestroyWindow(Handle());
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
    case kMakeDayMarkers:
      BuildDayMarkers();
      return 0;
    case kMakeLaterPages:
      BuildLaterPages();
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

void TFormMain::ProcessMessage(MSG& message) {
  bool mine = Handle() && (message.hwnd == Handle() || IsChild(Handle(), message.hwnd));
  if (mine) {
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
