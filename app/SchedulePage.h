#pragma once
// The schedule page: the month's calendar with its markers, the set-up of
// an event, the commands that change the schedule in memory, and the
// schedule's shutdown parameters.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/PageParts.h"
#include "app/ShutdownGroup.h"
#include "app/Stores.h"
#include "platform/Clock.h"
#include "schedule/TADateTime.h"
#include "settings/SettingsRules.h"
#include "ui/Calendar.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/DrawnButton.h"
#include "ui/Group.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/TickList.h"

class SchedulePage {
 public:
  SchedulePage(IDialogs& dialogs, const Stores& stores, TADateTime& dates, const IClock& clock)
      : dialogs_(dialogs), stores_(stores), dates_(dates), clock_(clock) {}

  // The page is made after the window has shown (it is not the first).
  void Build(ui::Panel& page, const PageFonts& fonts);
  bool Built() const { return Calendar1.Handle() != nullptr; }
  void ApplyLanguage(const TINI_LANGUAGE& t, HFONT titleFont);
  // The marker buttons show no caption; their names are for screen readers.
  void NameMarkers(const TINI_LANGUAGE& t);
  // The calendar draws the markers in the kinds' colours.
  void BuildDayMarkers();
  void Show(const TINI& ini);
  // The marks of the calendar's month and the times of its day.
  void MarkShownMonth();
  void ApplySeriesRules(const settings_rules::SeriesRules& rules);
  void Store(TINI& ini) const;
  std::vector<ui::Control*> KeyboardOrder();
  // The labels sized to their captions: the marker labels centred under the
  // markers, the field labels ending before their fields.
  void PlaceFittedLabels();

  // Event handlers.
  void ButtonApplyClick();
  void ButtonClearClick();
  void ButtonResetClick();
  void ComboBox7Change();  // also the year list's
  void Calendar1Change();
  void CheckBox5Click();
  void ComboBox11Change(const IPowerCapabilities* power);

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
  // are the day markers, one set per kind: red, lime, blue.
  ui::Calendar Calendar1;

 private:
  ShutdownGroup ScheduleGroup() { return {CheckBox6, Label18, ComboBox11, CheckBox8}; }
  std::array<ui::MarkerButton*, 3> Markers() { return {&MarkerShutdown, &MarkerStartup, &MarkerTest}; }
  std::array<const ui::MarkerButton*, 3> Markers() const { return {&MarkerShutdown, &MarkerStartup, &MarkerTest}; }
  void CentreUnderMarker(ui::Label& label);
  void KeepBeforeField(ui::Label& label, const ui::Control& field);
  void EnableWeekdayList(bool on);

  // The calendar's day markers and the times of its selected day.
  void MarkMonth(int month, int year);
  void ShowDayTimes(int day, int month, int year);
  void MarkDay(int kind);
  void UnmarkDay(int kind, int day);
  void MarkWeekly(int kind, const std::string& mask);
  void UnmarkWeekly(int kind, const std::string& mask);
  // The kind whose marker button is down, if one is.
  std::optional<int> ChosenKind() const;
  // The year the commands act on: the year list's, or the calendar's when the list shows none.
  int ChosenYear() const;
  // The date text of the calendar's selected day in the month and year of the lists.
  std::string ChosenDateText();
  // The ticked weekdays, Sunday first.
  std::array<bool, 7> TickedWeekdays() const;

  IDialogs& dialogs_;
  const Stores& stores_;
  TADateTime& dates_;
  const IClock& clock_;
};
