// OK writes the settings, the schedule and the registry values; Cancel discards.
#include <string>

#include "app/TFormMain.h"
#include "app/TFormViewAll.h"

namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace

void TFormMain::UpdateRunEntry(bool on) {
  if (!on) {
    services_.registry.DeleteValue(kRunKey, "OMB_SPY");
    return;
  }
  std::string monitor = FolderOf(services_.shell.ShortPath(services_.programPath)) + "SPY.EXE";
  // A short form that still holds a blank (a volume without short names)
  // would be cut at the blank when the entry runs: quote it then.
  if (monitor.find(' ') != std::string::npos) monitor = "\"" + monitor + "\"";
  services_.registry.SetString(kRunKey, "OMB_SPY", monitor);
}

// Each page stores itself; the order of the writes is the user's safety: the
// start-up entry, SCHEDULE.TXT, then omb.ini, and the SETUP flag last, so that
// the monitor never finds the flag before the files.
void TFormMain::OkClick() {
  // A start cut short left controls unfilled or the schedule unread: writing
  // them would replace what the user has with what the program never read.
  if (!StartComplete()) {
    dialogs_.Message(stores_.language->MESSAGE_SETTINGS_NOT_SAVED);
    return;
  }
  if (!dialogs_.Confirm(stores_.language->MESSAGE_CONFIRM_APPLY_EXIT)) return;
  if (!Page1.MinutesAreWholeNumbers()) return;

  TINI& ini = *stores_.settings;
  Page1.Store(ini);
  UpdateRunEntry(ini.RUN_STARTUP_STATUS);
  Page2.Store(ini);
  stores_.schedule->SaveSchedule();
  Page3.Store(ini);
  ini.Save();

  services_.registry.SetNumber(kProgramKey, "SETUP", 1);
  Close();
}

void TFormMain::CancelClick() {
  if (dialogs_.Confirm(stores_.language->MESSAGE_CONFIRM_CANCEL_EXIT)) Close();
}

// Modal: returns when the overview window closes.
void TFormMain::ButtonViewAllClick() {
  if (!FormViewAll && MakeFormViewAll) FormViewAll = &MakeFormViewAll();
  if (!FormViewAll) return;
  FormViewAll->OnHelpKey = [this] { ShowHelp(HelpPlace::Overview); };
  FormViewAll->ShowModalFor(*stores_.schedule, *stores_.settings, *stores_.language, module_.AString1);
}
