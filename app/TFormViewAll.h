#pragma once
// The overview window: every dated event of the schedule store in one table
// and the three weekly rules beside each other, only to be read. The program
// entry makes it, hidden; View All shows it modally.
#include <array>
#include <functional>

#include "app/Services.h"
#include "i18n/TINI_LANGUAGE.h"
#include "schedule/TSchedule.h"
#include "settings/TINI.h"
#include "ui/Fonts.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/PushButton.h"
#include "ui/ReportList.h"
#include "ui/TickList.h"
#include "ui/Window.h"
#include "util/TAString.h"

inline constexpr char kViewAllTitle[] = "Ombrel Calendar View Version 7.20";

class TFormViewAll : public ui::Window {
 public:
  // owner: the main window, which cannot be used while this one shows.
  TFormViewAll(const Services& services, HWND owner);
  ~TFormViewAll() override;

  // Fills the window afresh from the store, the weekly rules of the settings
  // and the texts, shows it in the middle of the screen with its owner
  // disabled, and returns once the user has closed it.
  void ShowModalFor(const TSchedule& schedule, const TINI& settings, const TINI_LANGUAGE& texts,
                    const TAString& strings);

  // Title and size; the weekly panels disabled and without bevels.
  void FormCreate();
  // Fills every text, row, tick and time from the sources.
  void FormShow(const TSchedule& schedule, const TINI& settings, const TINI_LANGUAGE& texts,
                const TAString& strings);
  // Ends the showing: the window hides and ShowModalFor returns.
  void Close();
  bool Showing() const { return showing_; }
  // F1 while the window shows.
  std::function<void()> OnHelpKey;

 private:
  // Declared before the controls so that they outlive them.
  ui::Fonts fonts_;
  ui::FontSpec fontSpec_{"MS Sans Serif", 8};  // of the window and every control in it

 public:
  ui::ReportList ListView1;  // the dated events: DAY, TIME, TYPE, WARNING
  // The weekly rules: shutdown, start-up, UPS test.
  ui::Panel Panel3;
  ui::Label Label1;  // "Shutdown"
  ui::Label Label2;  // "Time :"
  ui::Label Label7;  // the weekly shutdown time
  ui::TickList CheckListBox3;
  ui::Panel Panel4;
  ui::Label Label3;  // "StartUp"
  ui::Label Label4;
  ui::Label Label8;
  ui::TickList CheckListBox1;
  ui::Panel Panel5;
  ui::Label Label5;  // "TestUPS"
  ui::Label Label6;
  ui::Label Label9;
  ui::TickList CheckListBox2;
  ui::Panel Panel1;  // the strip at the bottom
  ui::PushButton ButtonClose;

  // The controls of one kind's weekly panel.
  struct WeeklyPanel {
    ui::Panel& panel;
    ui::Label& caption;
    ui::Label& timeCaption;
    ui::Label& time;
    ui::TickList& days;
  };
  // In the order shutdown, start-up, UPS test.
  std::array<WeeklyPanel, 3> WeeklyPanels();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDpiChanged(int oldDpi) override;

 private:
  void BuildControls();
  void PlaceTimes();

  HWND owner_;
  bool showing_ = false;
};
