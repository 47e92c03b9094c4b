// The language of the text table put on the main window: its font, then every
// caption and list row, in one fixed order.
#include "app/TFormMain.h"

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

// The texts of a list's rows replaced in place, keeping their number and order.
void SetRowTexts(ui::TickList& list, const std::vector<std::string>& texts) {
  for (int row = 0; row < list.Count() && row < static_cast<int>(texts.size()); ++row)
    list.SetRowText(row, texts[row]);
}

}  // namespace

void TFormMain::ApplyLanguage() {
  const TINI_LANGUAGE& t = *language_;

  // Fonts. The schedule page's title and the low-battery note take the
  // window's font; the note is made bold and red again further down. The
  // calendar keeps its own font with the language's name and size.
  UseWindowFont({t.FONTNAME, t.FONTSIZE});
  Panel3.SetCaption(Panel3.Caption(), WindowFont(), kBlue);
  Label8.SetFont(WindowFont());
  calendarFont_ = {t.FONTNAME, t.FONTSIZE, calendarFont_.bold};
  Calendar1.SetFont(fonts_.Get(calendarFont_));

  // Bottom bar.
  ButtonOK.SetText(t.OK);
  ButtonCancel.SetText(t.CANCEL);

  // Configuration page.
  PageControl1.SetCaption(0, t.OMBREL_CONFIGURATIONS);
  Label1.SetCaption(t.UPS_COMMUNICATION_PORT);
  ComboBox1.SetRows({t.COM_1, t.COM_2, t.COM_3, t.COM_4, t.COM_5, t.COM_6, t.COM_7, t.COM_8});
  CheckBox4.SetText(t.RUN_OMBREL_WHEN_STARTUP);
  GroupBox7.SetText(t.SHUTDOWN_COMPUTER_WHEN);
  CheckBox1.SetText(t.OVERLOAD_SHUTDOWN_IN);
  ButtonAutoDetect.SetText(t.AUTO_DETECT_UPS);
  Label3.SetCaption(t.MINUTES);
  CheckBox9.SetText(t.POWER_FAIL_FOR);
  Label10.SetCaption(t.MINUTES);
  CheckBox11.SetText(t.RECOMMENDED_BACKUP_TIME_0_MINUTE);
  boldFont_ = {t.FONTNAME, t.FONTSIZE, true};
  Label8.SetFont(fonts_.Get(boldFont_));
  Label8.SetTextColor(kRed);
  Label8.SetCaption(t.AND_COMPUTER_WILL_SHUTDOWN_WHEN_LOW_BATTERY);
  Label13.SetCaption(t.TARVEXI_UPS_SERIES);
  SetRowTexts(CheckListBox1, {t.QZ_SERIES, t.VELTO_SERIES, t.SORANTHE_SERIES, t.GENERIC_SERIES});
  SetRowTexts(CheckListBox4, {t.CABLE_KR404D, t.OMBREL_ADAPTOR});
  GroupBox8.SetText(t.POWER_FAIL_SHUTDOWN_PARAMETER);
  CheckBox2.SetText(t.AUTO_SAVE_APPLICATIONS);
  Label12.SetCaption(t.SHUTDOWN_COMPUTER_TYPE);
  ComboBox3.SetRows({t.NORMAL_SHUTDOWN, t.FORCE_SHUTDOWN, t.HIBERNATE});
  CheckBox3.SetText(t.SHUTDOWN_UPS);

  // Schedule page.
  PageControl1.SetCaption(1, t.SCHEDULE_SETUP);
  Panel3.SetCaption(t.SCHEDULE_SETUP, WindowFont(), kBlue);
  Label15.SetCaption(t.MONTH);
  ComboBox7.SetRows({t.JANUARY, t.FEBRUARY, t.MARCH, t.APRIL, t.MAY, t.JUNE, t.JULY, t.AUGUST, t.SEPTEMBER,
                     t.OCTOBER, t.NOVEMBER, t.DECEMBER});
  Label16.SetCaption(t.YEAR);
  Label17.SetCaption(t.SHUTDOWN_TIME);
  Label4.SetCaption(t.STARTUP_TIME);
  Label7.SetCaption(t.TESTUPS_TIME);
  GroupBox3.SetText(t.SHUTDOWN_COMPUTER_PARAMETER);
  CheckBox6.SetText(t.AUTO_SAVE_APPLICATIONS);
  Label18.SetCaption(t.SHUTDOWN_COMPUTER_TYPE);
  ComboBox11.SetRows({t.NORMAL_SHUTDOWN, t.FORCE_SHUTDOWN, t.HIBERNATE});
  CheckBox8.SetText(t.SHUTDOWN_UPS);
  GroupBox14.SetText(t.SCHEDULE_SETUP);
  Label23.SetCaption(t.HOUR);
  Label24.SetCaption(t.MINUTE);
  CheckBox10.SetText(t.WARNING);
  CheckBox5.SetText(t.CURRENT_DAY);
  Label27.SetCaption(t.SHUTDOWN);
  CentreUnderMarker(Label27);
  Label28.SetCaption(t.STARTUP);
  CentreUnderMarker(Label28);
  Label29.SetCaption(t.TESTUPS);
  CentreUnderMarker(Label29);
  SetRowTexts(CheckListBox3, {t.SUNDAY, t.MONDAY, t.TUESDAY, t.WEDNESDAY, t.THURSDAY, t.FRIDAY, t.SATURDAY});
  ButtonApply.SetText(t.APPLY);
  ButtonClear.SetText(t.CLEAR);
  ButtonViewAll.SetText(t.VIEW_ALL);
  ButtonReset.SetText(t.RESET);

  // Others page.
  PageControl1.SetCaption(2, t.OTHERS);
  GroupBox2.SetText(t.EVENT_LOG);
  Label9.SetCaption(t.MAXIMUM);
  Label30.SetCaption(t.RECORDS);
  Label31.SetCaption(t.LOCATION);
  GroupBox1.SetText(t.DATA_LOG);
  CheckBox7.SetText(t.ENABLED);
  Label32.SetCaption(t.DAYS);
  Label33.SetCaption(t.INTERVAL_TIME);
  Label38.SetCaption(t.SECONDS);
  Label20.SetCaption(t.LOCATION);
  Label14.SetCaption(t.SELECT_LANGUAGE);
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

// The window's font becomes font, on every control that follows it.
void TFormMain::UseWindowFont(const ui::FontSpec& font) {
  HFONT old = WindowFont();
  windowFont_ = font;
  ui::ReplaceFont(Handle(), old, WindowFont());
}
