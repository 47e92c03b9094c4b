#pragma once
// The configuration page: the port, the start-up entry, the shutdown
// conditions, the series and the cable.
#include <functional>
#include <optional>
#include <vector>

#include "app/PageParts.h"
#include "app/ShutdownGroup.h"
#include "app/Stores.h"
#include "settings/SettingsRules.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/DrawnButton.h"
#include "ui/Group.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/Spinner.h"
#include "ui/TextField.h"
#include "ui/TickList.h"

class ConfigPage {
 public:
  ConfigPage(IDialogs& dialogs, const Stores& stores) : dialogs_(dialogs), stores_(stores) {}

  void Build(ui::Panel& page, const PageFonts& fonts);
  void ApplyLanguage(const TINI_LANGUAGE& t);
  // The spinners show no caption; their names, for screen readers, are the fields they step.
  void NameSpinners(const TINI_LANGUAGE& t);
  void Show(const TINI& ini);
  void ApplySeriesRules(const settings_rules::SeriesRules& rules);
  // OK stores nothing while either minute field is not a whole number.
  bool MinutesAreWholeNumbers() const;
  void Store(TINI& ini) const;
  std::vector<ui::Control*> KeyboardOrder();

  // The user chose a series (the detection preselects one the same way).
  std::function<void(int code)> OnSeriesChosen;

  // Event handlers.
  void CheckBox1Click();  // also of both "Shutdown UPS" boxes
  void CheckBox9Click();
  void CheckBox11Click();
  void CheckListBox1ClickCheck(int row);
  void CheckListBox4ClickCheck(int row);
  void UpDown1Click(int position);
  void UpDown2Click(int position);
  void ComboBox3Change();

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
  ui::TickList CheckListBox1;        // series list, rows of settings_rules::SeriesRows; UPSTYPE
  ui::Group GroupBox8;               // " Power fail shutdown parameter "
  ui::CheckBox CheckBox2;            // "Auto-Save Applications"; POWERFAIL_AUTO_SAVE
  ui::Label Label12;                 // "Shutdown computer type"
  ui::ComboBox ComboBox3;      // "Normal Shutdown", "Force Shutdown", "Hibernate"; POWERFAIL_SHUTDOWN_TYPE
  ui::CheckBox CheckBox3;      // "Shutdown UPS"; POWERFAIL_SHUTDOWN_UPS
  ui::TickList CheckListBox4;  // cable list "Tarvexi Cable", "Ombrel Adaptor"; UPSCABLE

 private:
  void EnableOverloadFields(bool on);
  // The UPSTYPE code of the ticked row of the series list; none when no row is ticked.
  std::optional<int> TickedSeriesCode() const;
  ShutdownGroup PowerFailGroup() { return {CheckBox2, Label12, ComboBox3, CheckBox3}; }

  IDialogs& dialogs_;
  const Stores& stores_;
};
