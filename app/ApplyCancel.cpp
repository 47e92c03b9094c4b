// OK writes the settings, the schedule and the registry values; Cancel discards.
#include <cstdint>
#include <string>

#include "app/TFormMain.h"
#include "settings/IniFile.h"
#include "settings/SaveOrder.h"
#include "util/AppError.h"

namespace {

// A whole number, or a failure naming the text.
int32_t StrictNumber(const std::string& text) {
  int32_t value = 0;
  if (!ParseIniInteger(text, value))
    throw AppError(FormatMessageText("'%s' is not a valid integer value", text));
  return value;
}

// A whole number, 0 when the text is empty or not a number.
int32_t LenientNumber(const std::string& text) {
  int32_t value = 0;
  return ParseIniInteger(text, value) ? value : 0;
}

}  // namespace

void TFormMain::OkClick() {
  // A start cut short left controls unfilled or the schedule unread: writing
  // them would replace what the user has with what the program never read.
  if (!StartComplete()) {
    dialogs_.Message(language_->MESSAGE_SETTINGS_NOT_SAVED);
    return;
  }
  if (!dialogs_.Confirm(language_->MESSAGE_CONFIRM_APPLY_EXIT)) return;
  int32_t overloadMinutes = 0;
  int32_t backupMinutes = 0;
  if (!ParseIniInteger(Edit1.Text(), overloadMinutes) || !ParseIniInteger(Edit2.Text(), backupMinutes))
    return;

  TINI& ini = *settings_;
  ini.UPSPORT = ComboBox1.ItemIndex() + 1;
  ini.RUN_STARTUP_STATUS = CheckBox4.Checked();
  ini.OVERLOAD_SHUTDOWN_STATUS = CheckBox1.Checked();
  ini.OVERLOAD_SHUTDOWN_TIME = overloadMinutes;
  ini.POWERFAIL_SHUTDOWN_STATUS = CheckBox9.Checked();
  ini.RUNTIME_ZERO_SHUTDOWN_STATUS = CheckBox11.Checked();
  ini.BACKUP_TIME = backupMinutes;
  ini.UPSTYPE = TickedSeriesCode().value_or(ini.UPSTYPE);
  ini.UPSCABLE = (CheckListBox4.Checked(1) && !CheckListBox4.Checked(0)) ? 1 : 0;
  ini.POWERFAIL_AUTO_SAVE = CheckBox2.Checked();
  ini.POWERFAIL_SHUTDOWN_TYPE = ComboBox3.ItemIndex();
  ini.POWERFAIL_SHUTDOWN_UPS = CheckBox3.Checked();

  ini.LAST_SCHEDULE_SETUP_HOUR = LenientNumber(ComboBox13.Text());
  ini.LAST_SCHEDULE_SETUP_MINUTE = LenientNumber(ComboBox17.Text());
  ini.LAST_SCHEDULE_WARNING = CheckBox10.Checked();
  ini.LAST_SCHEDULE_CURRENT_DAY_SCHEDULE = CheckBox5.Checked();
  bool* days[] = {&ini.LAST_SCHEDULE_SUNDAY,    &ini.LAST_SCHEDULE_MONDAY,   &ini.LAST_SCHEDULE_TUESDAY,
                  &ini.LAST_SCHEDULE_WEDNESDAY, &ini.LAST_SCHEDULE_THURSDAY, &ini.LAST_SCHEDULE_FRIDAY,
                  &ini.LAST_SCHEDULE_SATURDAY};
  for (int row = 0; row < 7; ++row) *days[row] = CheckListBox3.Checked(row);
  ini.LAST_SCHEDULE_SETUP_BUTTON = MarkerShutdown.Down()  ? 1
                                   : MarkerStartup.Down() ? 2
                                   : MarkerTest.Down()    ? 3
                                                          : 0;
  ini.SCHEDULE_AUTO_SAVE = CheckBox6.Checked();
  ini.SCHEDULE_SHUTDOWN_TYPE = ComboBox11.ItemIndex();
  ini.SCHEDULE_SHUTDOWN_UPS = CheckBox8.Checked();
  // The fields below are read after the schedule is written: an empty one
  // stops OK there, with the schedule written and the settings not.
  const SaveSeams seams{services_.registry, services_.shell, services_.programPath};
  SaveInOrder(seams, CheckBox4.Checked(), *schedule_, ini, [&] {
    ini.EVENTLOG_RECORD = StrictNumber(Edit3.Text());
    ini.EVENTLOG_LOCATION = Edit4.Text();
    ini.DATALOG_STATUS = CheckBox7.Checked();
    ini.DATALOG_DAY = StrictNumber(Edit5.Text());
    ini.DATALOG_INTERVAL = StrictNumber(ComboBox9.Text());
    ini.DATALOG_LOCATION = Edit6.Text();
    for (int row = 0; row < CheckListBox2.Count(); ++row)
      if (CheckListBox2.Checked(row)) ini.LANGUAGE = CheckListBox2.RowText(row);
  });
  Close();
}

void TFormMain::CancelClick() {
  if (dialogs_.Confirm(language_->MESSAGE_CONFIRM_CANCEL_EXIT)) Close();
}
