// OK writes the settings, the schedule and the registry values; Cancel discards.
#include <string>

#include "app/TFormMain.h"
#include "app/TFormViewAll.h"
#include "deploy/Configuration.h"
#include "deploy/Deployment.h"
#include "i18n/HibernateChoice.h"
#include "platform/FileSystem.h"
#include "settings/SaveOrder.h"
#include "util/AppError.h"
#include "util/FolderOf.h"

// Each page stores itself; SaveInOrder keeps the order of the writes.
void TFormMain::OkClick() {
  // A start cut short left controls unfilled or the schedule unread: writing
  // them would replace what the user has with what the program never read.
  if (!StartComplete()) {
    dialogs_.Message(stores_.language->MESSAGE_SETTINGS_NOT_SAVED);
    return;
  }
  // Settings written beside no monitor configure nothing: the question says
  // so before anything is written.
  std::string question = stores_.language->MESSAGE_CONFIRM_APPLY_EXIT;
  const std::string folder = FolderOf(services_.programPath);
  if (!fs_seam::FileExists(folder + kMonitorName))
    question = stores_.language->MESSAGE_MONITOR_NOT_IN_FOLDER + " " + folder + "\r\n\r\n" + question;
  if (!dialogs_.Confirm(question)) return;
  if (!Page1.MinutesAreWholeNumbers()) return;

  TINI& ini = *stores_.settings;
  const TINI before = ini;
  Page1.Store(ini);
  Page2.Store(ini);
  // The Others page is read after the schedule is written: an empty number
  // field stops OK there, with the schedule written and the settings not.
  const SaveSeams seams{services_.registry, services_.shell, services_.programPath};
  // The event log keeps what OK changed, or why it stopped, for whoever
  // audits this PC; the box the failure brings is the user's.
  constexpr char kWhat[] = "OK in the Ombrel Setup window";
  try {
    SaveInOrder(seams, ini.RUN_STARTUP_STATUS, *stores_.schedule, ini, [&] { Page3.Store(ini); });
  } catch (const std::exception& error) {
    deploy::AddEntry(services_.eventLog, IEventLog::Kind::Error, kWhat, {ErrorBoxText(error.what())});
    throw;
  }
  std::vector<std::string> lines = deploy::Changes(before, ini);
  if (lines.empty()) lines.push_back("No value changed");
  for (const std::string& warning : HibernateWarnings(ini, services_.power)) lines.push_back(warning);
  deploy::AddEntry(services_.eventLog, IEventLog::Kind::Information, kWhat, lines);
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
