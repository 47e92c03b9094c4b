#pragma once
// The main window: three pages showing the settings, the rules that keep
// their controls consistent, and OK / Cancel.
#include <windows.h>
// winreg.h names a shutdown flag after the same word as a settings key; the key wins.
#undef SHUTDOWN_POWEROFF

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Services.h"
#include "app/TDataModule1.h"
#include "i18n/TINI_LANGUAGE.h"
#include "schedule/TSchedule.h"
#include "settings/TINI.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/DrawnButton.h"
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
  // The overview window, made by the program entry after this window; View
  // All shows it with ShowModalFor.
  TFormViewAll* FormViewAll = nullptr;

  // The message loop's step for one message: the key preview, then the
  // ordinary translation and dispatch.
  void ProcessMessage(MSG& message);

  // The stores, from FormCreate to FormClose.
  TINI* Settings() { return settings_.get(); }
  TSchedule* Schedule() { return schedule_.get(); }
  TINI_LANGUAGE* Language() { return language_.get(); }

  // Operations of the window.
  void FormCreate();
  void SetUpPages();
  void CentreOnScreen();
  void FormClose();
  void ShowConfigPage();
  void ShowScheduleSetup();
  void ShowOthersPage();
  void ApplySeriesRules(int code);
  void EnableOverloadFields(bool on);
  void EnableDataLogFields(bool on);
  void EnableWeekdayList(bool on);
  void UpdateRunEntry(bool on);
  void OkClick();
  void CancelClick();

  // What a UPS detection run shows here.
  void ShowHourglass(bool on) override;
  void ShowProbedPort(int n) override;
  void PreselectUps(int n, int seriesCode) override;

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
  void FormKeyDown(WPARAM key);
  // True when the character was taken (Enter, Escape).
  bool FormKeyPress(WPARAM character);

 private:
  // Declared before the controls so that they outlive them.
  const Services& services_;
  TDataModule1& module_;
  ui::Font font_;
  ui::Font boldFont_;
  ui::Font browseFont_;  // the "..." buttons' own, which no language changes

 public:
  // Header, pages and bottom bar.
  ui::Panel Panel1;  // header with its picture
  ui::TabPages PageControl1;
  ui::Panel Panel2;  // bottom bar
  ui::DrawnButton ButtonOK;
  ui::DrawnButton ButtonCancel;

  // Configuration page.
  ui::Label Label1;
  ui::ComboBox ComboBox1;
  ui::CheckBox CheckBox4;
  ui::Group GroupBox7;
  ui::CheckBox CheckBox1;
  ui::TextField Edit1;
  ui::Spinner UpDown1;
  ui::Label Label3;
  ui::CheckBox CheckBox9;
  ui::TextField Edit2;
  ui::Spinner UpDown2;
  ui::Label Label10;
  ui::CheckBox CheckBox11;
  ui::Label Label8;
  ui::DrawnButton ButtonAutoDetect;
  ui::Label Label13;
  ui::TickList CheckListBox1;
  ui::Group GroupBox8;
  ui::CheckBox CheckBox2;
  ui::Label Label12;
  ui::ComboBox ComboBox3;
  ui::CheckBox CheckBox3;
  ui::TickList CheckListBox4;

  // Schedule page (the calendar area, left 3, top 28, 367 x 172, is kept free).
  ui::Label Label15;
  ui::ComboBox ComboBox7;
  ui::Label Label16;
  ui::ComboBox ComboBox8;
  ui::DrawnButton ButtonApply;
  ui::DrawnButton ButtonClear;
  ui::Panel Panel3;  // page title
  ui::Group GroupBox14;
  ui::Label Label23;
  ui::ComboBox ComboBox13;
  ui::Label Label24;
  ui::ComboBox ComboBox17;
  ui::CheckBox CheckBox10;
  ui::CheckBox CheckBox5;
  ui::TickList CheckListBox3;
  ui::Panel Panel4;  // the marker buttons
  ui::MarkerButton MarkerShutdown;
  ui::MarkerButton MarkerStartup;
  ui::MarkerButton MarkerTest;
  ui::Label Label27;
  ui::Label Label28;
  ui::Label Label29;
  ui::Label Label17;
  ui::Label Label2;
  ui::Label Label4;
  ui::Label Label19;
  ui::Label Label7;
  ui::Label Label21;
  ui::Group GroupBox3;
  ui::CheckBox CheckBox6;
  ui::Label Label18;
  ui::ComboBox ComboBox11;
  ui::CheckBox CheckBox8;
  ui::DrawnButton ButtonViewAll;
  ui::DrawnButton ButtonReset;

  // Others page.
  ui::Group GroupBox2;
  ui::Label Label9;
  ui::TextField Edit3;
  ui::Label Label30;
  ui::Label Label31;
  ui::TextField Edit4;
  ui::DrawnButton SpeedButton1;
  ui::Group GroupBox1;
  ui::CheckBox CheckBox7;
  ui::TextField Edit5;
  ui::Label Label32;
  ui::Label Label33;
  ui::ComboBox ComboBox9;
  ui::Label Label38;
  ui::Label Label20;
  ui::TextField Edit6;
  ui::DrawnButton SpeedButton2;
  ui::Label Label14;
  ui::TickList CheckListBox2;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void BuildControls();
  void BuildConfigPage(ui::Panel& page);
  void BuildSchedulePage(ui::Panel& page);
  void BuildOthersPage(ui::Panel& page);
  void BindHandlers();
  void LoadSkins();
  void FillLanguageList();
  // Steps that the language and the calendar take part in.
  void ApplyLanguage();
  void UseWindowFont(ui::Font font);
  void CentreUnderMarker(ui::Label& label);
  void BuildDayMarkers();
  void MarkMonth(int month, int year);
  void ShowDayTimes(int day, int month, int year);
  // The UPSTYPE code of the first ticked row of the series list; none when no
  // row is ticked.
  std::optional<int> TickedSeriesCode() const;
  // Moves the focus along the keyboard order of the active page.
  void FocusNext(bool backwards);
  // The error box for a failure that ended an operation.
  void ShowFailure(const std::exception& failure);
  void Close();
  std::string ProgramFolder() const;
  // Notes a step of the start for the start-up benchmark.
  void Note(const char* step) const;

  std::unique_ptr<TINI> settings_;
  std::unique_ptr<TSchedule> schedule_;
  std::unique_ptr<TINI_LANGUAGE> language_;
  std::vector<std::vector<ui::Control*>> keyboardOrder_;  // per page
  bool hourglass_ = false;
};
