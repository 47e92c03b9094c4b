#include "app/PageParts.h"

#include "schedule/CalendarMarks.h"

std::vector<std::string> NumberRows(const std::vector<int>& numbers, bool twoDigits) {
  std::vector<std::string> rows;
  for (int n : numbers) rows.push_back(twoDigits ? TwoDigits(n) : std::to_string(n));
  return rows;
}

void SetIfOther(ui::Control& control, const std::string& text) {
  if (control.Text() != text) control.SetText(text);
}

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

void SetRowTexts(ui::TickList& list, const std::vector<std::string>& texts) {
  for (int row = 0; row < list.Count() && row < static_cast<int>(texts.size()); ++row)
    if (list.RowText(row) != texts[row]) list.SetRowText(row, texts[row]);
}
