// The overview window: its controls, its filling at every showing, and its
// modal showing.
#include "app/TFormViewAll.h"

#include <algorithm>

#include "schedule/CalendarMarks.h"
#include "schedule/ScheduleKinds.h"
#include "schedule/ScheduleOverview.h"
#include "ui/Dpi.h"
#include "ui/Text.h"

namespace {

constexpr int kWidth = 438;
constexpr int kHeight = 457;
constexpr int kStripHeight = 37;
constexpr COLORREF kLightGreen = RGB(183, 255, 183);

}  // namespace

TFormViewAll::TFormViewAll(const Services& services, HWND owner) : owner_(owner) {
  IDialogs& dialogs = services.dialogs;
  SetErrorSink([&dialogs](const std::string& text) { dialogs.Error(text); });
  // A fixed frame with only the close box; owned by the main window, so it
  // stays above it.
  CreateWindowOf(L"TFormViewAll", WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                 WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, "", {0, 0, kWidth, kHeight}, owner);
  fonts_.SetDpi(Handle(), Dpi());
  BuildControls();
  FormCreate();
}

TFormViewAll::~TFormViewAll() {
  if (Handle()) DestroyWindow(Handle());
}

void TFormViewAll::BuildControls() {
  HWND window = Handle();
  HFONT font = fonts_.Get(fontSpec_);
  // The client area in the units of the layout, which the strip at the
  // bottom spans.
  RECT pixels{};
  GetClientRect(window, &pixels);
  const RECT client{0, 0, MulDiv(pixels.right, ui::kLayoutDpi, Dpi()),
                    MulDiv(pixels.bottom, ui::kLayoutDpi, Dpi())};

  ListView1.Create({.parent = window, .bounds = {16, 16, 401, 189}, .gridLines = true, .font = font});
  ListView1.SetBackground(kLightGreen);
  ListView1.AddColumn("DAY", 80, ui::Align::Left);
  ListView1.AddColumn("TIME", 80, ui::Align::Centre);
  ListView1.AddColumn("TYPE", 141, ui::Align::Centre);
  ListView1.AddColumn("WARNING", 80, ui::Align::Centre);

  const int lefts[] = {16, 160, 308};
  const char* const captions[] = {"Shutdown", "StartUp", "TestUPS"};
  int kind = 0;
  for (const WeeklyPanel& weekly : WeeklyPanels()) {
    weekly.panel.Create(
        {.parent = window, .bounds = {lefts[kind], 208, 109, 181}, .outer = ui::Bevel::Raised});
    HWND panel = weekly.panel.Handle();
    weekly.caption.Create({.parent = panel, .bounds = {4, 3, 0, 0}, .caption = captions[kind], .font = font});
    weekly.timeCaption.Create({.parent = panel, .bounds = {4, 23, 0, 0}, .caption = "Time :", .font = font});
    weekly.time.Create({.parent = panel, .bounds = {36, 24, 0, 0}, .caption = "12:00", .font = font});
    weekly.days.Create(
        {.parent = panel,
         .bounds = {4, 44, 85, 133},
         .rows = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
         .rowHeight = 18,
         .font = font});
    ++kind;
  }

  Panel1.Create({.parent = window,
                 .bounds = {0, client.bottom - kStripHeight, client.right, kStripHeight},
                 .outer = ui::Bevel::Raised});
  ButtonClose.Create({.parent = Panel1.Handle(),
                      .bounds = {(client.right - 81) / 2, (kStripHeight - 25) / 2, 81, 25},
                      .caption = "Close",
                      .font = font});
  ButtonClose.OnClick = [this] { Close(); };
}

std::array<TFormViewAll::WeeklyPanel, 3> TFormViewAll::WeeklyPanels() {
  return {{{Panel3, Label1, Label2, Label7, CheckListBox3},
           {Panel4, Label3, Label4, Label8, CheckListBox1},
           {Panel5, Label5, Label6, Label9, CheckListBox2}}};
}

void TFormViewAll::FormCreate() {
  ui::SetWindowText(Handle(), kViewAllTitle);
  SetWindowPos(Handle(), nullptr, 0, 0, ui::Scale(kWidth, Dpi()), ui::Scale(kHeight, Dpi()),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const WeeklyPanel& weekly : WeeklyPanels()) {
    // A disabled panel passes no click and no focus to its controls, which
    // still show as they are: the rules can be read, not changed.
    EnableWindow(weekly.panel.Handle(), FALSE);
    weekly.panel.SetBevels(ui::Bevel::None, ui::Bevel::None);
  }
}

void TFormViewAll::FormShow(const TSchedule& schedule, const TINI& settings, const TINI_LANGUAGE& texts,
                            const TAString& strings) {
  HFONT old = fonts_.Get(fontSpec_);
  fontSpec_ = {texts.FONTNAME, texts.FONTSIZE};
  ui::ReplaceFont(Handle(), old, fonts_.Get(fontSpec_));

  ListView1.SetColumnCaption(0, texts.DAY);
  ListView1.SetColumnCaption(1, texts.TIME);
  ListView1.SetColumnCaption(2, texts.TYPE);
  ListView1.SetColumnCaption(3, texts.WARNING);
  const std::string* days[] = {&texts.SUNDAY,   &texts.MONDAY, &texts.TUESDAY, &texts.WEDNESDAY,
                               &texts.THURSDAY, &texts.FRIDAY, &texts.SATURDAY};
  int kind = 0;
  for (const WeeklyPanel& weekly : WeeklyPanels()) {
    weekly.timeCaption.SetCaption(texts.TIME);
    weekly.caption.SetCaption(texts.*kScheduleKinds[kind].name);
    for (int row = 0; row < 7; ++row) weekly.days.SetRowText(row, *days[row]);
    ++kind;
  }
  ButtonClose.SetText(texts.CLOSE);

  std::vector<std::vector<std::string>> rows;
  rows.reserve(schedule.Count());
  for (size_t line = 0; line < schedule.Count(); ++line) {
    OverviewRow row = OverviewRowOf(std::string(schedule.Line(line)), texts, strings);
    rows.push_back({std::move(row.day), std::move(row.time), std::move(row.type), std::move(row.warning)});
  }
  ListView1.SetRows(std::move(rows));

  kind = 0;
  for (const WeeklyPanel& weekly : WeeklyPanels()) {
    const std::string& mask = settings.*WeeklyRuleOf(kind).days;
    for (int row = 0; row < 7; ++row) weekly.days.SetChecked(row, MaskHas(mask, row + 1));
    weekly.time.SetCaption(WeeklyRuleTime(settings, kind++));
  }
  PlaceTimes();
}

// A time stands where the layout puts it, or further right when the caption
// before it is longer in the language shown ("HEURE" for "TIME").
void TFormViewAll::PlaceTimes() {
  for (const WeeklyPanel& weekly : WeeklyPanels()) {
    const ui::Bounds caption = weekly.timeCaption.Place(), time = weekly.time.Place();
    const int left = std::max(ui::Scale(weekly.time.Layout().left, Dpi()),
                              caption.left + caption.width + ui::Scale(2, Dpi()));
    if (left != time.left)
      SetWindowPos(weekly.time.Handle(), nullptr, left, time.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TFormViewAll::ShowModalFor(const TSchedule& schedule, const TINI& settings, const TINI_LANGUAGE& texts,
                                const TAString& strings) {
  FormShow(schedule, settings, texts, strings);
  HWND focus = GetFocus();
  EnableWindow(owner_, FALSE);
  CentreOnScreen();
  showing_ = true;
  ShowWindow(Handle(), SW_SHOW);
  SetFocus(ListView1.Handle());

  MSG message;
  bool quit = false;
  while (showing_) {
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_F1 && OnHelpKey &&
        (message.hwnd == Handle() || IsChild(Handle(), message.hwnd)))
      OnHelpKey();
    // Tab between the table and Close, Escape and Enter to close.
    if (IsDialogMessageW(Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  showing_ = false;
  // The owner is enabled before this window hides, so that it becomes the
  // active window again, with the focus where the user left it.
  EnableWindow(owner_, TRUE);
  ShowWindow(Handle(), SW_HIDE);
  if (focus && IsWindow(focus)) SetFocus(focus);
  if (quit) PostQuitMessage(static_cast<int>(message.wParam));
}

void TFormViewAll::Close() {
  if (!showing_) return;
  showing_ = false;
  // Wakes the loop of ShowModalFor.
  PostMessageW(Handle(), WM_NULL, 0, 0);
}

void TFormViewAll::OnDpiChanged(int oldDpi) {
  fonts_.SetDpi(Handle(), Dpi());
  ui::RescaleChildren(Handle(), oldDpi, Dpi());
  PlaceTimes();
}

LRESULT TFormViewAll::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // The close box hides the window; it lives until the program ends.
      Close();
      return 0;
    case WM_COMMAND:
      // Escape and Enter, as the dialog keys send them.
      if (lParam == 0 && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) {
        Close();
        return 0;
      }
      break;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}
