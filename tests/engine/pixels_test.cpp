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

namespace skin {
namespace {

// Values worked by hand: the channels' extremes stay, the middle one moves
// by chroma / 60 a degree, and an exact half rounds up.
TEST(RotateHueTest, WorksInWholeNumbersRoundingHalvesUp) {
  const struct {
    uint32_t in;
    int degrees;
    uint32_t out;
  } cases[] = {
      {0xFF0000, 120, 0x00FF00}, {0xFF0000, 240, 0x0000FF}, {0xFF0000, 30, 0xFF8000},
      {0x00001E, 1, 0x01001E},   // 241 degrees: red 30 / 60 = 0.5, up
      {0x00005A, 1, 0x02005A},   // 90 / 60 = 1.5, up
      {0x000105, 30, 0x020005},  // 228 + 30 degrees: red rises 5 * 18 / 60 = 1.5, up
      {0x808080, 77, 0x808080},  // grey
      {0x204060, 0, 0x204060},   {0x204060, 359, 0x204160}, {0xC42B1C, 180, 0x1CB5C4},
  };
  for (const auto& c : cases) {
    const Rgb in{uint8_t(c.in >> 16), uint8_t(c.in >> 8), uint8_t(c.in)};
    const Rgb out = RotateHue(in, c.degrees);
    EXPECT_EQ(uint32_t(out.r) << 16 | uint32_t(out.g) << 8 | out.b, c.out)
        << std::hex << c.in << " by " << std::dec << c.degrees;
  }
}

// A picture and the colours beside it turn alike: a pixel of any alpha
// lands on the colour the same colour turns to, within the rounding of
// its alpha, and an opaque one exactly.
TEST(RotateHueTest, PicturesAgreeWithColoursAtEveryHue) {
  const uint32_t colours[] = {0xFFC42B1C, 0xFF18345B, 0xFF7FB8A4, 0x80400010, 0x20100804};
  for (int hue = -180; hue <= 180; hue += 7) {
    uint32_t out[5];
    ShiftPixels(colours, out, 5, {hue, 0, 0});
    for (int i = 0; i < 5; i++) {
      const uint32_t a = colours[i] >> 24;
      auto straight = [a](uint32_t v) { return (v * 255 + a / 2) / a; };
      const Rgb c{uint8_t(std::min(255u, straight(colours[i] >> 16 & 0xFF))),
                  uint8_t(std::min(255u, straight(colours[i] >> 8 & 0xFF))),
                  uint8_t(std::min(255u, straight(colours[i] & 0xFF)))};
      const Rgb turned = AdjustColor(c, {hue, 0, 0});
      EXPECT_EQ(out[i] >> 24, a);
      const int r = int(out[i] >> 16 & 0xFF), expected = int((turned.r * a + 127) / 255);
      EXPECT_EQ(r, expected) << "hue " << hue << " pixel " << i;
    }
  }
}

}  // namespace
}  // namespace skin
