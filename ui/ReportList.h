#pragma once
// A standard list view in report mode: columns with headers, rows of texts.
// The wrapper holds the texts and the list view asks for those it shows
// (a virtual list), so that a list of many rows is filled in no time.
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

struct ReportListArgs {
  HWND parent = nullptr;
  Bounds bounds{};
  bool gridLines = false;
  HFONT font = nullptr;
};

enum class Align { Left, Centre, Right };

class ReportList : public Control {
 public:
  void Create(const ReportListArgs& args);
  // The first column's texts always stand at its left, as the list view
  // draws them. The width is of the 96-DPI layout.
  void AddColumn(const std::string& caption, int width, Align align = Align::Left);
  void SetColumnCaption(int column, const std::string& caption);
  std::string ColumnCaption(int column) const;
  // The background of the list and of its texts: the colour given where the
  // system's window text reads on it (and not in a high-contrast theme), else
  // the system's window colour.
  void SetBackground(COLORREF color);
  void AddRow(const std::vector<std::string>& cells);
  // Replaces every row.
  void SetRows(std::vector<std::vector<std::string>> rows);
  void Clear();
  int RowCount() const;
  // The cell's text as the list view gives it (to a screen reader, say).
  std::string Cell(int row, int column) const;

  bool OnNotify(NMHDR& header, LRESULT& result) override;
  void OnDpiChanged(int oldDpi, int newDpi) override;
  void OnSystemColours() override;

 private:
  void ShowBackground();
  void ShowHeading();
  COLORREF background_ = CLR_INVALID;  // the program's own, if it has given one
  bool plainHeading_ = false;          // the heading drawn without the theme
  void ShowRowCount();
  std::vector<std::vector<std::string>> rows_;
  std::wstring shown_;  // the text last handed to the list view
};

}  // namespace ui
