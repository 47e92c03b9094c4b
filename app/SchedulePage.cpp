// The schedule page: its controls, how it shows the settings, the series
// rules on its markers, and what it stores at OK.
#include "app/SchedulePage.h"

#include <iterator>

#include "schedule/CalendarMarks.h"
#include "settings/IniFile.h"

namespace rules = settings_rules;

namespace {

// The markers' colours, by kind: red shutdown, lime start-up, blue test.
constexpr COLORREF kKindColours[kKindCount] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
constexpr COLORREF kTitleBlue = RGB(0, 0, 255);

std::vector<int> ValuesOf(const rules::ListedValue& list) {
  return {list.rows.begin(), list.rows.end()};
}

std::vector<int> Years() {
  std::vector<int> years;
  for (int year = 2000; year <= 2200; ++year) years.push_back(year);
  return years;
}

}  // namespace

void SchedulePage::Build(ui::Panel& schedulePage, const PageFonts& fonts) {
  HWND page = schedulePage.Handle();
  HFONT font = fonts.window;
  auto sink = [this](const std::string& text) { dialogs_.Error(text); };

  const LocalDateTime today = clock_.Now();
  Calendar1.Create({.parent = page,
                    .bounds = {3, 28, 367, 172},
                    .day = today.Day,
                    .month = today.Month,
                    .year = today.Year,
                    .font = fonts.calendar});
  Label15.Create({.parent = page, .bounds = {3, 6, 0, 0}, .caption = "Month", .font = font});
  ComboBox7.Create({.parent = page,
                    .bounds = {38, 2, 90, kDroppedHeight},
                    .rows = {"January", "February", "March", "April", "May", "June", "July", "August",
                             "September", "October", "November", "December"},
                    .typing = ui::Typing::Blocked,
                    .font = font});
  Label16.Create({.parent = page, .bounds = {136, 6, 0, 0}, .caption = "Year", .font = font});
  ComboBox8.Create({.parent = page,
                    .bounds = {162, 2, 60, kDroppedHeight},
                    .rows = NumberRows(Years(), false),
                    .typing = ui::Typing::Blocked,
                    .font = font});

  Panel3.Create({.parent = page, .bounds = {374, 2, 164, 22}, .outer = ui::Bevel::Raised, .sink = sink});
  Panel3.SetCaption("Schedule Setup", fonts.bold, kTitleBlue);

  GroupBox14.Create(
      {.parent = page, .bounds = {374, 26, 164, 220}, .caption = " Schedule Setup ", .font = font});
  Label23.Create({.parent = page, .bounds = GroupBox14.Inside(8, 18, 0, 0), .caption = "Hour", .font = font});
  ComboBox13.Create({.parent = page,
                     .bounds = GroupBox14.Inside(36, 14, 44, kDroppedHeight),
                     .kind = ui::ComboBox::Kind::DropDown,
                     .rows = NumberRows(ValuesOf(rules::HourList()), true),
                     .maxLength = 2,
                     .typing = ui::Typing::DigitsOnly,
                     .font = font});
  Label24.Create(
      {.parent = page, .bounds = GroupBox14.Inside(86, 18, 0, 0), .caption = "Min.", .font = font});
  ComboBox17.Create({.parent = page,
                     .bounds = GroupBox14.Inside(112, 14, 44, kDroppedHeight),
                     .kind = ui::ComboBox::Kind::DropDown,
                     .rows = NumberRows(ValuesOf(rules::MinuteList()), true),
                     .maxLength = 2,
                     .typing = ui::Typing::DigitsOnly,
                     .font = font});
  CheckBox10.Create({.parent = page,
                     .bounds = GroupBox14.Inside(8, 42, 70, kCheckHeight),
                     .caption = "Warning",
                     .font = font});
  CheckBox5.Create({.parent = page,
                    .bounds = GroupBox14.Inside(80, 42, 80, kCheckHeight),
                    .caption = "Current Day",
                    .font = font});
  CheckListBox3.Create({.parent = page,
                        .bounds = GroupBox14.Inside(8, 64, 84, 130),
                        .rows = {"Sunday", "Monday", "Tuesday", "Wednday", "Thursday", "Friday", "Saturday"},
                        .rowHeight = 18,
                        .font = font});

  ui::Bounds markers = GroupBox14.Inside(94, 62, 67, 130);
  Panel4.Create({.parent = page, .bounds = markers, .outer = ui::Bevel::Raised, .sink = sink});
  HWND markerPanel = Panel4.Handle();
  MarkerShutdown.Create({.parent = markerPanel, .bounds = {22, 4, 23, 18}, .font = font});
  Label27.Create({.parent = markerPanel, .bounds = {0, 24, 0, 0}, .caption = "Shutdown", .font = font});
  MarkerStartup.Create({.parent = markerPanel, .bounds = {22, 46, 23, 18}, .font = font});
  Label28.Create({.parent = markerPanel, .bounds = {0, 66, 0, 0}, .caption = "StartUp", .font = font});
  MarkerTest.Create({.parent = markerPanel, .bounds = {22, 88, 23, 18}, .font = font});
  Label29.Create({.parent = markerPanel, .bounds = {0, 108, 0, 0}, .caption = "TestUPS", .font = font});
  CentreMarkerLabels();
  const std::array<ui::MarkerButton*, 3> markerButtons = Markers();
  for (int kind = 0; kind < kKindCount; ++kind) markerButtons[kind]->SetColor(kKindColours[kind]);
  std::vector<ui::MarkerButton*> group(markerButtons.begin(), markerButtons.end());
  for (ui::MarkerButton* marker : group) marker->SetGroup(group);

  ButtonApply.Create(
      {.parent = page, .bounds = GroupBox14.Inside(8, 196, 74, 22), .caption = "Apply", .font = font});
  ButtonClear.Create(
      {.parent = page, .bounds = GroupBox14.Inside(84, 196, 74, 22), .caption = "Clear", .font = font});
  ButtonViewAll.Create({.parent = page, .bounds = {374, 250, 80, 58}, .caption = "View All", .font = font});
  ButtonReset.Create({.parent = page, .bounds = {458, 250, 80, 58}, .caption = "Reset", .font = font});

  // Legend and the times of the selected day, under the calendar.
  for (int kind = 0; kind < kKindCount; ++kind)
    schedulePage.AddColourBlock({4, 217 + 32 * kind, 19, 225 + 32 * kind}, kKindColours[kind]);
  Label17.Create({.parent = page, .bounds = {24, 213, 0, 0}, .caption = "Shutdown Time :", .font = font});
  Label4.Create({.parent = page, .bounds = {24, 245, 0, 0}, .caption = "StartUp Time     :", .font = font});
  Label7.Create({.parent = page, .bounds = {24, 277, 0, 0}, .caption = "TestUPS Time   :", .font = font});
  Label2.Create({.parent = page, .bounds = {108, 213, 75, 13}, .font = font});
  Label19.Create({.parent = page, .bounds = {108, 245, 75, 13}, .font = font});
  Label21.Create({.parent = page, .bounds = {108, 277, 75, 13}, .font = font});

  GroupBox3.Create({.parent = page,
                    .bounds = {184, 204, 185, 105},
                    .caption = " Shutdown computer parameter ",
                    .font = font});
  ScheduleGroup().Build(page, GroupBox3,
                        {.autoSave = {12, 18, 165, kCheckHeight},
                         .typeLabel = {12, 40, 0, 0},
                         .type = {12, 56, 160, kDroppedHeight},
                         .ups = {12, 83, 165, kCheckHeight}},
                        font);
  for (ui::Group* box : {&GroupBox14, &GroupBox3}) box->PlaceBeneathSiblings();
}

std::vector<ui::Control*> SchedulePage::KeyboardOrder() {
  return {&ComboBox7,  &ComboBox8, &ComboBox13, &ComboBox17, &CheckBox10, &CheckBox5,
          &CheckListBox3, &CheckBox6, &ComboBox11, &CheckBox8, &Calendar1};
}

void SchedulePage::ApplyLanguage(const TINI_LANGUAGE& t, HFONT titleFont) {
  Panel3.SetCaption(t.SCHEDULE_SETUP, titleFont, kTitleBlue);
  SetIfOther(Label15, t.MONTH);
  SetIfOther(ComboBox7, {t.JANUARY, t.FEBRUARY, t.MARCH, t.APRIL, t.MAY, t.JUNE, t.JULY, t.AUGUST,
                         t.SEPTEMBER, t.OCTOBER, t.NOVEMBER, t.DECEMBER});
  SetIfOther(Label16, t.YEAR);
  SetIfOther(Label17, t.SHUTDOWN_TIME);
  SetIfOther(Label4, t.STARTUP_TIME);
  SetIfOther(Label7, t.TESTUPS_TIME);
  SetIfOther(GroupBox3, t.SHUTDOWN_COMPUTER_PARAMETER);
  ScheduleGroup().ApplyLanguage(t);
  SetIfOther(GroupBox14, t.SCHEDULE_SETUP);
  SetIfOther(Label23, t.HOUR);
  SetIfOther(Label24, t.MINUTE);
  SetIfOther(CheckBox10, t.WARNING);
  SetIfOther(CheckBox5, t.CURRENT_DAY);
  if (SetIfOther(Label27, t.SHUTDOWN)) CentreUnderMarker(Label27);
  if (SetIfOther(Label28, t.STARTUP)) CentreUnderMarker(Label28);
  if (SetIfOther(Label29, t.TESTUPS)) CentreUnderMarker(Label29);
  SetRowTexts(CheckListBox3, {t.SUNDAY, t.MONDAY, t.TUESDAY, t.WEDNESDAY, t.THURSDAY, t.FRIDAY, t.SATURDAY});
  SetIfOther(ButtonApply, t.APPLY);
  SetIfOther(ButtonClear, t.CLEAR);
  SetIfOther(ButtonViewAll, t.VIEW_ALL);
  SetIfOther(ButtonReset, t.RESET);
}

void SchedulePage::NameMarkers(const TINI_LANGUAGE& t) {
  MarkerShutdown.SetText(t.SHUTDOWN);
  MarkerStartup.SetText(t.STARTUP);
  MarkerTest.SetText(t.TESTUPS);
}

// The markers are the calendar's marks, drawn over its cells: they move with
// its grid at any scale and stay out of what a screen reader finds there.
void SchedulePage::BuildDayMarkers() {
  Calendar1.SetMarkColours({std::begin(kKindColours), std::end(kKindColours)});
}

void SchedulePage::CentreMarkerLabels() {
  for (ui::Label* label : {&Label27, &Label28, &Label29}) CentreUnderMarker(*label);
}

// A marker label, sized to its caption, centred across the marker panel; one
// wider than the panel gets a negative left edge. Its top stays.
void SchedulePage::CentreUnderMarker(ui::Label& label) {
  RECT panel{};
  GetWindowRect(Panel4.Handle(), &panel);
  int panelWidth = panel.right - panel.left;
  ui::Bounds place = label.Place();
  SetWindowPos(label.Handle(), nullptr, (panelWidth - place.width) / 2, place.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

bool TINI::*const kWeekdays[7] = {&TINI::LAST_SCHEDULE_SUNDAY,    &TINI::LAST_SCHEDULE_MONDAY,
                                  &TINI::LAST_SCHEDULE_TUESDAY,   &TINI::LAST_SCHEDULE_WEDNESDAY,
                                  &TINI::LAST_SCHEDULE_THURSDAY,  &TINI::LAST_SCHEDULE_FRIDAY,
                                  &TINI::LAST_SCHEDULE_SATURDAY};

int LenientNumber(const std::string& text) {
  int32_t value = 0;
  return ParseIniInteger(text, value) ? value : 0;
}

}  // namespace

void SchedulePage::Show(const TINI& ini) {
  CheckBox6.SetChecked(ini.SCHEDULE_AUTO_SAVE);
  ComboBox11.SetItemIndex(rules::RowOf(rules::ScheduleTypeList(), ini.SCHEDULE_SHUTDOWN_TYPE).value_or(-1));
  CheckBox8.SetChecked(ini.SCHEDULE_SHUTDOWN_UPS);
  dates_.Update();
  ComboBox7.SetItemIndex(dates_.AMonthNow - 1);
  ComboBox8.SetItemIndex(ComboBox8.IndexOf(std::to_string(dates_.AYearNow)));
  ComboBox13.SetItemIndex(rules::RowOf(rules::HourList(), ini.LAST_SCHEDULE_SETUP_HOUR).value_or(-1));
  ComboBox17.SetItemIndex(rules::RowOf(rules::MinuteList(), ini.LAST_SCHEDULE_SETUP_MINUTE).value_or(-1));
  CheckBox10.SetChecked(ini.LAST_SCHEDULE_WARNING);
  CheckBox5.SetChecked(ini.LAST_SCHEDULE_CURRENT_DAY_SCHEDULE);
  EnableWeekdayList(!CheckBox5.Checked());

  // A value that names no marker changes nothing.
  const int32_t button = ini.LAST_SCHEDULE_SETUP_BUTTON;
  if (button == rules::kNoMarker) {
    for (ui::MarkerButton* marker : Markers()) marker->SetDown(false);
  } else if (button >= rules::kShutdownMarker && button <= rules::kTestMarker) {
    Markers()[button - rules::kShutdownMarker]->SetDown(true);
  }
  for (int row = 0; row < 7; ++row) CheckListBox3.SetChecked(row, ini.*kWeekdays[row]);
}

// The marker buttons of the events a series cannot run, their labels, and
// the schedule's "Shutdown UPS" box.
void SchedulePage::ApplySeriesRules(const rules::SeriesRules& series) {
  MarkerStartup.SetEnabled(series.startupEvents);
  if (!series.startupEvents) MarkerStartup.SetDown(false);
  MarkerStartup.SetColor(series.startupEvents ? kKindColours[1] : ui::MarkerButton::kButtonFace);
  Label28.SetEnabled(series.startupEvents);
  if (!series.testEvents) MarkerTest.SetDown(false);
  MarkerTest.SetEnabled(series.testEvents);
  MarkerTest.SetColor(series.testEvents ? kKindColours[2] : ui::MarkerButton::kButtonFace);
  Label29.SetEnabled(series.testEvents);
  if (series.shutdownUpsOff) CheckBox8.SetChecked(false);
}

void SchedulePage::Store(TINI& ini) const {
  ini.LAST_SCHEDULE_SETUP_HOUR = LenientNumber(ComboBox13.Text());
  ini.LAST_SCHEDULE_SETUP_MINUTE = LenientNumber(ComboBox17.Text());
  ini.LAST_SCHEDULE_WARNING = CheckBox10.Checked();
  ini.LAST_SCHEDULE_CURRENT_DAY_SCHEDULE = CheckBox5.Checked();
  for (int row = 0; row < 7; ++row) ini.*kWeekdays[row] = CheckListBox3.Checked(row);
  const std::optional<int> kind = ChosenKind();
  ini.LAST_SCHEDULE_SETUP_BUTTON = kind ? rules::kShutdownMarker + *kind : rules::kNoMarker;
  ini.SCHEDULE_AUTO_SAVE = CheckBox6.Checked();
  const int type = ComboBox11.ItemIndex();
  ini.SCHEDULE_SHUTDOWN_TYPE = type >= 0 ? rules::ScheduleTypeList().rows[type] : -1;
  ini.SCHEDULE_SHUTDOWN_UPS = CheckBox8.Checked();
}

void SchedulePage::EnableWeekdayList(bool on) {
  CheckListBox3.SetEnabled(on);
}

void SchedulePage::CheckBox5Click() {
  EnableWeekdayList(!CheckBox5.Checked());
}

void SchedulePage::ComboBox11Change() {
  if (stores_.language) ScheduleGroup().TypeChanged(dialogs_, *stores_.language);
}
