#pragma once
// The main window: three pages showing the settings, the rules that keep
// their controls consistent, and OK / Cancel.
#include <windows.h>
// winreg.h names a shutdown flag after the same word as a settings key; the key wins.
#undef SHUTDOWN_POWEROFF

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ClosingDialogs.h"
#include "app/Services.h"
#include "app/TDataModule1.h"
#include "guide/HelpGuide.h"
#include "i18n/TINI_LANGUAGE.h"
#include "schedule/CalendarMarks.h"
#include "schedule/TSchedule.h"
#include "settings/TINI.h"
#include "ui/Calendar.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/DrawnButton.h"
#include "ui/Fonts.h"
#include "ui/Gdi.h"
#include "ui/Group.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/Spinner.h"
#include "ui/TabPages.h"
#include "ui/TextField.h"
#include "ui/TickList.h"
#include "ui/Window.h"

inline constexpr char kMainWindowTitle[] = "Ombrel Setup Version 7.20";

class TFormViewAll;

class TFormMain : public ui::Window, public IDetectionWindow {
 public:
  // Creates the window and its controls and runs FormCreate; the window stays
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

  // The stores, from FormCreate to FormClose.
  TINI* Settings() { return settings_.get(); }
  TSchedule* Schedule() { return schedule_.get(); }
  TINI_LANGUAGE* Language() { return language_.get(); }

  // The rules of a UPS series (UPSTYPE code); also run by UPS detection with
  // the series it found.
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
  ui::Fonts fonts_;
  // The fonts by what they are made of. The window's is that of every
  // control that follows it; the bold one the low-battery note's (and the
  // page title's as built); the "..." buttons keep theirs in every language;
  // the calendar's own takes only a language's name and size.
  ui::FontSpec windowFont_{"MS Sans Serif", 8};
  ui::FontSpec boldFont_{"MS Sans Serif", 8, true};
  const ui::FontSpec browseFont_{"Arial", 8};
  ui::FontSpec calendarFont_{"MS Sans Serif", 8};

 public:
  // The controls, each with what the user sees and the setting it shows.

  // Header, pages and bottom bar.
  ui::Panel Panel1;              // header, with the picture HeaderSetup.bmp stretched over it
  ui::TabPages PageControl1;     // tabs "Ombrel Configurations", "Schedule Setup", "Others"
  ui::Panel Panel2;              // bottom bar
  ui::DrawnButton ButtonOK;      // "OK" (SAVE_BUTTON.bmp): writes everything and ends the program
  ui::DrawnButton ButtonCancel;  // "Cancel" (CANCEL_BUTTON.bmp): ends the program writing nothing

  // Configuration page.
  ui::Label Label1;                  // "UPS Communication Port"
  ui::ComboBox ComboBox1;            // "COM 1" to "COM 8"; UPSPORT (row = value - 1)
  ui::CheckBox CheckBox4;            // "Run Ombrel when startup "; RUN_STARTUP_STATUS, start-up entry OMB_SPY
  ui::Group GroupBox7;               // " Shutdown computer  when "
  ui::CheckBox CheckBox1;            // "Overload Shutdown in"; OVERLOAD_SHUTDOWN_STATUS
  ui::TextField Edit1;               // overload minutes; OVERLOAD_SHUTDOWN_TIME
  ui::Spinner UpDown1;               // arrows beside Edit1, 0 to 10
  ui::Label Label3;                  // "Minutes" after Edit1
  ui::CheckBox CheckBox9;            // "Power fail for "; POWERFAIL_SHUTDOWN_STATUS
  ui::TextField Edit2;               // power-fail minutes; BACKUP_TIME
  ui::Spinner UpDown2;               // arrows beside Edit2, 1 to 99
  ui::Label Label10;                 // "minutes" after Edit2
  ui::CheckBox CheckBox11;           // "Recommended backup time = 0 minute"; RUNTIME_ZERO_SHUTDOWN_STATUS
  ui::Label Label8;                  // red note "And Computer will shutdown when low battery"
  ui::DrawnButton ButtonAutoDetect;  // "Auto Detect UPS" (BATTERY.BMP): probes COM 1 to COM 8
  ui::Label Label13;                 // "Tarvexi UPS Series"
  ui::TickList CheckListBox1;        // series list, rows of app/SeriesRows.h; UPSTYPE
  ui::Group GroupBox8;               // " Power fail shutdown parameter "
  ui::CheckBox CheckBox2;            // "Auto-Save Applications"; POWERFAIL_AUTO_SAVE
  ui::Label Label12;                 // "Shutdown computer type"
  ui::ComboBox ComboBox3;      // "Normal Shutdown", "Force Shutdown", "Hibernate"; POWERFAIL_SHUTDOWN_TYPE
  ui::CheckBox CheckBox3;      // "Shutdown UPS"; POWERFAIL_SHUTDOWN_UPS
  ui::TickList CheckListBox4;  // cable list "Tarvexi Cable", "Ombrel Adaptor"; UPSCABLE

  // Schedule page.
  ui::Label Label15;                // "Month"
  ui::ComboBox ComboBox7;           // "January" to "December": the month the calendar shows
  ui::Label Label16;                // "Year"
  ui::ComboBox ComboBox8;           // "2000" to "2200": the year the calendar shows
  ui::DrawnButton ButtonApply;      // "Apply" (APPLY_BUTTON.bmp): sets the chosen event on the chosen days
  ui::DrawnButton ButtonClear;      // "Clear" (EXIT_BUTTON.bmp): removes the chosen event
  ui::Panel Panel3;                 // page title "Schedule Setup" in blue
  ui::Group GroupBox14;             // " Schedule Setup "
  ui::Label Label23;                // "Hour"
  ui::ComboBox ComboBox13;          // "01" to "23", "00"; LAST_SCHEDULE_SETUP_HOUR
  ui::Label Label24;                // "Min."
  ui::ComboBox ComboBox17;          // "00" to "59"; LAST_SCHEDULE_SETUP_MINUTE
  ui::CheckBox CheckBox10;          // "Warning"; LAST_SCHEDULE_WARNING
  ui::CheckBox CheckBox5;           // "Current Day"; LAST_SCHEDULE_CURRENT_DAY_SCHEDULE
  ui::TickList CheckListBox3;       // weekday list "Sunday" to "Saturday"; LAST_SCHEDULE_SUNDAY to _SATURDAY
  ui::Panel Panel4;                 // holds the three marker buttons
  ui::MarkerButton MarkerShutdown;  // red; LAST_SCHEDULE_SETUP_BUTTON 1
  ui::MarkerButton MarkerStartup;   // lime; LAST_SCHEDULE_SETUP_BUTTON 2
  ui::MarkerButton MarkerTest;      // blue; LAST_SCHEDULE_SETUP_BUTTON 3
  ui::Label Label27;                // "Shutdown" under the red marker
  ui::Label Label28;                // "StartUp" under the lime marker
  ui::Label Label29;                // "TestUPS" under the blue marker
  ui::Label Label17;                // "Shutdown Time :"
  ui::Label Label2;                 // the chosen day's shutdown time
  ui::Label Label4;                 // "StartUp Time     :"
  ui::Label Label19;                // the chosen day's start-up time
  ui::Label Label7;                 // "TestUPS Time   :"
  ui::Label Label21;                // the chosen day's UPS-test time
  ui::Group GroupBox3;              // " Shutdown computer parameter "
  ui::CheckBox CheckBox6;           // "Auto-Save Applications"; SCHEDULE_AUTO_SAVE
  ui::Label Label18;                // "Shutdown computer type"
  ui::ComboBox ComboBox11;        // "Normal Shutdown", "Force Shutdown", "Hibernate"; SCHEDULE_SHUTDOWN_TYPE
  ui::CheckBox CheckBox8;         // "Shutdown UPS"; SCHEDULE_SHUTDOWN_UPS
  ui::DrawnButton ButtonViewAll;  // "View All" (VIEWALL_BUTTON.bmp): the overview window
  ui::DrawnButton ButtonReset;    // "Reset" (RESET_BUTTON.bmp)
  // The shown month; its selected day is the day of a dated event. Its marks
  // are the day markers: over cells 1 to 37, one set per kind, red, lime, blue.
  ui::Calendar Calendar1;

  // Others page.
  ui::Group GroupBox2;           // " Event Log "
  ui::Label Label9;              // "Maximum"
  ui::TextField Edit3;           // maximum of event-log records; EVENTLOG_RECORD
  ui::Label Label30;             // "records"
  ui::Label Label31;             // "Location"
  ui::TextField Edit4;           // event-log file; EVENTLOG_LOCATION
  ui::DrawnButton SpeedButton1;  // "..." beside Edit4: browses for the event-log folder
  ui::Group GroupBox1;           // " Data Log "
  ui::CheckBox CheckBox7;        // "Enabled"; DATALOG_STATUS
  ui::TextField Edit5;           // days of the data log; DATALOG_DAY
  ui::Label Label32;             // "days"
  ui::Label Label33;             // "Interval time"
  ui::ComboBox ComboBox9;        // "15" to "180" seconds; DATALOG_INTERVAL
  ui::Label Label38;             // "second"
  ui::Label Label20;             // "Location"
  ui::TextField Edit6;           // data-log folder; DATALOG_LOCATION
  ui::DrawnButton SpeedButton2;  // "..." beside Edit6: browses for the data-log folder
  ui::Label Label14;             // "Select Language"
  ui::TickList CheckListBox2;    // language list, one row per folder of Languages; LANGUAGE

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDpiChanged(int oldDpi) override;

 private:
  // The window's outer size at 96 DPI.
  static constexpr int kOuterWidth = 556;
  static constexpr int kOuterHeight = 468;
  // Posted to the window: make the pages after the first.
  static constexpr UINT kMakeLaterPages = WM_APP + 2;

  // Operations of the window.
  // The start: FormCreate, the controls, then FillControls; a failure skips the rest.
  void RunStart();
  // Title and size, the settings and the language: before the controls.
  void FormCreate();
  // The language's texts, the day markers, the pages, the schedule and the
  // series rules: once the controls are made.
  void FillControls();
  void SetUpPages();
  void CentreOnScreen();
  void FormClose();
  void ShowConfigPage();
  void ShowScheduleSetup();
  void ShowOthersPage();
  // The series rules on the configuration page and on the later pages.
  void ApplySeriesRulesToConfigPage(int code);
  void ApplySeriesRulesToLaterPages(int code);
  void EnableOverloadFields(bool on);
  void EnableDataLogFields(bool on);
  void EnableWeekdayList(bool on);
  void OkClick();
  void CancelClick();

  // What a UPS detection run shows here.
  void ShowHourglass(bool on) override;
  void ShowProbedPort(int n) override;
  void PreselectUps(int n, int seriesCode) override;
  const TINI_LANGUAGE& Texts() const override;

  // Event handlers.
  void CheckBox1Click();
  void CheckBox5Click();
  void CheckBox7Click();
  void CheckBox9Click();
  void CheckBox11Click();
  void CheckListBox1ClickCheck(int row);
  void CheckListBox2ClickCheck(int row);
  void CheckListBox4ClickCheck(int row);
  void UpDown1Click(int position);
  void UpDown2Click(int position);
  void SpeedButton1Click();
  void SpeedButton2Click();
  void ComboBox3Change();
  void ComboBox11Change();
  void ButtonAutoDetectClick();
  // The schedule page's commands.
  void ButtonApplyClick();
  void ButtonClearClick();
  void ButtonResetClick();
  void ButtonViewAllClick();
  void ComboBox7Change();  // also the year list's
  void Calendar1Change();
  void FormKeyDown(WPARAM key);
  // F1: the help for a place (app/HelpKey.cpp), in the language in use.
  void ShowHelp(HelpPlace place);
  HelpPlace PlaceOfActivePage() const;
  // True when the character was taken (Enter, Escape).
  bool FormKeyPress(WPARAM character);

  void BuildControls();
  void BuildConfigPage(ui::Panel& page);
  void BuildSchedulePage(ui::Panel& page);
  void BuildOthersPage(ui::Panel& page);
  // The Schedule and Others pages are made from the message loop once the
  // window has shown (neither is the first page): their controls, then what
  // the start has done to the other pages so far, in the same order.
  void BuildLaterPages();
  void BindHandlers();
  // At start every missing skin file gives its message and an invalid one
  // fails; again for another DPI, quietly, only what can be read.
  enum class SkinErrors { Report, Ignore };
  void LoadSkins(SkinErrors errors = SkinErrors::Report);
  // The picture for the window's DPI: the 1x file's size scaled, drawn from
  // the nearest larger rendering of the skin where there is one.
  ui::Bitmap SkinAtDpi(const std::string& file, ui::Bitmap picture, int count);
  void FillLanguageList();
  // Steps that the language and the calendar take part in.
  void ApplyLanguage();
  void ApplyLanguageToLaterPages();
  // The marker buttons show no caption; their names are for screen readers.
  void NameMarkers();
  void MarkShownMonth();
  // The language's font becomes the window's and the calendar's, before the controls are made.
  void UseLanguageFonts();
  HFONT WindowFont() { return fonts_.Get(windowFont_); }
  void CentreUnderMarker(ui::Label& label);

  // The calendar's day markers and the times of its selected day.
  void BuildDayMarkers();
  DayCell FindDayCell(int day) const;
  void MarkMonth(int month, int year);
  void ShowDayTimes(int day, int month, int year);
  void MarkDay(const std::string& kind);
  void UnmarkDay(const std::string& kind, int day);
  void MarkWeekly(const std::string& kind, const std::string& mask);
  void UnmarkWeekly(const std::string& kind, const std::string& mask);
  // Shows or hides the marker of a set on a day of the shown month, or of a cell (1 to 37).
  void ShowMarker(int set, int day, bool shown);
  void ShowMarkerOfCell(int set, int cell, bool shown);
  // Hides every marker.
  void HideDayMarkers();
  // The marker set of the kind whose marker button is down, if one is.
  std::optional<int> ChosenKind() const;
  // The year the commands act on: the year list's, or the calendar's when the list shows none.
  int ChosenYear() const;
  // The date text of the calendar's selected day in the month and year of the lists.
  std::string ChosenDateText();

  // The UPSTYPE code of the first ticked row of the series list; none when no
  // row is ticked.
  std::optional<int> TickedSeriesCode() const;

  // Keyboard focus. A plain window does not give the focus back to its
  // control when it is activated again (after a message box, the folder
  // browser, another program): the window remembers it on deactivation.
  void RememberFocus();
  void RestoreFocus();
  // The first control of the active page in keyboard order that can take the focus.
  void FocusFirstOfPage();
  // Moves the focus along the keyboard order of the active page.
  void FocusNext(bool backwards);
  // Ctrl+Tab, Ctrl+PageDown: the next page; with Shift, Ctrl+PageUp: the
  // previous one. True when the key turned the page.
  bool PageKey(WPARAM key);
  void TurnPage(bool backwards);

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
  // Everything the start reads was read and shown: only then may OK write
  // over the files and the start-up entry.
  bool StartComplete() const { return settingsRead_ && startReached_ == StartStep::Done && laterPagesFilled_; }
  std::string ProgramFolder() const;
  // Notes a step of the start for the start-up benchmark.
  void Note(const char* step) const;

  std::unique_ptr<TINI> settings_;
  std::unique_ptr<TSchedule> schedule_;
  std::unique_ptr<TINI_LANGUAGE> language_;
  // The Schedule and Others pages have their controls.
  bool laterPagesMade_ = false;
  bool laterPagesFilled_ = false;  // and have been given every step of the start
  // The steps of the start that the later pages take part in, in their
  // order; the start notes each it comes to, and the later pages, once made,
  // are given every step up to that one.
  enum class StartStep { None, Bevels, Language, Names, PagesFilled, MonthMarked, SeriesRules, Done };
  StartStep startReached_ = StartStep::None;
  bool languageRead_ = false;                             // its file was there and has been read
  bool settingsRead_ = false;                             // omb.ini was read, or there is none
  std::vector<std::vector<ui::Control*>> keyboardOrder_;  // per page
  HWND focus_ = nullptr;  // the control that had the focus when the window was last active
};
