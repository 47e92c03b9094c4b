#pragma once
// A standard list view in report mode: columns with headers, rows of texts.
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
  // The first column's texts always stand at its left, as the list view draws them.
  void AddColumn(const std::string& caption, int width, Align align = Align::Left);
  void SetColumnCaption(int column, const std::string& caption);
  std::string ColumnCaption(int column) const;
  // The background of the list and of its texts.
  void SetBackground(COLORREF color);
  void AddRow(const std::vector<std::string>& cells);
  // Replaces every row; the list is drawn once, after the last row.
  void SetRows(const std::vector<std::vector<std::string>>& rows);
  void Clear();
  int RowCount() const;
  std::string Cell(int row, int column) const;
};

}  // namespace ui
