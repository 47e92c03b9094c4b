// The configuration page: its controls, how it shows the settings, the rules
// that tie its controls together, and what it stores at OK.
#include "app/ConfigPage.h"

#include "settings/IniFile.h"

namespace rules = settings_rules;

void ConfigPage::Build(ui::Panel& configPage, const PageFonts& fonts) {
  HWND page = configPage.Handle();
  HFONT font = fonts.window;

  Label1.Create({.parent = page, .bounds = {8, 12, 0, 0}, .caption = "UPS Communication Port", .font = font});
  ComboBox1.Create({.parent = page,
                    .bounds = {136, 8, 65, kDroppedHeight},
                    .rows = {"COM 1", "COM 2", "COM 3", "COM 4", "COM 5", "COM 6", "COM 7", "COM 8"},
                    .typing = ui::Typing::Blocked,
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
                .maxLength = rules::kOverloadMinutes.maxDigits,
                .typing = ui::Typing::DigitsOnly,
                .font = font});
  UpDown1.Create({.parent = page,
                  .bounds = GroupBox7.Inside(181, 20, 15, kEditHeight),
                  .minimum = rules::kOverloadSpinner.minimum,
                  .maximum = rules::kOverloadSpinner.maximum,
                  .position = rules::kOverloadSpinner.start});
  Label3.Create(
      {.parent = page, .bounds = GroupBox7.Inside(198, 26, 0, 0), .caption = "Minutes", .font = font});
  CheckBox9.Create({.parent = page,
                    .bounds = GroupBox7.Inside(12, 58, 88, kCheckHeight),  // up to the minutes field
                    .caption = "Power fail for ",
                    .font = font});
  Edit2.Create({.parent = page,
                .bounds = GroupBox7.Inside(100, 56, 37, kEditHeight),
                .maxLength = rules::kBackupMinutes.maxDigits,
                .typing = ui::Typing::DigitsOnly,
                .font = font});
  UpDown2.Create({.parent = page,
                  .bounds = GroupBox7.Inside(137, 56, 15, kEditHeight),
                  .minimum = rules::kBackupSpinner.minimum,
                  .maximum = rules::kBackupSpinner.maximum,
                  .position = rules::kBackupSpinner.start});
  Label10.Create(
      {.parent = page, .bounds = GroupBox7.Inside(156, 60, 0, 0), .caption = "minutes", .font = font});
  CheckBox11.Create({.parent = page,
                     .bounds = GroupBox7.Inside(12, 80, 257, kCheckHeight),
                     .caption = "Recommended backup time = 0 minute",
                     .font = font});
  Label8.Create({.parent = page,
                 .bounds = GroupBox7.Inside(8, 100, 0, 0),
                 .caption = "And Computer will shutdown when low battery",
                 .font = fonts.bold});
  Label8.SetTextColor(RGB(255, 0, 0));

  ButtonAutoDetect.Create(
      {.parent = page, .bounds = {296, 5, 101, 64}, .caption = "Auto Detect UPS", .font = font});
  Label13.Create({.parent = page, .bounds = {296, 72, 0, 0}, .caption = "Tarvexi UPS Series", .font = font});
  CheckListBox1.Create({.parent = page,
                        .bounds = {296, 89, 233, 104},
                        .rows = rules::SeriesCaptions(),
                        .rowHeight = 16,
                        .font = font});

  GroupBox8.Create({.parent = page,
                    .bounds = {296, 196, 229, 113},
                    .caption = " Power fail shutdown parameter ",
                    .font = font});
  PowerFailGroup().Build(page, GroupBox8,
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
  for (ui::Group* group : {&GroupBox7, &GroupBox8}) group->PlaceBeneathSiblings();
}

std::vector<ui::Control*> ConfigPage::KeyboardOrder() {
  return {&ComboBox1, &CheckBox4, &CheckBox1, &Edit1,     &CheckBox9, &Edit2,
          &CheckBox11, &CheckListBox1, &CheckBox2, &ComboBox3, &CheckBox3, &CheckListBox4};
}

void ConfigPage::ApplyLanguage(const TINI_LANGUAGE& t) {
  SetIfOther(Label1, t.UPS_COMMUNICATION_PORT);
  SetIfOther(ComboBox1, {t.COM_1, t.COM_2, t.COM_3, t.COM_4, t.COM_5, t.COM_6, t.COM_7, t.COM_8});
  SetIfOther(CheckBox4, t.RUN_OMBREL_WHEN_STARTUP);
  SetIfOther(GroupBox7, t.SHUTDOWN_COMPUTER_WHEN);
  SetIfOther(CheckBox1, t.OVERLOAD_SHUTDOWN_IN);
  SetIfOther(ButtonAutoDetect, t.AUTO_DETECT_UPS);
  SetIfOther(Label3, t.MINUTES);
  SetIfOther(CheckBox9, t.POWER_FAIL_FOR);
  SetIfOther(Label10, t.MINUTES);
  SetIfOther(CheckBox11, t.RECOMMENDED_BACKUP_TIME_0_MINUTE);
  SetIfOther(Label8, t.AND_COMPUTER_WILL_SHUTDOWN_WHEN_LOW_BATTERY);
  SetIfOther(Label13, t.TARVEXI_UPS_SERIES);
  SetRowTexts(CheckListBox1, {t.QZ_SERIES, t.VELTO_SERIES, t.SORANTHE_SERIES, t.GENERIC_SERIES});
  SetRowTexts(CheckListBox4, {t.CABLE_KR404D, t.OMBREL_ADAPTOR});
  SetIfOther(GroupBox8, t.POWER_FAIL_SHUTDOWN_PARAMETER);
  PowerFailGroup().ApplyLanguage(t);
}

void ConfigPage::NameSpinners(const TINI_LANGUAGE& t) {
  UpDown1.SetText(t.OVERLOAD_SHUTDOWN_IN);
  UpDown2.SetText(t.POWER_FAIL_FOR);
}

void ConfigPage::Show(const TINI& ini) {
  ComboBox1.SetItemIndex(rules::RowOf(rules::PortList(), ini.UPSPORT).value_or(-1));
  CheckBox4.SetChecked(ini.RUN_STARTUP_STATUS);
  Edit1.SetText(std::to_string(ini.OVERLOAD_SHUTDOWN_TIME));
  UpDown1.SetPosition(ini.OVERLOAD_SHUTDOWN_TIME);
  CheckBox1.SetChecked(ini.OVERLOAD_SHUTDOWN_STATUS);
  EnableOverloadFields(CheckBox1.Checked());

  CheckListBox1.TickOnly(rules::SeriesRowOfCode(ini.UPSTYPE).value_or(-1));
  CheckListBox4.TickOnly(ini.UPSCABLE);

  CheckBox9.SetChecked(ini.POWERFAIL_SHUTDOWN_STATUS);
  CheckBox11.SetChecked(ini.RUNTIME_ZERO_SHUTDOWN_STATUS);
  Edit2.SetText(std::to_string(ini.BACKUP_TIME));
  UpDown2.SetPosition(ini.BACKUP_TIME);

  CheckBox2.SetChecked(ini.POWERFAIL_AUTO_SAVE);
  ComboBox3.SetItemIndex(rules::RowOf(rules::PowerFailTypeList(), ini.POWERFAIL_SHUTDOWN_TYPE).value_or(-1));
  CheckBox3.SetChecked(ini.POWERFAIL_SHUTDOWN_UPS);
}

// The red shutdown marker and the cable's tick are never changed here; what
// the generic series unticks stays so when another series is chosen.
void ConfigPage::ApplySeriesRules(const rules::SeriesRules& series) {
  CheckBox1.SetEnabled(series.overload);
  EnableOverloadFields(series.overload && CheckBox1.Checked());
  CheckBox11.SetEnabled(series.runtimeZero);
  CheckListBox4.SetEnabled(series.cableChoice);
  if (series.shutdownUpsOff) CheckBox3.SetChecked(false);
  if (series.powerFailOn) CheckBox9.SetChecked(true);
  if (series.cableChoice && !CheckListBox4.Checked(rules::kOmbrelAdaptor))
    CheckListBox4.SetChecked(rules::kTarvexiCable, true);
}

void ConfigPage::EnableOverloadFields(bool on) {
  Edit1.SetEnabled(on);
  UpDown1.SetEnabled(on);
  Label3.SetEnabled(on);
}

bool ConfigPage::MinutesAreWholeNumbers() const {
  int32_t minutes = 0;
  return ParseIniInteger(Edit1.Text(), minutes) && ParseIniInteger(Edit2.Text(), minutes);
}

void ConfigPage::Store(TINI& ini) const {
  auto rowValue = [](const rules::ListedValue& list, int row) {
    return row >= 0 && row < static_cast<int>(list.rows.size()) ? list.rows[row] : -1;
  };
  ini.UPSPORT = ComboBox1.ItemIndex() + 1;
  ini.RUN_STARTUP_STATUS = CheckBox4.Checked();
  ini.OVERLOAD_SHUTDOWN_STATUS = CheckBox1.Checked();
  ParseIniInteger(Edit1.Text(), ini.OVERLOAD_SHUTDOWN_TIME);
  ini.POWERFAIL_SHUTDOWN_STATUS = CheckBox9.Checked();
  ini.RUNTIME_ZERO_SHUTDOWN_STATUS = CheckBox11.Checked();
  ParseIniInteger(Edit2.Text(), ini.BACKUP_TIME);
  ini.UPSTYPE = TickedSeriesCode().value_or(ini.UPSTYPE);
  ini.UPSCABLE = rules::StoredCable(CheckListBox4.Checked(rules::kTarvexiCable), CheckListBox4.Checked(rules::kOmbrelAdaptor));
  ini.POWERFAIL_AUTO_SAVE = CheckBox2.Checked();
  ini.POWERFAIL_SHUTDOWN_TYPE = rowValue(rules::PowerFailTypeList(), ComboBox3.ItemIndex());
  ini.POWERFAIL_SHUTDOWN_UPS = CheckBox3.Checked();
}

// A disabled overload box (the generic series) keeps its minutes disabled
// whatever its tick.
void ConfigPage::CheckBox1Click() {
  EnableOverloadFields(CheckBox1.Checked() && CheckBox1.Enabled());
}

void ConfigPage::CheckBox9Click() {
  if (!CheckBox9.Checked()) {
    CheckBox11.SetChecked(true);
    return;
  }
  CheckBox11.SetChecked(false);
  for (ui::Control* control : std::initializer_list<ui::Control*>{&Edit2, &UpDown2, &Label10})
    control->SetEnabled(true);
}

void ConfigPage::CheckBox11Click() {
  if (!CheckBox11.Checked()) {
    CheckBox9.SetChecked(true);
    return;
  }
  CheckBox9.SetChecked(false);
  for (ui::Control* control : std::initializer_list<ui::Control*>{&Edit2, &UpDown2, &Label10})
    control->SetEnabled(false);
}

// With no row ticked (the user removed the only tick) the rules of the
// previous series stay in force.
void ConfigPage::CheckListBox1ClickCheck(int selected) {
  CheckListBox1.UntickAllBut(selected);
  if (std::optional<int> code = TickedSeriesCode(); code && OnSeriesChosen) OnSeriesChosen(*code);
}

std::optional<int> ConfigPage::TickedSeriesCode() const {
  const auto series = rules::SeriesRows();
  for (int row = 0; row < static_cast<int>(series.size()); ++row)
    if (CheckListBox1.Checked(row)) return series[row].code;
  return std::nullopt;
}

void ConfigPage::CheckListBox4ClickCheck(int selected) {
  CheckListBox4.UntickAllBut(selected);
}

void ConfigPage::UpDown1Click(int position) {
  Edit1.SetText(std::to_string(position));
}

void ConfigPage::UpDown2Click(int position) {
  Edit2.SetText(std::to_string(position));
}

void ConfigPage::ComboBox3Change(const IPowerCapabilities* power) {
  if (stores_.language) PowerFailGroup().TypeChanged(dialogs_, *stores_.language, power);
}
