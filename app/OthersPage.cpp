// The Others page: its controls, how it shows the settings, the folder
// browse buttons, and what it stores at OK.
#include "app/OthersPage.h"

#include "settings/IniFile.h"
#include "util/AppError.h"

namespace rules = settings_rules;

namespace {

constexpr char kBrowsePrompt[] = "Please specific Ombrel Folder";
constexpr char kBrowseTitle[] = "Browse for Ombrel Folder";

std::string WithBackslash(const std::string& folder) {
  return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

// A whole number, or OK's failure naming the text.
int32_t StrictNumber(const std::string& text) {
  int32_t value = 0;
  if (!ParseIniInteger(text, value)) throw AppError(FormatMessageText("'%s' is not a valid integer value", text));
  return value;
}

}  // namespace

void OthersPage::Build(ui::Panel& othersPage, const PageFonts& fonts) {
  HWND page = othersPage.Handle();
  HFONT font = fonts.window;

  GroupBox2.Create({.parent = page, .bounds = {4, 12, 301, 93}, .caption = " Event Log ", .font = font});
  Label9.Create(
      {.parent = page, .bounds = GroupBox2.Inside(8, 28, 0, 0), .caption = "Maximum", .font = font});
  Edit3.Create({.parent = page,
                .bounds = GroupBox2.Inside(64, 24, 49, kEditHeight),
                .maxLength = rules::kEventLogRecords.maxDigits,
                .typing = ui::Typing::DigitsOnly,
                .font = font});
  Label30.Create(
      {.parent = page, .bounds = GroupBox2.Inside(118, 28, 0, 0), .caption = "records", .font = font});
  Label31.Create(
      {.parent = page, .bounds = GroupBox2.Inside(8, 60, 0, 0), .caption = "Location", .font = font});
  Edit4.Create({.parent = page, .bounds = GroupBox2.Inside(56, 56, 205, kEditHeight), .font = font});
  SpeedButton1.Create(
      {.parent = page, .bounds = GroupBox2.Inside(262, 56, 23, 22), .caption = "...", .font = fonts.browse});

  GroupBox1.Create({.parent = page, .bounds = {4, 112, 301, 117}, .caption = " Data Log ", .font = font});
  CheckBox7.Create({.parent = page,
                    .bounds = GroupBox1.Inside(12, 20, 62, kCheckHeight),
                    .caption = "Enabled",
                    .font = font});
  Edit5.Create({.parent = page,
                .bounds = GroupBox1.Inside(76, 19, 57, kEditHeight),
                .maxLength = rules::kDataLogDays.maxDigits,
                .typing = ui::Typing::DigitsOnly,
                .font = font});
  Label32.Create(
      {.parent = page, .bounds = GroupBox1.Inside(138, 23, 0, 0), .caption = "days", .font = font});
  Label33.Create(
      {.parent = page, .bounds = GroupBox1.Inside(8, 55, 0, 0), .caption = "Interval time", .font = font});
  const rules::ListedValue& intervals = rules::DataLogIntervalList();
  ComboBox9.Create({.parent = page,
                    .bounds = GroupBox1.Inside(76, 51, 57, kDroppedHeight),
                    .rows = NumberRows({intervals.rows.begin(), intervals.rows.end()}, false),
                    .maxLength = 3,
                    .typing = ui::Typing::Blocked,
                    .font = font});
  Label38.Create(
      {.parent = page, .bounds = GroupBox1.Inside(138, 55, 0, 0), .caption = "second", .font = font});
  Label20.Create(
      {.parent = page, .bounds = GroupBox1.Inside(8, 87, 0, 0), .caption = "Location", .font = font});
  Edit6.Create({.parent = page, .bounds = GroupBox1.Inside(56, 83, 205, kEditHeight), .font = font});
  SpeedButton2.Create(
      {.parent = page, .bounds = GroupBox1.Inside(262, 83, 23, 22), .caption = "...", .font = fonts.browse});

  Label14.Create({.parent = page, .bounds = {316, 0, 0, 0}, .caption = "Select Language", .font = font});
  CheckListBox2.Create({.parent = page, .bounds = {316, 16, 217, 293}, .rowHeight = 16, .font = font});
  for (ui::Group* group : {&GroupBox2, &GroupBox1}) group->PlaceBeneathSiblings();
}

std::vector<ui::Control*> OthersPage::KeyboardOrder() {
  return {&Edit3, &Edit4, &CheckBox7, &Edit5, &ComboBox9, &Edit6, &CheckListBox2};
}

void OthersPage::ApplyLanguage(const TINI_LANGUAGE& t) {
  SetIfOther(GroupBox2, t.EVENT_LOG);
  SetIfOther(Label9, t.MAXIMUM);
  SetIfOther(Label30, t.RECORDS);
  SetIfOther(Label31, t.LOCATION);
  SetIfOther(GroupBox1, t.DATA_LOG);
  SetIfOther(CheckBox7, t.ENABLED);
  SetIfOther(Label32, t.DAYS);
  SetIfOther(Label33, t.INTERVAL_TIME);
  SetIfOther(Label38, t.SECONDS);
  SetIfOther(Label20, t.LOCATION);
  SetIfOther(Label14, t.SELECT_LANGUAGE);
}

void OthersPage::FillLanguageList(const std::vector<std::string>& languages) {
  CheckListBox2.SetRows(languages);
  CheckListBox2.Sort();
}

void OthersPage::Show(const TINI& ini) {
  Edit3.SetText(std::to_string(ini.EVENTLOG_RECORD));
  Edit4.SetText(ini.EVENTLOG_LOCATION);
  CheckBox7.SetChecked(ini.DATALOG_STATUS);
  Edit5.SetText(std::to_string(ini.DATALOG_DAY));
  ComboBox9.SetItemIndex(rules::RowOf(rules::DataLogIntervalList(), ini.DATALOG_INTERVAL).value_or(-1));
  Edit6.SetText(ini.DATALOG_LOCATION);
  for (int row = 0; row < CheckListBox2.Count(); ++row)
    CheckListBox2.SetChecked(row, CheckListBox2.RowText(row) == ini.LANGUAGE);
}

void OthersPage::ApplySeriesRules(const rules::SeriesRules& series, bool storedDataLog) {
  CheckBox7.SetEnabled(series.dataLog);
  CheckBox7.SetChecked(series.dataLog && storedDataLog);
  EnableDataLogFields(CheckBox7.Checked());
}

void OthersPage::Store(TINI& ini) const {
  ini.EVENTLOG_RECORD = StrictNumber(Edit3.Text());
  ini.EVENTLOG_LOCATION = Edit4.Text();
  ini.DATALOG_STATUS = CheckBox7.Checked();
  ini.DATALOG_DAY = StrictNumber(Edit5.Text());
  ini.DATALOG_INTERVAL = StrictNumber(ComboBox9.Text());
  ini.DATALOG_LOCATION = Edit6.Text();
  for (int row = 0; row < CheckListBox2.Count(); ++row)
    if (CheckListBox2.Checked(row)) ini.LANGUAGE = CheckListBox2.RowText(row);
}

void OthersPage::EnableDataLogFields(bool on) {
  for (ui::Control* control : std::initializer_list<ui::Control*>{
           &Edit5, &Edit6, &ComboBox9, &Label32, &Label33, &Label20, &Label38, &SpeedButton2})
    control->SetEnabled(on);
}

void OthersPage::CheckBox7Click() {
  EnableDataLogFields(CheckBox7.Checked());
}

void OthersPage::CheckListBox2ClickCheck(int selected) {
  CheckListBox2.UntickAllBut(selected);
}

void OthersPage::SpeedButton1Click() {
  if (std::optional<std::string> folder = dialogs_.BrowseForFolder(kBrowsePrompt, kBrowseTitle))
    Edit4.SetText(WithBackslash(*folder) + "EVENTLOG.TXT");
}

void OthersPage::SpeedButton2Click() {
  if (std::optional<std::string> folder = dialogs_.BrowseForFolder(kBrowsePrompt, kBrowseTitle))
    Edit6.SetText(WithBackslash(*folder));
}
