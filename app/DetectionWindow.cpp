// What the main window does for a UPS detection run (the run itself is the
// module's): the button, the hourglass, the port being probed and what was found.
#include "app/SeriesRows.h"
#include "app/TFormMain.h"
#include "ui/BusyCursor.h"

void TFormMain::ButtonAutoDetectClick() {
  module_.AutoDetectClick(language_->MESSAGE_CONFIRM_DETECT);
}

// Over every window of the program: the overview window can be opened while
// a run goes on.
void TFormMain::ShowHourglass(bool on) {
  ui::ShowBusyCursor(on);
}

void TFormMain::ShowProbedPort(int n) {
  ComboBox1.SetItemIndex(n - 1);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TFormMain::PreselectUps(int n, int seriesCode) {
  ComboBox1.SetItemIndex(n - 1);
  const int row = SeriesRowOfCode(seriesCode);
  CheckListBox1.TickOnly(row);
  if (row >= 0) CheckListBox1ClickCheck(row);
}

const TINI_LANGUAGE& TFormMain::Texts() const {
  return *language_;
}
