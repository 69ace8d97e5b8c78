// The diagnostics window's sizes across monitor scales.
#include "host/diag_layout.h"

#include <gtest/gtest.h>

namespace qorv {
namespace {

TEST(DiagLayout, SizesFollowTheScale) {
  struct Case {
    int dpi;
    int width, height;
  } cases[] = {
      {96, 480, 300},  {120, 600, 375}, {144, 720, 450}, {192, 960, 600},
      {72, 360, 225},  // below 100 %
      {0, 480, 300},   {-96, 480, 300},  // no DPI known: as designed
  };
  for (const Case& c : cases) {
    const DiagSize size = DiagWindowSize(c.dpi);
    EXPECT_EQ(size.width, c.width) << c.dpi;
    EXPECT_EQ(size.height, c.height) << c.dpi;
  }
}

TEST(DiagLayout, FontHeightsRoundToTheNearestPixelAndNeverBecomeTheDefault) {
  struct Case {
    int height, fromDpi, dpi, expected;
  } cases[] = {
      {-12, 96, 144, -18},  {-12, 96, 120, -15}, {-15, 120, 96, -12}, {-9, 96, 120, -11},  // -11.25
      {-11, 96, 120, -14},  // -13.75
      {-5, 96, 120, -6},    // -6.25
      {-1, 192, 96, -1},    // a half: away from zero
      {-1, 96, 24, -1},     {1, 96, 24, 1},  // a quarter would round to 0, the default size
      {12, 96, 144, 18},    // a cell height
      {-12, 0, 144, -18},   {-12, 96, 0, -12},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FontHeightAt(c.height, c.fromDpi, c.dpi), c.expected) << c.height << " " << c.fromDpi << " " << c.dpi;
  }
}

// Scaling there and back returns the value for every common scale, and a larger scale never gives a
// smaller size.
TEST(DiagLayout, ScalingIsMonotonicAndUndoable) {
  const int dpis[] = {96, 120, 144, 168, 192, 240, 288};
  for (int value = -200; value <= 200; ++value) {
    int previous = ScaleToDpi(value, 72);
    for (int dpi : dpis) {
      const int scaled = ScaleToDpi(value, dpi);
      EXPECT_EQ(FontHeightAt(scaled, dpi, 96), value == 0 ? 1 : value) << value << " " << dpi;
      if (value >= 0) {
        EXPECT_GE(scaled, previous) << value << " " << dpi;
      } else {
        EXPECT_LE(scaled, previous) << value << " " << dpi;
      }
      previous = scaled;
    }
  }
}

}  // namespace
}  // namespace qorv
