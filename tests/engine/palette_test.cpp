#include "skin/palette.h"

#include <algorithm>
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

// A third of a turn moves every channel one place along: red becomes
// green, green blue, blue red. Every role gets its own colour, so a role
// left out, or shifted the wrong way, shows.
TEST(AdjustPaletteTest, ShiftsEveryRoleAndZeroIsIdentity) {
  Palette p;
  for (size_t i = 0; i < kRoleCount; i++) p.colors[i] = {uint8_t(10 * i + 5), 200, 30};
  EXPECT_EQ(AdjustPalette(p, {}), p);
  Palette forward = AdjustPalette(p, {120, 0, 0});
  Palette back = AdjustPalette(p, {-120, 0, 0});
  for (size_t i = 0; i < kRoleCount; i++) {
    const uint8_t r = uint8_t(10 * i + 5);
    EXPECT_EQ(forward.colors[i], (Rgb{30, r, 200})) << "role " << i;
    EXPECT_EQ(back.colors[i], (Rgb{200, 30, r})) << "role " << i;
  }
  // Brightness: 40 points off a value of 0.8 halves every channel.
  p.colors[0] = {0xCC, 0x00, 0x66};
  EXPECT_EQ(AdjustPalette(p, {0, 0, -40}).colors[0], (Rgb{0x66, 0x00, 0x33}));
}

TEST(ContrastTest, Extremes) {
  EXPECT_NEAR(ContrastRatio({0, 0, 0}, {255, 255, 255}), 21.0, 0.01);
  EXPECT_NEAR(ContrastRatio({255, 255, 255}, {0, 0, 0}), 21.0, 0.01);
  EXPECT_DOUBLE_EQ(ContrastRatio({9, 99, 199}, {9, 99, 199}), 1.0);
  EXPECT_NEAR(ContrastRatio({0x76, 0x76, 0x76}, {255, 255, 255}), 4.54, 0.01);
}

}  // namespace
}  // namespace skin

namespace skin {
namespace {

// The lowest contrast of two roles over every whole hue shift, as the
// engine paints them (AdjustPalette shifts every role alike).
double WorstOverHues(const Palette& p, Role a, Role b) {
  double worst = 21;
  for (int hue = -180; hue <= 180; hue++) {
    Palette shifted = AdjustPalette(p, {hue, 0, 0});
    worst = std::min(worst, ContrastRatio(shifted[a], shifted[b]));
  }
  return worst;
}

struct Pair {
  Role front, back;
  double ratio;
};

// Every pair the engine draws one on the other: texts 7:1, lines 3:1.
const Pair kDerivedPairs[] = {
    {Role::CaptionActiveText, Role::CaptionActive, 7},
    {Role::CaptionInactiveText, Role::CaptionInactive, 7},
    {Role::ButtonText, Role::ButtonFace, 7},
    {Role::ButtonText, Role::ButtonHover, 7},
    {Role::ButtonText, Role::ButtonPressed, 7},
    {Role::SelectionText, Role::Selection, 7},
    {Role::MenuHighlightText, Role::MenuHighlight, 7},
    {Role::ButtonBorder, Role::Face, 3},
    {Role::ButtonBorder, Role::ButtonFace, 3},
    {Role::ScrollThumb, Role::ScrollTrack, 3},
    {Role::CheckMark, Role::Window, 3},
    {Role::CheckMark, Role::ButtonHover, 3},
    {Role::CheckMark, Role::ButtonPressed, 3},
};

Palette Six(Rgb face, Rgb face_text, Rgb window, Rgb window_text, Rgb menu, Rgb border) {
  Palette p;
  p[Role::Face] = face;
  p[Role::FaceText] = face_text;
  p[Role::Window] = window;
  p[Role::WindowText] = window_text;
  p[Role::Menu] = menu;
  p[Role::Border] = border;
  return p;
}

std::array<bool, kRoleCount> OnlyTheSix() {
  std::array<bool, kRoleCount> given{};
  for (size_t i = 0; i < kRequiredRoleCount; i++) given[i] = true;
  return given;
}

// Black and white only: every rule can be followed by hand, and no hue
// shift changes a grey.
TEST(DeriveMissingTest, BlackAndWhiteSkinGetsTheDocumentedColours) {
  const Rgb black{0, 0, 0}, white{255, 255, 255};
  Palette p = Six(white, black, white, black, white, black);
  DeriveMissing(&p, OnlyTheSix());
  EXPECT_EQ(p[Role::CaptionActive], black);                   // the border
  EXPECT_EQ(p[Role::CaptionActiveText], white);               // window colour, 21:1
  EXPECT_EQ(p[Role::CaptionInactive], (Rgb{191, 191, 191}));  // face + 25 % border
  EXPECT_EQ(p[Role::CaptionInactiveText], black);             // face text, 11.4:1
  EXPECT_EQ(p[Role::ButtonFace], white);                      // face and window halfway
  EXPECT_EQ(p[Role::ButtonText], black);
  EXPECT_EQ(p[Role::ButtonHover], (Rgb{217, 217, 217}));    // 15 % border, 14.9:1
  EXPECT_EQ(p[Role::ButtonPressed], (Rgb{178, 178, 178}));  // hover + 18 % border, 9.9:1
  EXPECT_EQ(p[Role::ButtonBorder], black);
  EXPECT_EQ(p[Role::Selection], black);
  EXPECT_EQ(p[Role::SelectionText], white);
  EXPECT_EQ(p[Role::MenuText], black);
  EXPECT_EQ(p[Role::MenuHighlight], black);
  EXPECT_EQ(p[Role::MenuHighlightText], white);
  EXPECT_EQ(p[Role::ScrollTrack], white);
  EXPECT_EQ(p[Role::ScrollThumb], (Rgb{102, 102, 102}));  // 60 % border, 5.7:1 on white
  EXPECT_EQ(p[Role::CheckMark], black);
  // The six given colours are never touched.
  EXPECT_EQ(p[Role::Face], white);
  EXPECT_EQ(p[Role::Border], black);
}

// Cobalt #2E5B9A takes white text at 6.8:1 as it is, and turned green by
// a hue shift at about 3.5:1: the caption darkens, keeping its hue, just
// far enough for 7:1 at every hue.
TEST(DeriveMissingTest, AMidToneAccentDarkensJustEnoughUnderWhiteText) {
  Palette p = Six({0xE9, 0xF0, 0xF8}, {0x12, 0x2A, 0x4E}, {0xFF, 0xFF, 0xFF}, {0x0F, 0x1F, 0x3D},
                  {0xDC, 0xE7, 0xF4}, {0x2E, 0x5B, 0x9A});
  DeriveMissing(&p, OnlyTheSix());
  EXPECT_EQ(p[Role::CaptionActiveText], (Rgb{255, 255, 255}));
  Hsv caption = ToHsv(p[Role::CaptionActive]);
  EXPECT_NEAR(caption.h, 214.8, 2.0);  // the hue of #2E5B9A
  EXPECT_LT(caption.v, 0.604);         // darker than #2E5B9A (value 154/255)
  double worst = WorstOverHues(p, Role::CaptionActiveText, Role::CaptionActive);
  EXPECT_GE(worst, 7.0);
  EXPECT_LE(worst, 7.5);  // not darker than needed
}

TEST(DeriveMissingTest, EveryDerivedPairReadsAtEveryHue) {
  struct {
    const char* what;
    Palette six;
  } skins[] = {
      {"light blue", Six({0xE4, 0xE9, 0xF0}, {0x1F, 0x2A, 0x3A}, {0xFB, 0xFC, 0xFE},
                         {0x1E, 0x29, 0x3B}, {0xEE, 0xF1, 0xF6}, {0x7A, 0x8B, 0xA3})},
      {"dark, light menu", Six({0x2B, 0x2F, 0x36}, {0xE8, 0xEA, 0xED}, {0x1E, 0x22, 0x27},
                               {0xF1, 0xF3, 0xF5}, {0xD9, 0xDD, 0xE3}, {0x5E, 0x81, 0xAC})},
      {"pure green accent", Six({0xF0, 0xF0, 0xF0}, {0x10, 0x10, 0x10}, {0xFF, 0xFF, 0xFF},
                                {0x00, 0x00, 0x00}, {0xF0, 0xF0, 0xF0}, {0x00, 0xFF, 0x00})},
      {"mid-grey everything", Six({0x80, 0x80, 0x80}, {0x80, 0x80, 0x80}, {0x77, 0x77, 0x77},
                                  {0x88, 0x88, 0x88}, {0x80, 0x80, 0x80}, {0x80, 0x80, 0x80})},
      {"saturated red accent", Six({0xFF, 0xF0, 0xF0}, {0x40, 0x00, 0x00}, {0xFF, 0xFF, 0xFF},
                                   {0x00, 0x00, 0x00}, {0xFF, 0xE0, 0xE0}, {0xFF, 0x00, 0x00})},
      {"border same as face", Six({0x33, 0x66, 0x99}, {0xFF, 0xFF, 0xFF}, {0x33, 0x66, 0x99},
                                  {0xFF, 0xFF, 0xFF}, {0x33, 0x66, 0x99}, {0x33, 0x66, 0x99})},
  };
  for (auto& s : skins) {
    SCOPED_TRACE(s.what);
    Palette p = s.six;
    DeriveMissing(&p, OnlyTheSix());
    for (const Pair& pair : kDerivedPairs) {
      EXPECT_GE(WorstOverHues(p, pair.front, pair.back), pair.ratio)
          << RoleKey(pair.front) << " on " << RoleKey(pair.back);
    }
    for (size_t i = 0; i < kRequiredRoleCount; i++) EXPECT_EQ(p.colors[i], s.six.colors[i]);
    // The menu is one of the six and never moves: its text reads 7:1 where
    // black or white can, else as well as the better of the two.
    Palette black = p, white = p;
    black[Role::MenuText] = {0, 0, 0};
    white[Role::MenuText] = {255, 255, 255};
    double best = std::max(WorstOverHues(black, Role::MenuText, Role::Menu),
                           WorstOverHues(white, Role::MenuText, Role::Menu));
    EXPECT_GE(WorstOverHues(p, Role::MenuText, Role::Menu), std::min(7.0, best) - 1e-9);
  }
}

TEST(DeriveMissingTest, GivenColoursStayAsTheSkinSaysAndMoveWhatIsDerived) {
  Palette six = Six({0xF0, 0xF0, 0xF0}, {0x10, 0x10, 0x10}, {0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00},
                    {0xF0, 0xF0, 0xF0}, {0x80, 0x80, 0xFF});
  // A given pair that does not read is the skin author's choice.
  Palette p = six;
  std::array<bool, kRoleCount> given = OnlyTheSix();
  p[Role::CaptionActive] = {0x77, 0x77, 0x77};
  p[Role::CaptionActiveText] = {0x88, 0x88, 0x88};
  given[size_t(Role::CaptionActive)] = given[size_t(Role::CaptionActiveText)] = true;
  DeriveMissing(&p, given);
  EXPECT_EQ(p[Role::CaptionActive], (Rgb{0x77, 0x77, 0x77}));
  EXPECT_EQ(p[Role::CaptionActiveText], (Rgb{0x88, 0x88, 0x88}));

  // A given text: the derived background under it moves (toward black
  // under white text), not the text.
  p = six;
  given = OnlyTheSix();
  p[Role::SelectionText] = {0xFF, 0xFF, 0xFF};
  given[size_t(Role::SelectionText)] = true;
  DeriveMissing(&p, given);
  EXPECT_EQ(p[Role::SelectionText], (Rgb{0xFF, 0xFF, 0xFF}));
  EXPECT_LT(ToHsv(p[Role::Selection]).v, 1.0);  // #8080FF darkened
  EXPECT_GE(WorstOverHues(p, Role::SelectionText, Role::Selection), 7.0);

  // A given background: the text is picked for it, the background stays.
  p = six;
  given = OnlyTheSix();
  p[Role::Selection] = {0x20, 0x20, 0x20};
  given[size_t(Role::Selection)] = true;
  DeriveMissing(&p, given);
  EXPECT_EQ(p[Role::Selection], (Rgb{0x20, 0x20, 0x20}));
  EXPECT_EQ(p[Role::SelectionText], (Rgb{0xFF, 0xFF, 0xFF}));  // window colour, 16:1
}

}  // namespace
}  // namespace skin
