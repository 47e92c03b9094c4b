#pragma once
// The fonts of one window: one font object per face, size and weight at the
// window's DPI, shared by every control that shows it, made when first asked
// for and deleted with the window.
#include <windows.h>

#include <compare>
#include <map>
#include <string>

#include "ui/Gdi.h"

namespace ui {

struct FontSpec {
  std::string face;
  int points = 8;
  bool bold = false;
  auto operator<=>(const FontSpec&) const = default;
};

class Fonts {
 public:
  explicit Fonts(int dpi = 96) : dpi_(dpi) {}

  // The font of spec at the window's DPI: the same object for the same spec.
  HFONT Get(const FontSpec& spec);
  int Dpi() const { return dpi_; }
  // Makes every font again for dpi; the windows of this library inside
  // window that showed an old one show its new one.
  void SetDpi(HWND window, int dpi);

 private:
  int dpi_;
  std::map<FontSpec, Font> fonts_;
};

}  // namespace ui
