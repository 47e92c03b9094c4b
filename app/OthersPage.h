#pragma once
// The Others page: the event log, the data log and the language list.
#include <string>
#include <vector>

#include "app/PageParts.h"
#include "app/Stores.h"
#include "platform/Dialogs.h"
#include "settings/SettingsRules.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/DrawnButton.h"
#include "ui/Group.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/TextField.h"
#include "ui/TickList.h"

class OthersPage {
 public:
  explicit OthersPage(IDialogs& dialogs) : dialogs_(dialogs) {}

  void Build(ui::Panel& page, const PageFonts& fonts);
  void ApplyLanguage(const TINI_LANGUAGE& t);
  // One row per folder of Languages, sorted.
  void FillLanguageList(const std::vector<std::string>& languages);
  void Show(const TINI& ini);
  // The data log follows the stored switch where the series keeps one.
  void ApplySeriesRules(const settings_rules::SeriesRules& rules, bool storedDataLog);
  // Throws AppError when a number field holds no whole number.
  void Store(TINI& ini) const;
  std::vector<ui::Control*> KeyboardOrder();

  // Event handlers.
  void CheckBox7Click();
  void CheckListBox2ClickCheck(int row);
  void SpeedButton1Click();
  void SpeedButton2Click();

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

 private:
  void EnableDataLogFields(bool on);
  IDialogs& dialogs_;
};
