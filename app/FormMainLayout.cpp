// The controls of the main window: places, sizes, built-in texts, rows and limits.
#include "app/TFormMain.h"

namespace {

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

}  // namespace

void TFormMain::BuildControls() {
  HWND window = Handle();
  HFONT font = font_.Get();
  auto sink = [this](const std::string& text) { services_.dialogs.Error(text); };

  Panel1.Create(window, {0, 0, 549, 65}, ui::Bevel::Raised, ui::Bevel::None, 2, sink);
  PageControl1.Create(window, {0, 64, 549, 341}, font, sink);
  ui::Panel& configPage = PageControl1.AddPage("Ombrel Configurations");
  ui::Panel& schedulePage = PageControl1.AddPage("Schedule Setup");
  ui::Panel& othersPage = PageControl1.AddPage("Others");
  Panel2.Create(window, {0, 405, 549, 37}, ui::Bevel::Raised, ui::Bevel::Lowered, 2, sink);
  ButtonOK.Create(Panel2.Handle(), {92, 6, 81, 25}, "OK", font);
  ButtonCancel.Create(Panel2.Handle(), {372, 6, 81, 25}, "Cancel", font);

  Note("frame controls");
  BuildConfigPage(configPage);
  Note("configuration page");
  BuildSchedulePage(schedulePage);
  Note("schedule page");
  BuildOthersPage(othersPage);
  Note("others page");
  PageControl1.SetActive(0);
  for (ui::Group* group : {&GroupBox7, &GroupBox8, &GroupBox14, &GroupBox3, &GroupBox2, &GroupBox1})
    group->PlaceBeneathSiblings();

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
  HFONT font = font_.Get();
  using Kind = ui::ComboBox::Kind;

  Label1.Create(page, {8, 12, 0, 0}, "UPS Communication Port", font);
  ComboBox1.Create(page, {136, 8, 65, kDroppedHeight}, Kind::DropDownList,
                   {"COM 1", "COM 2", "COM 3", "COM 4", "COM 5", "COM 6", "COM 7", "COM 8"}, font);
  ComboBox1.BlockTyping();
  CheckBox4.Create(page, {8, 48, 257, kCheckHeight}, "Run Ombrel when startup ", font);

  GroupBox7.Create(page, {4, 84, 277, 125}, " Shutdown computer  when ", font);
  CheckBox1.Create(page, GroupBox7.Inside(12, 24, 130, kCheckHeight), "Overload Shutdown in", font);
  Edit1.Create(page, GroupBox7.Inside(144, 20, 37, kEditHeight), 2, true, font);
  UpDown1.Create(page, GroupBox7.Inside(181, 20, 15, kEditHeight), 0, 10, 0);
  Label3.Create(page, GroupBox7.Inside(198, 26, 0, 0), "Minutes", font);
  CheckBox9.Create(page, GroupBox7.Inside(12, 58, 86, kCheckHeight), "Power fail for ", font);
  Edit2.Create(page, GroupBox7.Inside(100, 56, 37, kEditHeight), 2, true, font);
  UpDown2.Create(page, GroupBox7.Inside(137, 56, 15, kEditHeight), 1, 99, 5);
  Label10.Create(page, GroupBox7.Inside(156, 60, 0, 0), "minutes", font);
  CheckBox11.Create(page, GroupBox7.Inside(12, 80, 257, kCheckHeight), "Recommended backup time = 0 minute",
                    font);
  Label8.Create(page, GroupBox7.Inside(8, 100, 0, 0), "And Computer will shutdown when low battery",
                boldFont_.Get());
  Label8.SetTextColor(RGB(255, 0, 0));

  ButtonAutoDetect.Create(page, {296, 5, 101, 64}, "Auto Detect UPS", font);
  Label13.Create(page, {296, 72, 0, 0}, "Tarvexi UPS Series", font);
  CheckListBox1.Create(page, {296, 89, 233, 104},
                       {"QZ series", "Velto series", "Soranthe series", "Generic Series [ Dry contact ]"}, 16,
                       true, font);

  GroupBox8.Create(page, {296, 196, 229, 113}, " Power fail shutdown parameter ", font);
  CheckBox2.Create(page, GroupBox8.Inside(32, 20, 180, kCheckHeight), "Auto-Save Applications", font);
  Label12.Create(page, GroupBox8.Inside(32, 44, 0, 0), "Shutdown computer type", font);
  ComboBox3.Create(page, GroupBox8.Inside(32, 60, 169, kDroppedHeight), Kind::DropDownList, kShutdownTypes,
                   font);
  ComboBox3.BlockTyping();
  CheckBox3.Create(page, GroupBox8.Inside(32, 92, 180, kCheckHeight), "Shutdown UPS", font);

  // The cable list lies inside the series list's area, under its generic row,
  // so it stands above the series list.
  CheckListBox4.Create(page, {316, 153, 209, 36}, {"Tarvexi Cable", "Ombrel Adaptor"}, 16, false, font);
  SetWindowPos(CheckListBox4.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TFormMain::BuildSchedulePage(ui::Panel& schedulePage) {
  HWND page = schedulePage.Handle();
  HFONT font = font_.Get();
  using Kind = ui::ComboBox::Kind;
  auto sink = [this](const std::string& text) { services_.dialogs.Error(text); };

  LocalDateTime today = services_.clock.Now();
  Calendar1.Create({.parent = page, .bounds = {3, 28, 367, 172}, .day = today.Day, .month = today.Month, .year = today.Year, .font = font});
  Label15.Create(page, {3, 6, 0, 0}, "Month", font);
  ComboBox7.Create(page, {38, 2, 90, kDroppedHeight}, Kind::DropDownList,
                   {"January", "February", "March", "April", "May", "June", "July", "August", "September",
                    "October", "November", "December"},
                   font);
  ComboBox7.BlockTyping();
  Label16.Create(page, {136, 6, 0, 0}, "Year", font);
  ComboBox8.Create(page, {162, 2, 60, kDroppedHeight}, Kind::DropDownList, NumberRows(2000, 2200, false),
                   font);
  ComboBox8.BlockTyping();

  Panel3.Create(page, {374, 2, 164, 22}, ui::Bevel::Raised, ui::Bevel::None, 1, sink);
  Panel3.SetCaption("Schedule Setup", boldFont_.Get(), RGB(0, 0, 255));

  GroupBox14.Create(page, {374, 26, 164, 220}, " Schedule Setup ", font);
  Label23.Create(page, GroupBox14.Inside(8, 18, 0, 0), "Hour", font);
  std::vector<std::string> hours = NumberRows(1, 23, true);
  hours.push_back("00");
  ComboBox13.Create(page, GroupBox14.Inside(36, 14, 44, kDroppedHeight), Kind::DropDown, hours, font);
  ComboBox13.SetMaxLength(2);
  ComboBox13.AllowDigitsOnly();
  Label24.Create(page, GroupBox14.Inside(86, 18, 0, 0), "Min.", font);
  ComboBox17.Create(page, GroupBox14.Inside(112, 14, 44, kDroppedHeight), Kind::DropDown,
                    NumberRows(0, 59, true), font);
  ComboBox17.SetMaxLength(2);
  ComboBox17.AllowDigitsOnly();
  CheckBox10.Create(page, GroupBox14.Inside(8, 42, 70, kCheckHeight), "Warning", font);
  CheckBox5.Create(page, GroupBox14.Inside(80, 42, 80, kCheckHeight), "Current Day", font);
  CheckListBox3.Create(page, GroupBox14.Inside(8, 64, 84, 130),
                       {"Sunday", "Monday", "Tuesday", "Wednday", "Thursday", "Friday", "Saturday"}, 18, true,
                       font);

  ui::Bounds markers = GroupBox14.Inside(94, 62, 67, 130);
  Panel4.Create(page, markers, ui::Bevel::Raised, ui::Bevel::None, 1, sink);
  HWND markerPanel = Panel4.Handle();
  MarkerShutdown.Create(markerPanel, {22, 4, 23, 18}, "", font);
  Label27.Create(markerPanel, {0, 24, 0, 0}, "Shutdown", font);
  MarkerStartup.Create(markerPanel, {22, 46, 23, 18}, "", font);
  Label28.Create(markerPanel, {0, 66, 0, 0}, "StartUp", font);
  MarkerTest.Create(markerPanel, {22, 88, 23, 18}, "", font);
  Label29.Create(markerPanel, {0, 108, 0, 0}, "TestUPS", font);
  for (ui::Label* label : {&Label27, &Label28, &Label29}) {
    ui::Bounds place = label->Place();
    SetWindowPos(label->Handle(), nullptr, (markers.width - place.width) / 2, place.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  MarkerShutdown.SetColor(RGB(255, 0, 0));
  MarkerStartup.SetColor(RGB(0, 255, 0));
  MarkerTest.SetColor(RGB(0, 0, 255));
  std::vector<ui::MarkerButton*> group = {&MarkerShutdown, &MarkerStartup, &MarkerTest};
  for (ui::MarkerButton* marker : group) marker->SetGroup(group);

  ButtonApply.Create(page, GroupBox14.Inside(8, 196, 74, 22), "Apply", font);
  ButtonClear.Create(page, GroupBox14.Inside(84, 196, 74, 22), "Clear", font);
  ButtonViewAll.Create(page, {374, 250, 80, 58}, "View All", font);
  ButtonReset.Create(page, {458, 250, 80, 58}, "Reset", font);

  // Legend and the times of the selected day, under the calendar.
  schedulePage.AddColourBlock({4, 217, 19, 225}, RGB(255, 0, 0));
  schedulePage.AddColourBlock({4, 249, 19, 257}, RGB(0, 255, 0));
  schedulePage.AddColourBlock({4, 281, 19, 289}, RGB(0, 0, 255));
  Label17.Create(page, {24, 213, 0, 0}, "Shutdown Time :", font);
  Label4.Create(page, {24, 245, 0, 0}, "StartUp Time     :", font);
  Label7.Create(page, {24, 277, 0, 0}, "TestUPS Time   :", font);
  Label2.Create(page, {108, 213, 70, 13}, "", font);
  Label19.Create(page, {108, 245, 70, 13}, "", font);
  Label21.Create(page, {108, 277, 70, 13}, "", font);

  GroupBox3.Create(page, {184, 204, 185, 105}, " Shutdown computer parameter ", font);
  CheckBox6.Create(page, GroupBox3.Inside(12, 18, 165, kCheckHeight), "Auto-Save Applications", font);
  Label18.Create(page, GroupBox3.Inside(12, 40, 0, 0), "Shutdown computer type", font);
  ComboBox11.Create(page, GroupBox3.Inside(12, 56, 160, kDroppedHeight), Kind::DropDownList, kShutdownTypes,
                    font);
  ComboBox11.BlockTyping();
  CheckBox8.Create(page, GroupBox3.Inside(12, 83, 165, kCheckHeight), "Shutdown UPS", font);
}

void TFormMain::BuildOthersPage(ui::Panel& othersPage) {
  HWND page = othersPage.Handle();
  HFONT font = font_.Get();

  GroupBox2.Create(page, {4, 12, 301, 93}, " Event Log ", font);
  Label9.Create(page, GroupBox2.Inside(8, 28, 0, 0), "Maximum", font);
  Edit3.Create(page, GroupBox2.Inside(64, 24, 49, kEditHeight), 4, true, font);
  Label30.Create(page, GroupBox2.Inside(118, 28, 0, 0), "records", font);
  Label31.Create(page, GroupBox2.Inside(8, 60, 0, 0), "Location", font);
  Edit4.Create(page, GroupBox2.Inside(56, 56, 205, kEditHeight), 0, false, font);
  SpeedButton1.Create(page, GroupBox2.Inside(262, 56, 23, 22), "...", font);

  GroupBox1.Create(page, {4, 112, 301, 117}, " Data Log ", font);
  CheckBox7.Create(page, GroupBox1.Inside(12, 20, 62, kCheckHeight), "Enabled", font);
  Edit5.Create(page, GroupBox1.Inside(76, 19, 57, kEditHeight), 2, true, font);
  Label32.Create(page, GroupBox1.Inside(138, 23, 0, 0), "days", font);
  Label33.Create(page, GroupBox1.Inside(8, 55, 0, 0), "Interval time", font);
  ComboBox9.Create(page, GroupBox1.Inside(76, 51, 57, kDroppedHeight), ui::ComboBox::Kind::DropDownList,
                   {"15", "30", "45", "60", "75", "90", "105", "120", "135", "150", "165", "180"}, font);
  ComboBox9.BlockTyping();
  Label38.Create(page, GroupBox1.Inside(138, 55, 0, 0), "second", font);
  Label20.Create(page, GroupBox1.Inside(8, 87, 0, 0), "Location", font);
  Edit6.Create(page, GroupBox1.Inside(56, 83, 205, kEditHeight), 0, false, font);
  SpeedButton2.Create(page, GroupBox1.Inside(262, 83, 23, 22), "...", font);

  Label14.Create(page, {316, 0, 0, 0}, "Select Language", font);
  CheckListBox2.Create(page, {316, 16, 217, 293}, {}, 16, true, font);
}
