#pragma once
#include <string>

#include "ui/Control.h"
#include "ui/ProcedureHook.h"

namespace ui {

// A standard group box: a frame with a caption; the controls it encloses are
// siblings placed inside it. It paints itself (the same etched frame and
// caption) because the system's painting clips the caption at its measured
// width, cutting a last letter that reaches past it ("when" showing "wher").
class Group : public Control {
 public:
  void Create(const CaptionArgs& args);
  // Bounds of a control inside the group, given relative to the group.
  Bounds Inside(int left, int top, int width, int height) const;
  // Controls clip their siblings: once the enclosed controls exist, the group
  // goes beneath them so that they stay visible.
  void PlaceBeneathSiblings();

  // The frame and the caption; the inside is left to what lies beneath.
  void Paint(HDC dc) const;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  Bounds bounds_;
  ProcedureHook paintHook_;
};

}  // namespace ui
