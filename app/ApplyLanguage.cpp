// The language of the text table put on the main window: every caption and
// list row, in one fixed order. The controls were made in the language's font
// with their built-in texts; only what the language says otherwise is set,
// as each change is a call into the window system and a repaint.
#include "app/TFormMain.h"

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);

void SetIfOther(ui::Control& control, const std::string& text) {
  if (control.Text() != text) control.SetText(text);
}

// A label that fits its text is fitted again only when the text changes.
bool SetIfOther(ui::Label& label, const std::string& text) {
  if (label.Text() == text) return false;
  label.SetCaption(text);
  return true;
}

void SetIfOther(ui::TabPages& pages, int index, const std::string& caption) {
  if (pages.Caption(index) != caption) pages.SetCaption(index, caption);
}

void SetIfOther(ui::ComboBox& list, const std::vector<std::string>& rows) {
  bool same = list.Count() == static_cast<int>(rows.size());
  for (int row = 0; same && row < list.Count(); ++row) same = list.RowText(row) == rows[row];
  if (!same) list.SetRows(rows);
}

// The texts of a list's rows replaced in place, keeping their number and order.
void SetRowTexts(ui::TickList& list, const std::vector<std::string>& texts) {
  for (int row = 0; row < list.Count() && row < static_cast<int>(texts.size()); ++row)
    if (list.RowText(row) != texts[row]) list.SetRowText(row, texts[row]);
}

}  // namespace

// The schedule page's title and the low-battery note are made in the
// language's font too; the note bold and red, the title in the window's font.
void TFormMain::UseLanguageFonts() {
  const TINI_LANGUAGE& t = *language_;
  windowFont_ = {t.FONTNAME, t.FONTSIZE};
  boldFont_ = {t.FONTNAME, t.FONTSIZE, true};
  calendarFont_ = {t.FONTNAME, t.FONTSIZE, calendarFont_.bold};
}

void TFormMain::ApplyLanguage() {
  const TINI_LANGUAGE& t = *language_;

  // Bottom bar.
  SetIfOther(ButtonOK, t.OK);
  SetIfOther(ButtonCancel, t.CANCEL);

  // Configuration page.
  SetIfOther(PageControl1, 0, t.OMBREL_CONFIGURATIONS);
  SetIfOther(Label1, t.UPS_COMMUNICATION_PORT);
  SetIfOther(ComboBox1, {t.COM_1, t.COM_2, t.COM_3, t.COM_4, t.COM_5, t.COM_6, t.COM_7, t.COM_8});
  SetIfOther(CheckBox4, t.RUN_OMBREL_WHEN_STARTUP);
  SetIfOther(GroupBox7, t.SHUTDOWN_COMPUTER_WHEN);
  SetIfOther(CheckBox1, t.OVERLOAD_SHUTDOWN_IN);
  SetIfOther(ButtonAutoDetect, t.AUTO_DETECT_UPS);
  SetIfOther(Label3, t.MINUTES);
  SetIfOther(CheckBox9, t.POWER_FAIL_FOR);
  SetIfOther(Label10, t.MINUTES);
  SetIfOther(CheckBox11, t.RECOMMENDED_BACKUP_TIME_0_MINUTE);
  SetIfOther(Label8, t.AND_COMPUTER_WILL_SHUTDOWN_WHEN_LOW_BATTERY);
  SetIfOther(Label13, t.TARVEXI_UPS_SERIES);
  SetRowTexts(CheckListBox1, {t.QZ_SERIES, t.VELTO_SERIES, t.SORANTHE_SERIES, t.GENERIC_SERIES});
  SetRowTexts(CheckListBox4, {t.CABLE_KR404D, t.OMBREL_ADAPTOR});
  SetIfOther(GroupBox8, t.POWER_FAIL_SHUTDOWN_PARAMETER);
  SetIfOther(CheckBox2, t.AUTO_SAVE_APPLICATIONS);
  SetIfOther(Label12, t.SHUTDOWN_COMPUTER_TYPE);
  SetIfOther(ComboBox3, {t.NORMAL_SHUTDOWN, t.FORCE_SHUTDOWN, t.HIBERNATE});
  SetIfOther(CheckBox3, t.SHUTDOWN_UPS);

  // The later pages, once they are made.
  SetIfOther(PageControl1, 1, t.SCHEDULE_SETUP);
  SetIfOther(PageControl1, 2, t.OTHERS);
  if (laterPagesMade_) ApplyLanguageToLaterPages();
}

void TFormMain::ApplyLanguageToLaterPages() {
  const TINI_LANGUAGE& t = *language_;

  // Schedule page.
  Panel3.SetCaption(t.SCHEDULE_SETUP, WindowFont(), kBlue);
  SetIfOther(Label15, t.MONTH);
  SetIfOther(ComboBox7, {t.JANUARY, t.FEBRUARY, t.MARCH, t.APRIL, t.MAY, t.JUNE, t.JULY, t.AUGUST,
                         t.SEPTEMBER, t.OCTOBER, t.NOVEMBER, t.DECEMBER});
  SetIfOther(Label16, t.YEAR);
  SetIfOther(Label17, t.SHUTDOWN_TIME);
  SetIfOther(Label4, t.STARTUP_TIME);
  SetIfOther(Label7, t.TESTUPS_TIME);
  SetIfOther(GroupBox3, t.SHUTDOWN_COMPUTER_PARAMETER);
  SetIfOther(CheckBox6, t.AUTO_SAVE_APPLICATIONS);
  SetIfOther(Label18, t.SHUTDOWN_COMPUTER_TYPE);
  SetIfOther(ComboBox11, {t.NORMAL_SHUTDOWN, t.FORCE_SHUTDOWN, t.HIBERNATE});
  SetIfOther(CheckBox8, t.SHUTDOWN_UPS);
  SetIfOther(GroupBox14, t.SCHEDULE_SETUP);
  SetIfOther(Label23, t.HOUR);
  SetIfOther(Label24, t.MINUTE);
  SetIfOther(CheckBox10, t.WARNING);
  SetIfOther(CheckBox5, t.CURRENT_DAY);
  if (SetIfOther(Label27, t.SHUTDOWN)) CentreUnderMarker(Label27);
  if (SetIfOther(Label28, t.STARTUP)) CentreUnderMarker(Label28);
  if (SetIfOther(Label29, t.TESTUPS)) CentreUnderMarker(Label29);
  SetRowTexts(CheckListBox3, {t.SUNDAY, t.MONDAY, t.TUESDAY, t.WEDNESDAY, t.THURSDAY, t.FRIDAY, t.SATURDAY});
  SetIfOther(ButtonApply, t.APPLY);
  SetIfOther(ButtonClear, t.CLEAR);
  SetIfOther(ButtonViewAll, t.VIEW_ALL);
  SetIfOther(ButtonReset, t.RESET);

  // Others page.
  SetIfOther(GroupBox2, t.EVENT_LOG);
  SetIfOther(Label9, t.MAXIMUM);
  SetIfOther(Label30, t.RECORDS);
  SetIfOther(Label31, t.LOCATION);
  SetIfOther(GroupBox1, t.DATA_LOG);
  SetIfOther(CheckBox7, t.ENABLED);
  SetIfOther(Label32, t.DAYS);
  SetIfOther(Label33, t.INTERVAL_TIME);
  SetIfOther(Label38, t.SECONDS);
  SetIfOther(Label20, t.LOCATION);
  SetIfOther(Label14, t.SELECT_LANGUAGE);
}

// A marker label, sized to its caption, centred across the marker panel; one
// wider than the panel gets a negative left edge. Its top stays.
void TFormMain::CentreUnderMarker(ui::Label& label) {
  RECT panel{};
  GetWindowRect(Panel4.Handle(), &panel);
  int panelWidth = panel.right - panel.left;
  ui::Bounds place = label.Place();
  SetWindowPos(label.Handle(), nullptr, (panelWidth - place.width) / 2, place.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
