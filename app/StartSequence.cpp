// The start, in the order it runs: the settings and the language before the
// controls are made; then the bevels, the language's texts, the pages filled
// from the settings, the schedule read and the month marked, last the series
// rules. The Schedule and Others pages are made from the message loop once
// the window has shown: they are given, in the same order, every step the
// start has come to. How far it came also decides what OK may write.
#include <exception>

#include "app/FolderRightsWarning.h"
#include "app/TFormMain.h"
#include "platform/FileSystem.h"
#include "ui/Dpi.h"
#include "ui/Text.h"

void TFormMain::RunStart() {
  Busy busy(*this);
  std::exception_ptr readFailure;
  try {
    FormCreate();
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
    FillControls();
  } catch (const std::exception& failure) {
    // The rest of the start is skipped; the window shows what it has, and OK
    // writes nothing (StartComplete).
    ShowFailure(failure);
  }
}

void TFormMain::FormCreate() {
  // Title and size, unless the window has them already: each change is a
  // round of calls into the window manager.
  if (ui::WindowText(Handle()) != kMainWindowTitle) ui::SetWindowText(Handle(), kMainWindowTitle);
  RECT outer{};
  GetWindowRect(Handle(), &outer);
  const int width = ui::Scale(kOuterWidth, Dpi()), height = ui::Scale(kOuterHeight, Dpi());
  if (outer.right - outer.left != width || outer.bottom - outer.top != height)
    SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  std::string folder = ProgramFolder();
  settings_ = std::make_unique<TINI>();
  settings_->Load(folder + "omb.ini");
  // Shown as defaults, silently; but OK must not write them over the file.
  settingsRead_ = !settings_->Unreadable;
  Note("settings");
  schedule_ = std::make_unique<TSchedule>();

  language_ = std::make_unique<TINI_LANGUAGE>();
  language_->Path = folder + "Languages\\" + settings_->LANGUAGE + "\\setup.ini";
  if (const std::string failure = language_->Load(); failure.empty()) {
    UseLanguageFonts();
    languageRead_ = true;
  } else {
    dialogs_.Message(failure);
  }
  if (services_.folderRights) WarnIfFolderOpenToAllUsers(*services_.folderRights, dialogs_, *language_, folder);
  Note("language read");
}

// Each step that takes the later pages too notes that the start came to it,
// so that they are given it once they are made.
void TFormMain::FillControls() {
  startReached_ = StartStep::Bevels;
  if (laterPagesMade_) Panel4.SetBevels(ui::Bevel::None, ui::Bevel::None);
  startReached_ = StartStep::Language;
  if (languageRead_) ApplyLanguage();

  // Controls that show no caption still have a name for screen readers: the
  // marker buttons their kind, the spinners the field they step.
  startReached_ = StartStep::Names;
  if (laterPagesMade_) NameMarkers();
  UpDown1.SetText(language_->OVERLOAD_SHUTDOWN_IN);
  UpDown2.SetText(language_->POWER_FAIL_FOR);
  Note("language");
  BuildDayMarkers();
  SetUpPages();

  schedule_->FilePath = ProgramFolder() + "SCHEDULE.TXT";
  schedule_->LoadSchedule();

  startReached_ = StartStep::MonthMarked;
  if (laterPagesMade_) MarkShownMonth();

  startReached_ = StartStep::SeriesRules;
  ApplySeriesRules(settings_->UPSTYPE);
  startReached_ = StartStep::Done;
  Note("schedule and series");
}

void TFormMain::SetUpPages() {
  LoadSkins();
  Note("skins");
  startReached_ = StartStep::PagesFilled;
  if (laterPagesMade_) FillLanguageList();
  ShowConfigPage();
  if (laterPagesMade_) {
    ShowScheduleSetup();
    ShowOthersPage();
  }
  PageControl1.SetActive(0);
  Note("pages filled");
}

void TFormMain::FillLanguageList() {
  CheckListBox2.SetRows(fs_seam::ListNamesWithoutExtension(ProgramFolder() + "Languages\\"));
  CheckListBox2.Sort();
}

void TFormMain::NameMarkers() {
  MarkerShutdown.SetText(language_->SHUTDOWN);
  MarkerStartup.SetText(language_->STARTUP);
  MarkerTest.SetText(language_->TESTUPS);
}

// The marks of the calendar's month and the times of its day.
void TFormMain::MarkShownMonth() {
  MarkMonth(Calendar1.Month(), Calendar1.Year());
  ShowDayTimes(Calendar1.Day(), Calendar1.Month(), Calendar1.Year());
}

void TFormMain::BuildLaterPages() {
  if (laterPagesMade_) return;
  BuildSchedulePage(PageControl1.Page(1));
  Note("schedule page made");
  BuildOthersPage(PageControl1.Page(2));
  for (ui::Group* group : {&GroupBox14, &GroupBox3, &GroupBox2, &GroupBox1}) group->PlaceBeneathSiblings();
  laterPagesMade_ = true;
  Note("others page made");
  const auto reached = [this](StartStep step) { return startReached_ >= step; };
  if (reached(StartStep::Bevels)) Panel4.SetBevels(ui::Bevel::None, ui::Bevel::None);
  if (reached(StartStep::Language) && languageRead_) ApplyLanguageToLaterPages();
  if (reached(StartStep::Names)) NameMarkers();
  Note("later pages' language");
  if (reached(StartStep::PagesFilled)) {
    FillLanguageList();
    ShowScheduleSetup();
    ShowOthersPage();
  }
  Note("later pages filled");
  if (reached(StartStep::MonthMarked)) MarkShownMonth();
  Note("month marked");
  if (reached(StartStep::SeriesRules)) ApplySeriesRulesToLaterPages(settings_->UPSTYPE);
  laterPagesFilled_ = true;
  Note("later pages' series rules");
}
