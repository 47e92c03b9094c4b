#pragma once
// A standard list view in report mode: columns with headers, rows of texts.
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

struct ReportListArgs {
  HWND parent = nullptr;
  Bounds bounds{};
  HFONT font = nullptr;
};

class ReportList : public Control {
 public:
  void Create(const ReportListArgs& args);
  void AddColumn(const std::string& caption, int width);
  void SetColumnCaption(int column, const std::string& caption);
  void AddRow(const std::vector<std::string>& cells);
  void Clear();
  int RowCount() const;
  std::string Cell(int row, int column) const;
};

}  // namespace ui
