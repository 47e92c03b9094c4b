#include "ui/Fonts.h"

#include <utility>
#include <vector>

#include "ui/Control.h"

namespace ui {

HFONT Fonts::Get(const FontSpec& spec) {
  auto found = fonts_.find(spec);
  if (found == fonts_.end())
    found = fonts_.emplace(spec, MakeFont(spec.face, spec.points, spec.bold, dpi_)).first;
  return found->second.Get();
}

void Fonts::SetDpi(HWND window, int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  std::map<FontSpec, Font> old = std::exchange(fonts_, {});
  std::vector<std::pair<HFONT, HFONT>> changes;
  for (const auto& [spec, font] : old) changes.emplace_back(font.Get(), Get(spec));
  ReplaceFonts(window, changes);
  // The old fonts go only now, when no control shows them any more.
}

}  // namespace ui
