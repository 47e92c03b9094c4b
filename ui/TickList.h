#pragma once
// A list of rows with a tick box each: a standard list view in report mode
// with check boxes and no header, so that tools reading the screen see the
// ticks. Setting ticks from code runs nothing; a user's toggle runs
// OnClickCheck with the toggled row, which also becomes the selected row.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

struct TickListArgs {
  HWND parent = nullptr;
  Bounds bounds{};
  std::vector<std::string> rows{};
  int rowHeight = 16;  // at 96 DPI
  bool border = true;
  HFONT font = nullptr;
};

class TickList : public Control {
 public:
  TickList() = default;
  ~TickList() override;

  void Create(const TickListArgs& args);
  void SetRows(const std::vector<std::string>& rows);
  void Add(const std::string& row);
  void Clear();
  // Sorts the rows alphabetically, ignoring case, keeping their ticks.
  void Sort();

  int Count() const;
  std::string RowText(int row) const;
  void SetRowText(int row, const std::string& text);
  bool Checked(int row) const;
  void SetChecked(int row, bool on);
  // The rule of the lists in which at most one row is ticked: every row but
  // keep is unticked, keep keeps its own tick (-1 unticks every row).
  void UntickAllBut(int keep);
  // Row ticked and every other row unticked (-1 or out of range: none ticked).
  void TickOnly(int row);
  int SelectedRow() const;  // -1 when none
  // Where the tick box of a row lies, in client coordinates.
  RECT TickBoxRect(int row) const;

  void SetEnabled(bool on) override;

  std::function<void(int row)> OnClickCheck;

  bool OnNotify(NMHDR& header, LRESULT& result) override;
  void OnDpiChanged(int oldDpi, int newDpi) override;
  void OnSystemColours() override;

 private:
  // The window colour enabled, the button face disabled.
  void ShowBackground();
  void SizeRows(int dpi);
  void FitColumn();
  int rowHeight_ = 16;  // of the layout, at 96 DPI
  HIMAGELIST rowHeightList_ = nullptr;
  HIMAGELIST tickImages_ = nullptr;
  int settingFromCode_ = 0;
};

}  // namespace ui
