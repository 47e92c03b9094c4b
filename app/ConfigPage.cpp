// Showing the settings in the controls, and the rules that tie controls together.
#include <optional>
#include <string>

#include "app/SeriesRows.h"
#include "app/TFormMain.h"

void TFormMain::ShowConfigPage() {
  const TINI& ini = *settings_;
  ComboBox1.SetItemIndex(ini.UPSPORT - 1);
  CheckBox4.SetChecked(ini.RUN_STARTUP_STATUS);
  Edit1.SetText(std::to_string(ini.OVERLOAD_SHUTDOWN_TIME));
  UpDown1.SetPosition(ini.OVERLOAD_SHUTDOWN_TIME);
  CheckBox1.SetChecked(ini.OVERLOAD_SHUTDOWN_STATUS);
  EnableOverloadFields(CheckBox1.Checked());

  CheckListBox1.TickOnly(SeriesRowOfCode(ini.UPSTYPE));
  CheckListBox4.TickOnly(ini.UPSCABLE);

  CheckBox9.SetChecked(ini.POWERFAIL_SHUTDOWN_STATUS);
  CheckBox11.SetChecked(ini.RUNTIME_ZERO_SHUTDOWN_STATUS);
  Edit2.SetText(std::to_string(ini.BACKUP_TIME));
  UpDown2.SetPosition(ini.BACKUP_TIME);

  CheckBox2.SetChecked(ini.POWERFAIL_AUTO_SAVE);
  ComboBox3.SetItemIndex(ini.POWERFAIL_SHUTDOWN_TYPE);
  CheckBox3.SetChecked(ini.POWERFAIL_SHUTDOWN_UPS);
  module_.ADateTime1.Update();
}

void TFormMain::ShowScheduleSetup() {
  const TINI& ini = *settings_;
  CheckBox6.SetChecked(ini.SCHEDULE_AUTO_SAVE);
  ComboBox11.SetItemIndex(ini.SCHEDULE_SHUTDOWN_TYPE);
  CheckBox8.SetChecked(ini.SCHEDULE_SHUTDOWN_UPS);
  TADateTime& date = module_.ADateTime1;
  date.Update();
  ComboBox7.SetItemIndex(date.AMonthNow - 1);
  ComboBox8.SetItemIndex(ComboBox8.IndexOf(std::to_string(date.AYearNow)));
  ComboBox13.SetItemIndex(ComboBox13.IndexOf(TwoDigits(ini.LAST_SCHEDULE_SETUP_HOUR)));
  ComboBox17.SetItemIndex(ComboBox17.IndexOf(TwoDigits(ini.LAST_SCHEDULE_SETUP_MINUTE)));
  CheckBox10.SetChecked(ini.LAST_SCHEDULE_WARNING);
  CheckBox5.SetChecked(ini.LAST_SCHEDULE_CURRENT_DAY_SCHEDULE);
  EnableWeekdayList(!CheckBox5.Checked());

  switch (ini.LAST_SCHEDULE_SETUP_BUTTON) {
    case 0:
      for (ui::MarkerButton* marker : {&MarkerShutdown, &MarkerStartup, &MarkerTest}) marker->SetDown(false);
      break;
    case 1:
      MarkerShutdown.SetDown(true);
      break;
    case 2:
      MarkerStartup.SetDown(true);
      break;
    case 3:
      MarkerTest.SetDown(true);
      break;
    default:
      break;
  }

  const bool days[] = {ini.LAST_SCHEDULE_SUNDAY,    ini.LAST_SCHEDULE_MONDAY,   ini.LAST_SCHEDULE_TUESDAY,
                       ini.LAST_SCHEDULE_WEDNESDAY, ini.LAST_SCHEDULE_THURSDAY, ini.LAST_SCHEDULE_FRIDAY,
                       ini.LAST_SCHEDULE_SATURDAY};
  for (int row = 0; row < 7; ++row) CheckListBox3.SetChecked(row, days[row]);
}

void TFormMain::ShowOthersPage() {
  const TINI& ini = *settings_;
  Edit3.SetText(std::to_string(ini.EVENTLOG_RECORD));
  Edit4.SetText(ini.EVENTLOG_LOCATION);
  CheckBox7.SetChecked(ini.DATALOG_STATUS);
  Edit5.SetText(std::to_string(ini.DATALOG_DAY));
  ComboBox9.SetItemIndex(ComboBox9.IndexOf(std::to_string(ini.DATALOG_INTERVAL)));
  Edit6.SetText(ini.DATALOG_LOCATION);
  for (int row = 0; row < CheckListBox2.Count(); ++row)
    CheckListBox2.SetChecked(row, CheckListBox2.RowText(row) == ini.LANGUAGE);
}

// The generic series (dry contact) and any unknown code switch off what a
// dry contact cannot do; the others switch it on again.
void TFormMain::ApplySeriesRules(int code) {
  ApplySeriesRulesToConfigPage(code);
  if (laterPagesMade_) ApplySeriesRulesToLaterPages(code);
}

namespace {

bool IsGenericSeries(int code) {
  return code != 0 && code != 1 && code != 3;
}

}  // namespace

void TFormMain::ApplySeriesRulesToConfigPage(int code) {
  const bool generic = IsGenericSeries(code);
  CheckBox1.SetEnabled(!generic);
  EnableOverloadFields(!generic && CheckBox1.Checked());
  CheckBox11.SetEnabled(!generic);
  CheckListBox4.SetEnabled(generic);
  if (!generic) return;
  CheckBox3.SetChecked(false);
  CheckBox9.SetChecked(true);
  if (!CheckListBox4.Checked(1)) CheckListBox4.SetChecked(0, true);
}

// The marker buttons of the events a series cannot run, their labels, the
// schedule's "Shutdown UPS" box and the data log.
void TFormMain::ApplySeriesRulesToLaterPages(int code) {
  const bool generic = IsGenericSeries(code);
  const bool testable = code == 0;
  MarkerStartup.SetEnabled(!generic);
  if (generic) MarkerStartup.SetDown(false);
  MarkerStartup.SetColor(generic ? ui::MarkerButton::kButtonFace : RGB(0, 255, 0));
  Label28.SetEnabled(!generic);
  if (!testable) MarkerTest.SetDown(false);
  MarkerTest.SetEnabled(testable);
  MarkerTest.SetColor(testable ? RGB(0, 0, 255) : ui::MarkerButton::kButtonFace);
  Label29.SetEnabled(testable);
  if (generic) CheckBox8.SetChecked(false);
  CheckBox7.SetEnabled(!generic);
  CheckBox7.SetChecked(!generic && settings_->DATALOG_STATUS);
  EnableDataLogFields(CheckBox7.Checked());
}

void TFormMain::EnableOverloadFields(bool on) {
  Edit1.SetEnabled(on);
  UpDown1.SetEnabled(on);
  Label3.SetEnabled(on);
}

void TFormMain::EnableDataLogFields(bool on) {
  for (ui::Control* control : std::initializer_list<ui::Control*>{
           &Edit5, &Edit6, &ComboBox9, &Label32, &Label33, &Label20, &Label38, &SpeedButton2})
    control->SetEnabled(on);
}

void TFormMain::EnableWeekdayList(bool on) {
  CheckListBox3.SetEnabled(on);
}

// Also the reaction of both "Shutdown UPS" boxes. A disabled overload box (the
// generic series) keeps its minutes disabled whatever its tick.
void TFormMain::CheckBox1Click() {
  EnableOverloadFields(CheckBox1.Checked() && CheckBox1.Enabled());
}

void TFormMain::CheckBox5Click() {
  EnableWeekdayList(!CheckBox5.Checked());
}

void TFormMain::CheckBox7Click() {
  EnableDataLogFields(CheckBox7.Checked());
}

void TFormMain::CheckBox9Click() {
  if (CheckBox9.Checked()) {
    CheckBox11.SetChecked(false);
    Edit2.SetEnabled(true);
    UpDown2.SetEnabled(true);
    Label10.SetEnabled(true);
  } else {
    CheckBox11.SetChecked(true);
  }
}

void TFormMain::CheckBox11Click() {
  if (CheckBox11.Checked()) {
    CheckBox9.SetChecked(false);
    Edit2.SetEnabled(false);
    UpDown2.SetEnabled(false);
    Label10.SetEnabled(false);
  } else {
    CheckBox9.SetChecked(true);
  }
}

// With no row ticked (the user removed the only tick) the rules of the
// previous series stay in force.
void TFormMain::CheckListBox1ClickCheck(int selected) {
  CheckListBox1.UntickAllBut(selected);
  if (std::optional<int> code = TickedSeriesCode()) ApplySeriesRules(*code);
}

std::optional<int> TFormMain::TickedSeriesCode() const {
  for (int row = 0; row < static_cast<int>(kSeriesRows.size()); ++row)
    if (CheckListBox1.Checked(row)) return kSeriesRows[row].code;
  return std::nullopt;
}

void TFormMain::CheckListBox2ClickCheck(int selected) {
  CheckListBox2.UntickAllBut(selected);
}
