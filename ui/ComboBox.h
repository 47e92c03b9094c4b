#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/KeyFilters.h"

namespace ui {

struct ComboBoxArgs;

// A standard combo box: a drop-down list (rows only) or a drop-down with an
// edit part. Setting the selection from code runs nothing; a user's choice
// runs OnChange.
class ComboBox : public Control {
 public:
  enum class Kind { DropDownList, DropDown };

  void Create(const ComboBoxArgs& args);
  void SetRows(const std::vector<std::string>& rows);
  int Count() const;
  std::string RowText(int row) const;
  // The row whose text equals text exactly (case counts), or -1.
  int IndexOf(const std::string& text) const;

  int ItemIndex() const;
  void SetItemIndex(int row);  // -1 or out of range: no row, empty text

  // The window that takes the keyboard focus and typed characters.
  HWND TypingTarget() const;

  void SetEnabled(bool on) override;

  std::function<void()> OnChange;

  void OnCommand(int code) override;

 private:
  // Typed characters reach the box (drop-down list) or its edit part.
  ProcedureHook boxFilter_;
  ProcedureHook editFilter_;
};

struct ComboBoxArgs {
  HWND parent = nullptr;
  Bounds bounds{};  // its height is the height with the list dropped down
  ComboBox::Kind kind = ComboBox::Kind::DropDownList;
  std::vector<std::string> rows{};
  int maxLength = 0;  // of the edit part (DropDown); 0: any length
  Typing typing = Typing::Any;
  HFONT font = nullptr;
};

}  // namespace ui
