#pragma once
// How far apart two colours stand for a reader: the contrast ratio of the
// accessibility guidelines, from 1 (the same light) to 21 (black on white).
// Text wants at least 4.5, large text and captions at least 3.
#include <cstdint>

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

// The light a colour of the sRGB screen gives, 0 (black) to 1 (white).
double RelativeLuminance(Rgb colour);
// (lighter + 0.05) / (darker + 0.05): the order of the two does not matter.
double ContrastRatio(Rgb a, Rgb b);

inline constexpr double kTextContrast = 4.5;
inline constexpr double kCaptionContrast = 3.0;
