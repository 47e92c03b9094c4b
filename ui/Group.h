#pragma once
#include <string>

#include "ui/Control.h"

namespace ui {

// A standard group box: a frame with a caption; the controls it encloses are
// siblings placed inside it.
class Group : public Control {
 public:
  void Create(const CaptionArgs& args);
  // Bounds of a control inside the group, given relative to the group.
  Bounds Inside(int left, int top, int width, int height) const;
  // Controls clip their siblings: once the enclosed controls exist, the group
  // goes beneath them so that they stay visible.
  void PlaceBeneathSiblings();

 private:
  Bounds bounds_;
};

}  // namespace ui
