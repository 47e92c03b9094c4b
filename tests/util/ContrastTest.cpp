#include <gtest/gtest.h>

#include "util/Contrast.h"

// Against the published figures: black on white is 21:1, and #767676 is the
// lightest grey that still reads as text on white, #777777 the first that
// does not.
TEST(Contrast, PublishedReferencePoints) {
  const Rgb black{0, 0, 0}, white{255, 255, 255};
  EXPECT_NEAR(ContrastRatio(black, white), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(white, black), 21.0, 1e-9);
  EXPECT_DOUBLE_EQ(ContrastRatio({12, 34, 56}, {12, 34, 56}), 1.0);
  EXPECT_GE(ContrastRatio({0x76, 0x76, 0x76}, white), kTextContrast);
  EXPECT_LT(ContrastRatio({0x77, 0x77, 0x77}, white), kTextContrast);
  EXPECT_NEAR(ContrastRatio({0x77, 0x77, 0x77}, white), 4.48, 0.01);
}

// The program's own colours where they stand: the blue heading fails on a
// black face and the red note passes on the usual light grey one, but only
// just; green weighs most in the eye's light, blue least.
TEST(Contrast, OwnColoursOnTheFacesTheyMeet) {
  const Rgb blue{0, 0, 255}, red{255, 0, 0}, face{240, 240, 240};
  EXPECT_LT(ContrastRatio(blue, {0, 0, 0}), kCaptionContrast);
  EXPECT_NEAR(ContrastRatio(blue, {0, 0, 0}), 2.44, 0.01);
  EXPECT_GE(ContrastRatio(red, face), kCaptionContrast);
  EXPECT_LT(ContrastRatio(red, face), kTextContrast);
  EXPECT_GT(RelativeLuminance({0, 255, 0}), RelativeLuminance(red));
  EXPECT_GT(RelativeLuminance(red), RelativeLuminance(blue));
}
