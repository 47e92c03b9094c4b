#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

// A standard combo box: a drop-down list (rows only) or a drop-down with an
// edit part. Setting the selection from code runs nothing; a user's choice
// runs OnChange.
class ComboBox : public Control {
 public:
  enum class Kind { DropDownList, DropDown };

  // bounds.height is the height with the list dropped down.
  void Create(HWND parent, const Bounds& bounds, Kind kind, const std::vector<std::string>& rows, HFONT font);
  void SetRows(const std::vector<std::string>& rows);
  int Count() const;
  std::string RowText(int row) const;
  // The row whose text equals text exactly (case counts), or -1.
  int IndexOf(const std::string& text) const;

  int ItemIndex() const;
  void SetItemIndex(int row);  // -1 or out of range: no row, empty text

  // The edit part (DropDown only) takes at most maxLength characters.
  void SetMaxLength(int maxLength);
  // Typed characters: only digits and Backspace reach the edit part.
  void AllowDigitsOnly();
  // Typed characters are all dropped.
  void BlockTyping();
  // The window that takes the keyboard focus and typed characters.
  HWND TypingTarget() const;

  void SetEnabled(bool on) override;

  std::function<void()> OnChange;

  void OnCommand(int code) override;
};

}  // namespace ui
