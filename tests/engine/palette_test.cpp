#include "skin/palette.h"

#include <climits>

#include <gtest/gtest.h>

namespace skin {

void PrintTo(Rgb c, std::ostream* os) {
  *os << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};

TEST(HsvTest, RoundTripKeepsEveryColourExactly) {
  for (int r = 0; r < 256; r += 15) {
    for (int g = 0; g < 256; g += 15) {
      for (int b = 0; b < 256; b += 15) {
        Rgb c{uint8_t(r), uint8_t(g), uint8_t(b)};
        ASSERT_EQ(ToRgb(ToHsv(c)), c);
      }
    }
  }
}

TEST(HsvTest, KnownValues) {
  Hsv orange = ToHsv({255, 128, 0});
  EXPECT_NEAR(orange.h, 30.1, 0.1);
  EXPECT_DOUBLE_EQ(orange.s, 1.0);
  EXPECT_DOUBLE_EQ(orange.v, 1.0);
  Hsv grey = ToHsv({128, 128, 128});
  EXPECT_EQ(grey.s, 0.0);
  EXPECT_NEAR(grey.v, 0.502, 0.001);
  EXPECT_NEAR(ToHsv({255, 0, 128}).h, 329.9, 0.1);  // magenta side wraps below 360
}

TEST(WrapHueTest, AnyIntegerLandsInOneTurn) {
  EXPECT_EQ(WrapHue(0), 0);
  EXPECT_EQ(WrapHue(360), 0);
  EXPECT_EQ(WrapHue(-30), 330);
  EXPECT_EQ(WrapHue(-360), 0);
  EXPECT_EQ(WrapHue(32767), 7);
  EXPECT_EQ(WrapHue(-32768), 352);
  EXPECT_EQ(WrapHue(INT_MAX), INT_MAX % 360);
  int min = WrapHue(INT_MIN);
  EXPECT_GE(min, 0);
  EXPECT_LT(min, 360);
}

TEST(AdjustColorTest, HueRotatesThePrimaries) {
  EXPECT_EQ(AdjustColor(kRed, {120, 0, 0}), kGreen);
  EXPECT_EQ(AdjustColor(kGreen, {120, 0, 0}), kBlue);
  EXPECT_EQ(AdjustColor(kBlue, {120, 0, 0}), kRed);
  EXPECT_EQ(AdjustColor(kRed, {-120, 0, 0}), kBlue);
  EXPECT_EQ(AdjustColor(kRed, {180, 0, 0}), (Rgb{0, 255, 255}));
  EXPECT_EQ(AdjustColor(kRed, {-180, 0, 0}), (Rgb{0, 255, 255}));
  EXPECT_EQ(AdjustColor({255, 128, 0}, {30, 0, 0}), (Rgb{255, 255, 0}));
}

TEST(AdjustColorTest, HueOutsideOneTurnWraps) {
  Rgb c{0x2E, 0x5B, 0x9A};
  EXPECT_EQ(AdjustColor(c, {480, 0, 0}), AdjustColor(c, {120, 0, 0}));
  EXPECT_EQ(AdjustColor(c, {-240, 0, 0}), AdjustColor(c, {120, 0, 0}));
  EXPECT_EQ(AdjustColor(c, {32767, 0, 0}), AdjustColor(c, {7, 0, 0}));
  EXPECT_EQ(AdjustColor(c, {360, 0, 0}), c);
  EXPECT_NE(AdjustColor(c, {7, 0, 0}), c);
}

TEST(AdjustColorTest, HueKeepsGreysAndBrightness) {
  EXPECT_EQ(AdjustColor({0x80, 0x80, 0x80}, {77, 0, 0}), (Rgb{0x80, 0x80, 0x80}));
  EXPECT_EQ(AdjustColor({0, 0, 0}, {200, 0, 0}), (Rgb{0, 0, 0}));
  Hsv before = ToHsv({0xB2, 0x3A, 0x2A});
  Hsv after = ToHsv(AdjustColor({0xB2, 0x3A, 0x2A}, {100, 0, 0}));
  EXPECT_NEAR(after.v, before.v, 1 / 255.0);
  EXPECT_NEAR(after.s, before.s, 0.01);
  EXPECT_NEAR(after.h, before.h + 100, 1.0);
}

TEST(AdjustColorTest, SaturationAndBrightnessAreClamped) {
  Rgb pale{0xCC, 0xDD, 0xEE};
  EXPECT_EQ(AdjustColor(pale, {0, -100, 0}), (Rgb{0xEE, 0xEE, 0xEE}));  // grey at same value
  EXPECT_DOUBLE_EQ(ToHsv(AdjustColor(pale, {0, 100, 0})).s, 1.0);
  EXPECT_EQ(AdjustColor(pale, {0, 0, -100}), (Rgb{0, 0, 0}));
  EXPECT_EQ(AdjustColor({0x40, 0x20, 0x10}, {0, 0, 100}).r, 255);

  // Far beyond the range acts like the end of the range, never wraps.
  EXPECT_EQ(AdjustColor(pale, {0, 32767, 0}), AdjustColor(pale, {0, 100, 0}));
  EXPECT_EQ(AdjustColor(pale, {0, INT_MIN, 0}), AdjustColor(pale, {0, -100, 0}));
  EXPECT_EQ(AdjustColor(pale, {0, 0, INT_MAX}), AdjustColor(pale, {0, 0, 100}));
  EXPECT_EQ(AdjustColor(pale, {0, 0, -32768}), (Rgb{0, 0, 0}));
}

TEST(AdjustPaletteTest, ShiftsEveryRoleAndZeroIsIdentity) {
  Palette p;
  for (size_t i = 0; i < kRoleCount; i++) p.colors[i] = {uint8_t(40 * i), 200, 10};
  EXPECT_EQ(AdjustPalette(p, {}), p);
  Palette shifted = AdjustPalette(p, {90, 0, 0});
  for (size_t i = 0; i < kRoleCount; i++) {
    EXPECT_EQ(shifted.colors[i], AdjustColor(p.colors[i], {90, 0, 0})) << "role " << i;
  }
}

TEST(ContrastTest, Extremes) {
  EXPECT_NEAR(ContrastRatio({0, 0, 0}, {255, 255, 255}), 21.0, 0.01);
  EXPECT_NEAR(ContrastRatio({255, 255, 255}, {0, 0, 0}), 21.0, 0.01);
  EXPECT_DOUBLE_EQ(ContrastRatio({9, 99, 199}, {9, 99, 199}), 1.0);
  EXPECT_NEAR(ContrastRatio({0x76, 0x76, 0x76}, {255, 255, 255}), 4.54, 0.01);
}

}  // namespace
}  // namespace skin
