// Twips to pixels: the numbers of the conversion at the test display's
// 96 DPI and at two other densities.
#include <gtest/gtest.h>

#include "toolkit/twips.h"

namespace {

TEST(Twips, ConvertToTheNearestPixelAtAnyDensity) {
  // 96 DPI, 15 twips a pixel.
  EXPECT_EQ(121, toolkit::TwipsToPixels(1815, 15));
  EXPECT_EQ(12, toolkit::TwipsToPixels(175, 15));    // 11.67
  EXPECT_EQ(8, toolkit::TwipsToPixels(112.5f, 15));  // halves away from zero
  EXPECT_EQ(-8, toolkit::TwipsToPixels(-112.5f, 15));
  EXPECT_EQ(0, toolkit::TwipsToPixels(7, 15));
  // 120 DPI, 12 twips a pixel: the start-up size 15600 x 11250 twips.
  EXPECT_EQ(1300, toolkit::TwipsToPixels(15600, 12));
  EXPECT_EQ(938, toolkit::TwipsToPixels(11250, 12));  // 937.5
  EXPECT_EQ(371, toolkit::TwipsToPixels(4455, 12));   // 371.25
  // 144 DPI, 10 twips a pixel.
  EXPECT_EQ(18, toolkit::TwipsToPixels(175, 10));    // 17.5
  EXPECT_EQ(512, toolkit::TwipsToPixels(5115, 10));  // 511.5
}

TEST(Twips, PlacesOnTheDisplayKeepTheirRoundedSize) {
  ASSERT_EQ(15.0f, toolkit::TwipsPerPixelX());  // the test display has 96 DPI
  ASSERT_EQ(15.0f, toolkit::TwipsPerPixelY());
  RECT r = toolkit::PixelRect({175, 960, 630, 180});
  EXPECT_EQ(12, r.left);  // 11.67
  EXPECT_EQ(64, r.top);
  EXPECT_EQ(54, r.right);  // 42 wide
  EXPECT_EQ(76, r.bottom);
  // 7.5 pixels from the left, 7.5 wide: the right edge is 8 + 8, not 15.
  r = toolkit::PixelRect({112.5f, 0, 112.5f, 15});
  EXPECT_EQ(16, r.right);
  EXPECT_EQ(1, r.bottom);
  EXPECT_EQ(4680.0f, toolkit::TwipsX(312));
  EXPECT_EQ(45.0f, toolkit::TwipsY(3));
}

}  // namespace
