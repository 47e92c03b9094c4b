#pragma once
// The main window: the header, the three pages, the bottom bar with OK and
// Cancel, the keyboard and focus rules, and the start.
#include <windows.h>
// winreg.h names a shutdown flag after the same word as a settings key; the key wins.
#undef SHUTDOWN_POWEROFF

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ClosingDialogs.h"
#include "app/ConfigPage.h"
#include "app/OthersPage.h"
#include "app/SchedulePage.h"
#include "app/Services.h"
#include "app/Stores.h"
#include "app/TDataModule1.h"
#include "app/WindowFonts.h"
#include "guide/HelpGuide.h"
#include "ui/DrawnButton.h"
#include "ui/Gdi.h"
#include "ui/PageFocus.h"
#include "ui/Panel.h"
#include "ui/TabPages.h"
#include "ui/Window.h"

inline constexpr char kMainWindowTitle[] = "Ombrel Setup Version 7.20";

class TFormViewAll;

class TFormMain : public ui::Window, public IDetectionWindow {
 public:
  // Creates the window and its controls and runs the start; the window stays
  // hidden until Show.
  TFormMain(const Services& services, TDataModule1& module);
  ~TFormMain() override;

  // FormShow: centres the window on the screen and shows it.
  void Show();
  // Runs once the window has closed (the program entry ends its loop there).
  std::function<void()> OnClosed;
  // The overview window; View All shows it with ShowModalFor. When there is
  // none yet, View All makes it with MakeFormViewAll (the program entry's:
  // nothing of that window is needed before it first shows).
  TFormViewAll* FormViewAll = nullptr;
  std::function<TFormViewAll&()> MakeFormViewAll;

  // The message loop's step for one message: the key preview, then the
  // ordinary translation and dispatch.
  void ProcessMessage(MSG& message);

  // The stores, from the start to FormClose.
  TINI* Settings() { return stores_.settings.get(); }
  TSchedule* Schedule() { return stores_.schedule.get(); }
  TINI_LANGUAGE* Language() { return stores_.language.get(); }

  // The rules of a UPS series (UPSTYPE code) on every page made; also run by
  // UPS detection with the series it found.
  void ApplySeriesRules(int code);

 private:
  // Declared before the controls so that they outlive them.
  const Services& services_;
  TDataModule1& module_;
  // Asked to close while one of the window's operations was going on (the
  // start, a handler waiting in a box): the window closes once it has ended.
  bool closeRequested_ = false;
  int busy_ = 0;  // operations of the window going on, nested in each other's boxes
  // Every box of the window goes through here: none shows once it is closing.
  ClosingDialogs dialogs_{services_.dialogs, closeRequested_};
  Stores stores_;
  WindowFonts fonts_;

 public:
  ui::Panel Panel1;              // header, with the picture HeaderSetup.bmp stretched over it
  ui::TabPages PageControl1;     // tabs "Ombrel Configurations", "Schedule Setup", "Others"
  ui::PageFocus Focus{PageControl1};  // the keyboard order of each page, and the focus kept
  ConfigPage Page1{dialogs_, stores_};
  SchedulePage Page2{dialogs_, stores_, module_.ADateTime1, services_.clock};
  OthersPage Page3{dialogs_};
  ui::Panel Panel2;              // bottom bar
  ui::DrawnButton ButtonOK;      // "OK" (SAVE_BUTTON.bmp): writes everything and ends the program
  ui::DrawnButton ButtonCancel;  // "Cancel" (CANCEL_BUTTON.bmp): ends the program writing nothing

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDpiChanged(int oldDpi) override;

 private:
  // The window's outer size at 96 DPI.
  static constexpr int kOuterWidth = 556;
  static constexpr int kOuterHeight = 468;
  // Posted to the window: make the pages after the first.
  static constexpr UINT kMakeLaterPages = WM_APP + 2;

  // The start: title, size, the settings and the language before the
  // controls; then the steps of kStartSteps. A failure skips the rest.
  void RunStart();
  void ReadSettingsAndLanguage();
  // The steps of the start, in their order. Each runs on the pages made so
  // far; the pages made after the first show are given, once made, every
  // step the start has come to.
  enum class StartStep {
    None,
    Bevels,
    Language,
    Names,
    DayMarkers,
    Skins,
    PagesFilled,
    ScheduleRead,
    MonthMarked,
    SeriesRules,
    Done,
    CutShort,  // the later pages could not be given the steps: OK writes nothing
  };
  static constexpr StartStep kStartSteps[] = {
      StartStep::Bevels,      StartStep::Language,     StartStep::Names,       StartStep::DayMarkers,
      StartStep::Skins,       StartStep::PagesFilled,  StartStep::ScheduleRead, StartStep::MonthMarked,
      StartStep::SeriesRules,
  };
  // The pages a step runs on: the first page (with the frame), the later
  // ones, or all.
  enum class Pages { First, Later, All };
  void RunStep(StartStep step, Pages pages);
  void RunSteps();
  // The Schedule and Others pages are made from the message loop once the
  // window has shown (neither is the first page).
  void BuildLaterPages();
  void BuildControls();
  void BindHandlers();
  void FormClose();
  void OkClick();
  void CancelClick();
  void ButtonViewAllClick();

  // What a UPS detection run shows here.
  void ShowHourglass(bool on) override;
  void ShowProbedPort(int n) override;
  void PreselectUps(int n, int seriesCode) override;
  const TINI_LANGUAGE& Texts() const override;

  void FormKeyDown(WPARAM key);
  // F1: the help for a place (app/HelpKey.cpp), in the language in use.
  void ShowHelp(HelpPlace place);
  // True when the character was taken (Enter, Escape).
  bool FormKeyPress(WPARAM character);

  // At start every missing skin file gives its message and an invalid one
  // fails; again for another DPI, quietly, only what can be read.
  enum class SkinErrors { Report, Ignore };
  void LoadSkins(SkinErrors errors = SkinErrors::Report);
  // The picture for the window's DPI: the 1x file's size scaled, drawn from
  // the nearest larger rendering of the skin where there is one.
  ui::Bitmap SkinAtDpi(const std::string& file, ui::Bitmap picture, int count);
  // The language's texts on the frame and the pages.
  void ApplyLanguage(Pages pages);

  // The error box for a failure that ended an operation.
  void ShowFailure(const std::exception& failure);
  void Close();
  // A close request (the close box, a log-off, another program's request):
  // at once when nothing of the window is going on, else when it has ended.
  // What it was waiting in (a box, the overview window) ends now.
  void RequestClose();
  void EndOpenBoxes();
  // Holds a close request off while an operation of the window goes on.
  class Busy {
   public:
    explicit Busy(TFormMain& form) : form_(form) { ++form_.busy_; }
    ~Busy() {
      if (--form_.busy_ == 0 && form_.closeRequested_) form_.Close();
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

   private:
    TFormMain& form_;
  };
  // A handler that runs as an operation of the window.
  template <typename Handler>
  auto Guarded(Handler handler) {
    return [this, handler](auto&&... arguments) {
      Busy busy(*this);
      return handler(arguments...);
    };
  }
  // Everything the start reads was read and shown on every page: only then
  // may OK write over the files and the start-up entry.
  bool StartComplete() const { return settingsRead_ && reached_ == StartStep::Done && Page2.Built(); }
  std::string ProgramFolder() const;
  // Notes a step of the start for the start-up benchmark.
  void Note(const char* step) const;

  StartStep reached_ = StartStep::None;  // how far the start came
  bool languageRead_ = false;            // its file was there and has been read
  bool settingsRead_ = false;            // omb.ini was read, or there is none
};
