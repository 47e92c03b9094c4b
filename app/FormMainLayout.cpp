// The controls of the main window: places, sizes, built-in texts, rows and limits.
#include "app/SeriesRows.h"
#include "app/TFormMain.h"

namespace {

using ui::ComboBox;
using ui::Typing;

constexpr int kCheckHeight = 17;
constexpr int kEditHeight = 21;
constexpr int kDroppedHeight = 200;  // a combo box's height with its list down

const std::vector<std::string> kShutdownTypes = {"Normal Shutdown", "Force Shutdown", "Hibernate"};

std::vector<std::string> NumberRows(int first, int last, bool twoDigits) {
  std::vector<std::string> rows;
  for (int n = first; n <= last; ++n) {
    std::string row(twoDigits && n < 10 ? "0" : "");
    rows.push_back(row.append(std::to_string(n)));
  }
  return rows;
}

// The power-fail and the schedule shutdown group hold the same controls, each
// group at places of its own (relative to the group).
struct ShutdownGroupControls {
  ui::CheckBox& autoSave;
  ui::Label& typeLabel;
  ui::ComboBox& type;
  ui::CheckBox& ups;
};
struct ShutdownGroupPlaces {
  ui::Bounds autoSave{};
  ui::Bounds typeLabel{};
  ui::Bounds type{};
  ui::Bounds ups{};
};

void BuildShutdownGroup(HWND page, const ui::Group& group, ShutdownGroupControls controls,
                        const ShutdownGroupPlaces& at, HFONT font) {
  auto inside = [&group](const ui::Bounds& b) { return group.Inside(b.left, b.top, b.width, b.height); };
  controls.autoSave.Create(
      {.parent = page, .bounds = inside(at.autoSave), .caption = "Auto-Save Applications", .font = font});
  controls.typeLabel.Create(
      {.parent = page, .bounds = inside(at.typeLabel), .caption = "Shutdown computer type", .font = font});
  controls.type.Create({.parent = page,
                        .bounds = inside(at.type),
                        .rows = kShutdownTypes,
                        .typing = Typing::Blocked,
                        .font = font});
  controls.ups.Create({.parent = page, .bounds = inside(at.ups), .caption = "Shutdown UPS", .font = font});
}

}  // namespace

void TFormMain::BuildControls() {
  HWND window = Handle();
  HFONT font = WindowFont();
  auto sink = [this](const std::string& text) { dialogs_.Error(text); };

  Panel1.Create({.parent = window,
                 .bounds = {0, 0, 549, 65},
                 .outer = ui::Bevel::Raised,
                 .bevelWidth = 2,
                 .sink = sink});
  PageControl1.Create({.parent = window, .bounds = {0, 64, 549, 341}, .font = font, .sink = sink});
  ui::Panel& configPage = PageControl1.AddPage("Ombrel Configurations");
  PageControl1.AddPage("Schedule Setup");
  PageControl1.AddPage("Others");
  Panel2.Create({.parent = window,
                 .bounds = {0, 405, 549, 37},
                 .outer = ui::Bevel::Raised,
                 .inner = ui::Bevel::Lowered,
                 .bevelWidth = 2,
                 .sink = sink});
  HWND bar = Panel2.Handle();
  ButtonOK.Create({.parent = bar, .bounds = {92, 6, 81, 25}, .caption = "OK", .font = font});
  ButtonCancel.Create({.parent = bar, .bounds = {372, 6, 81, 25}, .caption = "Cancel", .font = font});

  Note("frame controls");
  BuildConfigPage(configPage);
  Note("configuration page");
  PageControl1.SetActive(0);
  for (ui::Group* group : {&GroupBox7, &GroupBox8}) group->PlaceBeneathSiblings();

  keyboardOrder_ = {
      {&ComboBox1, &CheckBox4, &CheckBox1, &Edit1, &CheckBox9, &Edit2, &CheckBox11, &CheckListBox1,
       &CheckBox2, &ComboBox3, &CheckBox3, &CheckListBox4},
      {&ComboBox7, &ComboBox8, &ComboBox13, &ComboBox17, &CheckBox10, &CheckBox5, &CheckListBox3, &CheckBox6,
       &ComboBox11, &CheckBox8, &Calendar1},
      {&Edit3, &Edit4, &CheckBox7, &Edit5, &ComboBox9, &Edit6, &CheckListBox2},
  };
}

void TFormMain::BuildConfigPage(ui::Panel& configPage) {
  HWND page = configPage.Handle();
  HFONT font = WindowFont();

  Label1.Create({.parent = page, .bounds = {8, 12, 0, 0}, .caption = "UPS Communication Port", .font = font});
  ComboBox1.Create({.parent = page,
                    .bounds = {136, 8, 65, kDroppedHeight},
                    .rows = {"COM 1", "COM 2", "COM 3", "COM 4", "COM 5", "COM 6", "COM 7", "COM 8"},
                    .typing = Typing::Blocked,
                    .font = font});
  CheckBox4.Create({.parent = page,
                    .bounds = {8, 48, 257, kCheckHeight},
                    .caption = "Run Ombrel when startup ",
                    .font = font});

  GroupBox7.Create(
      {.parent = page, .bounds = {4, 84, 277, 125}, .caption = " Shutdown computer  when ", .font = font});
  CheckBox1.Create({.parent = page,
                    .bounds = GroupBox7.Inside(12, 24, 130, kCheckHeight),
                    .caption = "Overload Shutdown in",
                    .font = font});
  Edit1.Create({.parent = page,
                .bounds = GroupBox7.Inside(144, 20, 37, kEditHeight),
                .maxLength = 2,
                .typing = Typing::DigitsOnly,
                .font = font});
  UpDown1.Create(
      {.parent = page, .bounds = GroupBox7.Inside(181, 20, 15, kEditHeight), .minimum = 0, .maximum = 10});
  Label3.Create(
      {.parent = page, .bounds = GroupBox7.Inside(198, 26, 0, 0), .caption = "Minutes", .font = font});
  CheckBox9.Create({.parent = page,
                    .bounds = GroupBox7.Inside(12, 58, 88, kCheckHeight),  // up to the minutes field
                    .caption = "Power fail for ",
                    .font = font});
  Edit2.Create({.parent = page,
                .bounds = GroupBox7.Inside(100, 56, 37, kEditHeight),
                .maxLength = 2,
                .typing = Typing::DigitsOnly,
                .font = font});
  UpDown2.Create({.parent = page,
                  .bounds = GroupBox7.Inside(137, 56, 15, kEditHeight),
                  .minimum = 1,
                  .maximum = 99,
                  .position = 5});
  Label10.Create(
      {.parent = page, .bounds = GroupBox7.Inside(156, 60, 0, 0), .caption = "minutes", .font = font});
  CheckBox11.Create({.parent = page,
                     .bounds = GroupBox7.Inside(12, 80, 257, kCheckHeight),
                     .caption = "Recommended backup time = 0 minute",
                     .font = font});
  Label8.Create({.parent = page,
                 .bounds = GroupBox7.Inside(8, 100, 0, 0),
                 .caption = "And Computer will shutdown when low battery",
                 .font = fonts_.Get(boldFont_)});
  Label8.SetTextColor(RGB(255, 0, 0));

  ButtonAutoDetect.Create(
      {.parent = page, .bounds = {296, 5, 101, 64}, .caption = "Auto Detect UPS", .font = font});
  Label13.Create({.parent = page, .bounds = {296, 72, 0, 0}, .caption = "Tarvexi UPS Series", .font = font});
  CheckListBox1.Create({.parent = page,
                        .bounds = {296, 89, 233, 104},
                        .rows = SeriesCaptions(),
                        .rowHeight = 16,
                        .font = font});

  GroupBox8.Create({.parent = page,
                    .bounds = {296, 196, 229, 113},
                    .caption = " Power fail shutdown parameter ",
                    .font = font});
  BuildShutdownGroup(page, GroupBox8, {CheckBox2, Label12, ComboBox3, CheckBox3},
                     {.autoSave = {32, 20, 180, kCheckHeight},
                      .typeLabel = {32, 44, 0, 0},
                      .type = {32, 60, 169, kDroppedHeight},
                      .ups = {32, 92, 180, kCheckHeight}},
                     font);

  // The cable list lies inside the series list's area, under its generic row,
  // so it stands above the series list.
  CheckListBox4.Create({.parent = page,
                        .bounds = {316, 153, 209, 36},
                        .rows = {"Tarvexi Cable", "Ombrel Adaptor"},
                        .rowHeight = 16,
                        .border = false,
                        .font = font});
  SetWindowPos(CheckListBox4.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TFormMain::BuildSchedulePage(ui::Panel& schedulePage) {
  HWND page = schedulePage.Handle();
  HFONT font = WindowFont();
  auto sink = [this](const std::string& text) { dialogs_.Error(text); };

  // The calendar draws the day markers over its cells.
  const LocalDateTime today = services_.clock.Now();
  Calendar1.Create({.parent = page,
                    .bounds = {3, 28, 367, 172},
                    .day = today.Day,
                    .month = today.Month,
                    .year = today.Year,
                    .font = fonts_.Get(calendarFont_)});
  Label15.Create({.parent = page, .bounds = {3, 6, 0, 0}, .caption = "Month", .font = font});
  ComboBox7.Create({.parent = page,
                    .bounds = {38, 2, 90, kDroppedHeight},
                    .rows = {"January", "February", "March", "April", "May", "June", "July", "August",
                             "September", "October", "November", "December"},
                    .typing = Typing::Blocked,
                    .font = font});
  Label16.Create({.parent = page, .bounds = {136, 6, 0, 0}, .caption = "Year", .font = font});
  ComboBox8.Create({.parent = page,
                    .bounds = {162, 2, 60, kDroppedHeight},
                    .rows = NumberRows(2000, 2200, false),
                    .typing = Typing::Blocked,
                    .font = font});

  Panel3.Create({.parent = page, .bounds = {374, 2, 164, 22}, .outer = ui::Bevel::Raised, .sink = sink});
  Panel3.SetCaption("Schedule Setup", fonts_.Get(boldFont_), RGB(0, 0, 255));

  GroupBox14.Create(
      {.parent = page, .bounds = {374, 26, 164, 220}, .caption = " Schedule Setup ", .font = font});
  Label23.Create({.parent = page, .bounds = GroupBox14.Inside(8, 18, 0, 0), .caption = "Hour", .font = font});
  std::vector<std::string> hours = NumberRows(1, 23, true);
  hours.push_back("00");
  ComboBox13.Create({.parent = page,
                     .bounds = GroupBox14.Inside(36, 14, 44, kDroppedHeight),
                     .kind = ComboBox::Kind::DropDown,
                     .rows = hours,
                     .maxLength = 2,
                     .typing = Typing::DigitsOnly,
                     .font = font});
  Label24.Create(
      {.parent = page, .bounds = GroupBox14.Inside(86, 18, 0, 0), .caption = "Min.", .font = font});
  ComboBox17.Create({.parent = page,
                     .bounds = GroupBox14.Inside(112, 14, 44, kDroppedHeight),
                     .kind = ComboBox::Kind::DropDown,
                     .rows = NumberRows(0, 59, true),
                     .maxLength = 2,
                     .typing = Typing::DigitsOnly,
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
  for (ui::Label* label : {&Label27, &Label28, &Label29}) CentreUnderMarker(*label);
  MarkerShutdown.SetColor(RGB(255, 0, 0));
  MarkerStartup.SetColor(RGB(0, 255, 0));
  MarkerTest.SetColor(RGB(0, 0, 255));
  std::vector<ui::MarkerButton*> group = {&MarkerShutdown, &MarkerStartup, &MarkerTest};
  for (ui::MarkerButton* marker : group) marker->SetGroup(group);

  ButtonApply.Create(
      {.parent = page, .bounds = GroupBox14.Inside(8, 196, 74, 22), .caption = "Apply", .font = font});
  ButtonClear.Create(
      {.parent = page, .bounds = GroupBox14.Inside(84, 196, 74, 22), .caption = "Clear", .font = font});
  ButtonViewAll.Create({.parent = page, .bounds = {374, 250, 80, 58}, .caption = "View All", .font = font});
  ButtonReset.Create({.parent = page, .bounds = {458, 250, 80, 58}, .caption = "Reset", .font = font});

  // Legend and the times of the selected day, under the calendar.
  schedulePage.AddColourBlock({4, 217, 19, 225}, RGB(255, 0, 0));
  schedulePage.AddColourBlock({4, 249, 19, 257}, RGB(0, 255, 0));
  schedulePage.AddColourBlock({4, 281, 19, 289}, RGB(0, 0, 255));
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
  BuildShutdownGroup(page, GroupBox3, {CheckBox6, Label18, ComboBox11, CheckBox8},
                     {.autoSave = {12, 18, 165, kCheckHeight},
                      .typeLabel = {12, 40, 0, 0},
                      .type = {12, 56, 160, kDroppedHeight},
                      .ups = {12, 83, 165, kCheckHeight}},
                     font);
}

void TFormMain::BuildOthersPage(ui::Panel& othersPage) {
  HWND page = othersPage.Handle();
  HFONT font = WindowFont();

  GroupBox2.Create({.parent = page, .bounds = {4, 12, 301, 93}, .caption = " Event Log ", .font = font});
  Label9.Create(
      {.parent = page, .bounds = GroupBox2.Inside(8, 28, 0, 0), .caption = "Maximum", .font = font});
  Edit3.Create({.parent = page,
                .bounds = GroupBox2.Inside(64, 24, 49, kEditHeight),
                .maxLength = 4,
                .typing = Typing::DigitsOnly,
                .font = font});
  Label30.Create(
      {.parent = page, .bounds = GroupBox2.Inside(118, 28, 0, 0), .caption = "records", .font = font});
  Label31.Create(
      {.parent = page, .bounds = GroupBox2.Inside(8, 60, 0, 0), .caption = "Location", .font = font});
  Edit4.Create({.parent = page, .bounds = GroupBox2.Inside(56, 56, 205, kEditHeight), .font = font});
  SpeedButton1.Create({.parent = page,
                       .bounds = GroupBox2.Inside(262, 56, 23, 22),
                       .caption = "...",
                       .font = fonts_.Get(browseFont_)});

  GroupBox1.Create({.parent = page, .bounds = {4, 112, 301, 117}, .caption = " Data Log ", .font = font});
  CheckBox7.Create({.parent = page,
                    .bounds = GroupBox1.Inside(12, 20, 62, kCheckHeight),
                    .caption = "Enabled",
                    .font = font});
  Edit5.Create({.parent = page,
                .bounds = GroupBox1.Inside(76, 19, 57, kEditHeight),
                .maxLength = 2,
                .typing = Typing::DigitsOnly,
                .font = font});
  Label32.Create(
      {.parent = page, .bounds = GroupBox1.Inside(138, 23, 0, 0), .caption = "days", .font = font});
  Label33.Create(
      {.parent = page, .bounds = GroupBox1.Inside(8, 55, 0, 0), .caption = "Interval time", .font = font});
  ComboBox9.Create({.parent = page,
                    .bounds = GroupBox1.Inside(76, 51, 57, kDroppedHeight),
                    .rows = {"15", "30", "45", "60", "75", "90", "105", "120", "135", "150", "165", "180"},
                    .maxLength = 3,
                    .typing = Typing::Blocked,
                    .font = font});
  Label38.Create(
      {.parent = page, .bounds = GroupBox1.Inside(138, 55, 0, 0), .caption = "second", .font = font});
  Label20.Create(
      {.parent = page, .bounds = GroupBox1.Inside(8, 87, 0, 0), .caption = "Location", .font = font});
  Edit6.Create({.parent = page, .bounds = GroupBox1.Inside(56, 83, 205, kEditHeight), .font = font});
  SpeedButton2.Create({.parent = page,
                       .bounds = GroupBox1.Inside(262, 83, 23, 22),
                       .caption = "...",
                       .font = fonts_.Get(browseFont_)});

  Label14.Create({.parent = page, .bounds = {316, 0, 0, 0}, .caption = "Select Language", .font = font});
  CheckListBox2.Create({.parent = page, .bounds = {316, 16, 217, 293}, .rowHeight = 16, .font = font});
}
