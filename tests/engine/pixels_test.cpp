// The hue shift of picture pixels, with expected values worked out by hand.
#include "skin/pixels.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(ShiftPixelsTest, TurnsOpaquePixelsLikeColours) {
  // Pure red turned by 120 degrees is pure green; 240 gives pure blue.
  uint32_t in[] = {0xFFFF0000, 0xFF00FF00};
  uint32_t out[2];
  ShiftPixels(in, out, 2, {120, 0, 0});
  EXPECT_EQ(out[0], 0xFF00FF00u);
  EXPECT_EQ(out[1], 0xFF0000FFu);
}

TEST(ShiftPixelsTest, KeepsAlphaAndWorksOnTheUnpremultipliedColour) {
  // Half-transparent pure red is stored as 0x80 of 0x80: unpremultiplied
  // it is (255, 0, 0); turned by 120 degrees (0, 255, 0); premultiplied
  // again 255 * 128 / 255 = 128.
  uint32_t pixels[] = {0x80800000, 0x00000000};
  ShiftPixels(pixels, pixels, 2, {120, 0, 0});
  EXPECT_EQ(pixels[0], 0x80008000u);
  EXPECT_EQ(pixels[1], 0u);
}

TEST(ShiftPixelsTest, BrightnessLowersValue) {
  // (200, 100, 100) is V = 200/255; 20 points lower, V = 0.584...: the
  // largest channel becomes 200 - 51 = 149, the others keep S = 0.5: 74.5,
  // rounded to 75 (with the palette's rounding; 74 or 75 both mean the
  // shift happened, so the test allows either).
  uint32_t pixel = 0xFFC86464;
  ShiftPixels(&pixel, &pixel, 1, {0, 0, -20});
  EXPECT_EQ(pixel >> 16 & 0xFF, 149u);
  EXPECT_NEAR(double(pixel >> 8 & 0xFF), 74.5, 0.6);
  EXPECT_EQ(pixel >> 24, 0xFFu);
}

TEST(ShiftPixelsTest, NoShiftKeepsEveryPixel) {
  uint32_t in[] = {0xFF123456, 0x40102030, 0x01010000};
  uint32_t out[3];
  ShiftPixels(in, out, 3, {0, 0, 0});
  EXPECT_EQ(out[0], in[0]);
  EXPECT_EQ(out[1], in[1]);
  EXPECT_EQ(out[2], in[2]);
}

}  // namespace
}  // namespace skin
