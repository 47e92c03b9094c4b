// The start, in the order it runs: the settings and the language before the
// controls are made; then, once they are, the steps of kStartSteps, each on
// the pages made so far. The Schedule and Others pages are made from the
// message loop once the window has shown: they are given, from the same
// list, every step the start has come to. How far it came also decides what
// OK may write.
#include <exception>

#include "app/FolderRightsWarning.h"
#include "app/TFormMain.h"
#include "platform/FileSystem.h"
#include "ui/Dpi.h"
#include "ui/Text.h"

namespace {

// The languages to tick: a folder that cannot be listed shows none, as a
// missing one does; the language in use was read already.
std::vector<std::string> LanguageFolders(const std::string& folder) {
  try {
    return fs_seam::ListNamesWithoutExtension(folder + "Languages\\");
  } catch (const fs_seam::FileError&) {
    return {};
  }
}

}  // namespace

void TFormMain::RunStart() {
  Busy busy(*this);
  std::exception_ptr readFailure;
  try {
    ReadSettingsAndLanguage();
  } catch (const std::exception&) {
    readFailure = std::current_exception();
  }
  BuildControls();
  Note("controls");
  // Handled before any input: the user never finds the page unmade.
  PostMessageW(Handle(), kMakeLaterPages, 0, 0);
  BindHandlers();
  module_.SetDetectionWindow(this, &dialogs_);
  try {
    if (readFailure) std::rethrow_exception(readFailure);
    RunSteps();
  } catch (const std::exception& failure) {
    // The rest of the start is skipped; the window shows what it has, and OK
    // writes nothing (StartComplete).
    ShowFailure(failure);
  }
}

void TFormMain::ReadSettingsAndLanguage() {
  // Title and size, unless the window has them already: each change is a
  // round of calls into the window manager.
  if (ui::WindowText(Handle()) != kMainWindowTitle) ui::SetWindowText(Handle(), kMainWindowTitle);
  RECT outer{};
  GetWindowRect(Handle(), &outer);
  const int width = ui::Scale(kOuterWidth, Dpi()), height = ui::Scale(kOuterHeight, Dpi());
  if (outer.right - outer.left != width || outer.bottom - outer.top != height)
    SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  std::string folder = ProgramFolder();
  stores_.settings = std::make_unique<TINI>();
  stores_.settings->Load(folder + "omb.ini");
  // Shown as defaults, silently; but OK must not write them over the file.
  settingsRead_ = !stores_.settings->Unreadable;
  Note("settings");
  stores_.schedule = std::make_unique<TSchedule>();

  stores_.language = std::make_unique<TINI_LANGUAGE>();
  TINI_LANGUAGE& language = *stores_.language;
  language.Path = folder + "Languages\\" + stores_.settings->LANGUAGE + "\\setup.ini";
  if (const std::string failure = language.Load(); failure.empty()) {
    fonts_.UseLanguage(language);
    languageRead_ = true;
  } else {
    dialogs_.Message(failure);
  }
  if (services_.folderRights) WarnIfFolderOpenToAllUsers(*services_.folderRights, dialogs_, language, folder);
  Note("language read");
}

// Each step notes that the start came to it before it runs, so that pages
// made while it waits in a box are given it too. A box of a step may let the
// later pages be made, and their catching up fail: the start ends there.
void TFormMain::RunSteps() {
  for (StartStep step : kStartSteps) {
    if (reached_ == StartStep::CutShort) return;
    reached_ = step;
    RunStep(step, Page2.Built() ? Pages::All : Pages::First);
  }
  if (reached_ != StartStep::CutShort) reached_ = StartStep::Done;
  Note("schedule and series");
}

void TFormMain::RunStep(StartStep step, Pages pages) {
  const bool first = pages != Pages::Later, later = pages != Pages::First;
  const TINI& ini = *stores_.settings;
  switch (step) {
    case StartStep::Bevels:
      if (later) Page2.Panel4.SetBevels(ui::Bevel::None, ui::Bevel::None);
      break;
    case StartStep::Language:
      if (languageRead_) ApplyLanguage(pages);
      break;
    // Controls that show no caption still have a name for screen readers: the
    // marker buttons their kind, the spinners the field they step.
    case StartStep::Names:
      if (later) Page2.NameMarkers(*stores_.language);
      if (first) Page1.NameSpinners(*stores_.language);
      if (first) Note("language");
      break;
    case StartStep::DayMarkers:
      if (later) Page2.BuildDayMarkers();
      break;
    case StartStep::Skins:
      if (first) LoadSkins();
      if (first) Note("skins");
      break;
    case StartStep::PagesFilled:
      if (first) {
        Page1.Show(ini);
        module_.ADateTime1.Update();
      }
      if (later) {
        Page3.FillLanguageList(LanguageFolders(ProgramFolder()));
        Page2.Show(ini);
        Page3.Show(ini);
      }
      if (first) {
        PageControl1.SetActive(0);
        Note("pages filled");
      }
      break;
    case StartStep::ScheduleRead:
      if (first) {
        stores_.schedule->FilePath = ProgramFolder() + "SCHEDULE.TXT";
        stores_.schedule->LoadSchedule();
      }
      break;
    case StartStep::MonthMarked:
      if (later) Page2.MarkShownMonth();
      break;
    case StartStep::SeriesRules: {
      const settings_rules::SeriesRules rules = settings_rules::SeriesRulesOf(ini.UPSTYPE);
      if (first) Page1.ApplySeriesRules(rules);
      if (later) {
        Page2.ApplySeriesRules(rules);
        Page3.ApplySeriesRules(rules, ini.DATALOG_STATUS);
      }
      break;
    }
    case StartStep::None:
    case StartStep::Done:
    case StartStep::CutShort:
      break;
  }
}

void TFormMain::BuildLaterPages() {
  if (Page2.Built()) return;
  const PageFonts fonts = fonts_.Pages();
  Page2.Build(PageControl1.Page(1), fonts);
  Note("schedule page made");
  Page3.Build(PageControl1.Page(2), fonts);
  Note("others page made");
  Focus.SetOrder(1, Page2.KeyboardOrder());
  Focus.SetOrder(2, Page3.KeyboardOrder());
  try {
    for (StartStep step : kStartSteps)
      if (step <= reached_) RunStep(step, Pages::Later);
  } catch (...) {
    reached_ = StartStep::CutShort;
    throw;
  }
  Note("later pages given the start's steps");
}

void TFormMain::ApplySeriesRules(int code) {
  const settings_rules::SeriesRules rules = settings_rules::SeriesRulesOf(code);
  Page1.ApplySeriesRules(rules);
  if (!Page2.Built()) return;
  Page2.ApplySeriesRules(rules);
  Page3.ApplySeriesRules(rules, stores_.settings->DATALOG_STATUS);
}
