// What the main window does for a UPS detection run (the run itself is the
// module's): the button, the hourglass, the port being probed and what was found.
#include "app/TFormMain.h"
#include "ui/BusyCursor.h"

// Over every window of the program: the overview window can be opened while
// a run goes on.
void TFormMain::ShowHourglass(bool on) {
  ui::ShowBusyCursor(on);
}

void TFormMain::ShowProbedPort(int n) {
  Page1.ComboBox1.SetItemIndex(n - 1);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TFormMain::PreselectUps(int n, int seriesCode) {
  Page1.ComboBox1.SetItemIndex(n - 1);
  const int row = settings_rules::SeriesRowOfCode(seriesCode).value_or(-1);
  Page1.CheckListBox1.TickOnly(row);
  if (row >= 0) Page1.CheckListBox1ClickCheck(row);
}

const TINI_LANGUAGE& TFormMain::Texts() const {
  return *stores_.language;
}
