// The state colours the look draws with, worked out from a palette by
// rule. Each rule is pinned by its properties at and around its edges:
// an input just below, at and above each threshold (their ratios worked
// out beforehand and written beside them), the way each move goes, and
// the pole it falls back to. Ratios are checked with a contrast formula
// written out here, not the engine's.
#include "skin/states.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace skin {
namespace {

// WCAG 2 contrast ratio, written out independently of palette.cpp.
double Channel(int c) {
  double v = c / 255.0;
  return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}
double Lum(Rgb c) { return 0.2126 * Channel(c.r) + 0.7152 * Channel(c.g) + 0.0722 * Channel(c.b); }
double Ratio(Rgb a, Rgb b) {
  double x = Lum(a), y = Lum(b);
  return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

constexpr Rgb Hex(uint32_t v) { return {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }

#define EXPECT_RGB(actual, expected) \
  EXPECT_EQ(actual, Hex(expected))   \
      << std::hex << "got " << int((actual).r) << "," << int((actual).g) << "," << int((actual).b)

// A dark palette (Graphite as it shipped before its states were designed)
// with every role given.
Palette Dark() {
  Palette p;
  p[Role::Window] = Hex(0x1E2227);
  p[Role::WindowText] = Hex(0xF1F3F5);
  p[Role::Face] = Hex(0x2B2F36);
  p[Role::FaceText] = Hex(0xE8EAED);
  p[Role::Menu] = Hex(0x262A30);
  p[Role::Border] = Hex(0x8197B5);
  p[Role::CaptionActive] = Hex(0x32435A);
  p[Role::CaptionActiveText] = Hex(0xFFFFFF);
  p[Role::CaptionInactive] = Hex(0x30353D);
  p[Role::CaptionInactiveText] = Hex(0xD5D9DF);
  p[Role::ButtonFace] = Hex(0x363B44);
  p[Role::ButtonText] = Hex(0xE8EAED);
  p[Role::ButtonHover] = Hex(0x3C434F);
  p[Role::ButtonPressed] = Hex(0x2F343C);
  p[Role::ButtonBorder] = Hex(0x8197B5);
  p[Role::Selection] = Hex(0xA9BDD9);
  p[Role::SelectionText] = Hex(0x141A22);
  p[Role::MenuText] = Hex(0xE8EAED);
  p[Role::MenuHighlight] = Hex(0xA9BDD9);
  p[Role::MenuHighlightText] = Hex(0x141A22);
  p[Role::ScrollTrack] = Hex(0x24282E);
  p[Role::ScrollThumb] = Hex(0x6A7B93);
  p[Role::CheckMark] = Hex(0xF1F3F5);
  return p;
}

// The thresholds of the rules, as docs/skin-format.md states them.
constexpr double kHoverStep = 1.4;    // caption button hover against its band
constexpr double kPressStep = 1.25;   // caption button pressed against hover
constexpr double kKeptHover = 1.2;    // a skin's push button hover is kept from here
constexpr double kMadeHover = 1.25;   // else one is made standing this far off rest
constexpr double kKeptPressed = 1.4;  // a skin's pressed colour is kept from here
constexpr double kMadePressed = 1.5;  // else one is made standing this far off rest
constexpr double kTextFloor = 4.5;
constexpr double kDisabled = 3.3;
constexpr double kMinimalMove = 1.03;  // a made colour overshoots its step by at most 3 %

// A made colour stands at least `step` off `from`, and no further than
// needed.
void ExpectStep(Rgb made, Rgb from, double step, const char* what) {
  EXPECT_GE(Ratio(made, from), step) << what;
  EXPECT_LE(Ratio(made, from), step * kMinimalMove) << what;
}

// The caption buttons' hover and press on each band: hover a 1.4 step off
// the band toward the glyph (lighter on a dark band, darker on a light
// one), pressed a 1.25 step further the same way, so that pressed stands
// further from the band than hover.
TEST(CaptionButtonStates, HoverStepsTowardTheGlyphAndPressedStepsFurther) {
  Palette light = Dark();
  light[Role::CaptionInactive] = Hex(0xB7D3C6);  // 6.30:1 off the active band
  light[Role::CaptionInactiveText] = Hex(0x0E2E22);
  struct Case {
    const char* name;
    Palette palette;
    int active;
    Rgb band;  // as drawn
    bool lighter;
  } cases[] = {
      {"dark active band", Dark(), 1, Hex(0x32435A), true},
      {"dark inactive band", Dark(), 0, DesignStates(Dark()).caption_inactive, true},
      {"light inactive band", light, 0, Hex(0xB7D3C6), false},
  };
  for (const Case& c : cases) {
    StateColors s = DesignStates(c.palette);
    Rgb hover = s.caption_hover[c.active], pressed = s.caption_pressed[c.active];
    ExpectStep(hover, c.band, kHoverStep, c.name);
    ExpectStep(pressed, hover, kPressStep, c.name);
    EXPECT_GT(Ratio(pressed, c.band), Ratio(hover, c.band)) << c.name;
    EXPECT_EQ(Lum(hover) > Lum(c.band), c.lighter) << c.name;
    EXPECT_EQ(Lum(pressed) > Lum(hover), c.lighter) << c.name;
  }
}

TEST(CaptionButtonStates, CloseTurnsRedWithAWhiteGlyphAndPressesDarker) {
  StateColors s = DesignStates(Dark());
  EXPECT_RGB(s.close_hover, 0xC42B1C);
  EXPECT_GE(Ratio(Hex(0xFFFFFF), s.close_hover), 4.5);
  ExpectStep(s.close_pressed, s.close_hover, kPressStep, "close");
  EXPECT_LT(Lum(s.close_pressed), Lum(s.close_hover));
}

// The inactive band stands 1.35:1 off the body, 1.2:1 off the active band
// and 4.5:1 under its text; a skin band that does is kept.
void ExpectInactiveBand(Rgb band, const Palette& p) {
  EXPECT_GE(Ratio(band, p[Role::Face]), 1.35);
  EXPECT_GE(Ratio(band, p[Role::CaptionActive]), 1.2);
  EXPECT_GE(Ratio(band, p[Role::CaptionInactiveText]), kTextFloor);
}

TEST(InactiveBand, MovesTowardItsTextFromTheBody) {
  // #30353D stood 1.09:1 off the face: an inactive window lost its title.
  StateColors s = DesignStates(Dark());
  ExpectInactiveBand(s.caption_inactive, Dark());
  EXPECT_GT(Lum(s.caption_inactive), Lum(Hex(0x30353D)));    // toward the light text
  EXPECT_LT(Ratio(s.caption_inactive, Hex(0x30353D)), 2.0);  // a step, not a new colour
}

TEST(InactiveBand, ASkinBandThatAlreadyShowsIsKept) {
  Palette p = Dark();
  p[Role::CaptionInactive] = Hex(0x4A4F56);  // 1.63, 1.22 and 5.83:1
  EXPECT_RGB(DesignStates(p).caption_inactive, 0x4A4F56);
}

// Toward the light text the band can only lose the text (2.32:1 on it):
// it falls back toward the other pole, black, and darkens.
TEST(InactiveBand, WhereTheMoveTowardTheTextFailsItGoesTheOtherWay) {
  Palette p = Dark();
  p[Role::Face] = Hex(0x4C2B14);
  p[Role::CaptionInactiveText] = Hex(0x98CADC);
  p[Role::CaptionInactive] = Hex(0x518779);
  Rgb band = DesignStates(p).caption_inactive;
  ExpectInactiveBand(band, p);
  EXPECT_LT(Lum(band), Lum(Hex(0x518779)));
}

// A skin's push button colours are kept from their thresholds on (hover
// 1.2:1 off rest, pressed 1.4:1) and replaced just below them, by
// colours a 1.25 and a 1.5 step off rest toward the text. Rest is
// #363B44 with text #E8EAED; each input is rest mixed toward the text.
TEST(PushButtonStates, ASkinColourIsKeptFromItsThresholdOnAndReplacedBelowIt) {
  struct Case {
    Role role;
    uint32_t skin;
    double ratio;  // off rest, worked out beforehand
    bool kept;
  } cases[] = {
      {Role::ButtonHover, 0x42464F, 1.19, false},   {Role::ButtonHover, 0x434850, 1.22, true},
      {Role::ButtonHover, 0x454A52, 1.26, true},    {Role::ButtonPressed, 0x474C54, 1.30, false},
      {Role::ButtonPressed, 0x4C5058, 1.39, false}, {Role::ButtonPressed, 0x4D5159, 1.41, true},
  };
  const Rgb rest = Hex(0x363B44);
  for (const Case& c : cases) {
    Palette p = Dark();
    p[c.role] = Hex(c.skin);
    ASSERT_NEAR(Ratio(Hex(c.skin), rest), c.ratio, 0.01);
    StateColors s = DesignStates(p);
    bool hover = c.role == Role::ButtonHover;
    Rgb made = hover ? s.button_hover : s.button_pressed;
    std::string what = (hover ? "hover " : "pressed ") + std::to_string(c.ratio);
    if (c.kept) {
      EXPECT_EQ(made, Hex(c.skin)) << what;
    } else {
      ExpectStep(made, rest, hover ? kMadeHover : kMadePressed, what.c_str());
      EXPECT_GT(Lum(made), Lum(rest)) << what;  // toward the light text
    }
    EXPECT_GE(Ratio(made, rest), hover ? kKeptHover : kKeptPressed) << what;
  }
}

TEST(PushButtonStates, APressedColourTooCloseToTheTextIsReplaced) {
  Palette p = Dark();
  p[Role::ButtonPressed] = Hex(0xB0B4BA);  // far from rest, but text on it 1.9:1
  StateColors s = DesignStates(p);
  EXPECT_GE(Ratio(Hex(0xE8EAED), s.button_pressed), kTextFloor);
  ExpectStep(s.button_pressed, Hex(0x363B44), kMadePressed, "pressed");
  EXPECT_GT(Lum(s.button_pressed), Lum(s.button_hover));  // further than hover
}

TEST(Lines, SeparatorStandsThreeToOneOffTheMenu) {
  Palette light = Dark();
  light[Role::Menu] = Hex(0xD3EADF);
  light[Role::MenuText] = Hex(0x123F2E);
  // Before: a 70 % blend of text into the menu, 1.71:1.
  StateColors s = DesignStates(light);
  ExpectStep(s.separator, Hex(0xD3EADF), 3.2, "separator");
  EXPECT_LT(Lum(s.separator), Lum(Hex(0xD3EADF)));  // toward the dark text
}

// The channel is kept from 1.3:1 off the list on, and made a 1.35 step
// off it below that; the thumb kept from 3:1 off the channel, and made a
// 3.2 step off it below.
TEST(Lines, ScrollChannelShowsAgainstTheListAndTheThumbAgainstTheChannel) {
  Palette p = Dark();
  p[Role::Window] = Hex(0xFAFCFF);
  p[Role::WindowText] = Hex(0x0A1A33);
  p[Role::ScrollTrack] = Hex(0xDDE7F3);  // 1.22:1 off the list
  p[Role::ScrollThumb] = Hex(0x7E9CC6);  // 2.25:1 off that channel
  StateColors s = DesignStates(p);
  ExpectStep(s.scroll_track, Hex(0xFAFCFF), 1.35, "track");
  EXPECT_LT(Lum(s.scroll_track), Lum(Hex(0xFAFCFF)));
  ExpectStep(s.scroll_thumb, s.scroll_track, 3.2, "thumb");
  EXPECT_LT(Lum(s.scroll_thumb), Lum(Hex(0x7E9CC6)));  // toward the dark text
  EXPECT_GE(Ratio(s.scroll_thumb_pressed, s.scroll_thumb), kPressStep);

  p[Role::ScrollTrack] = Hex(0xD9DFE8);  // 1.30:1: kept
  p[Role::ScrollThumb] = Hex(0x6A7F9C);  // 3.06:1 off it: kept
  s = DesignStates(p);
  EXPECT_RGB(s.scroll_track, 0xD9DFE8);
  EXPECT_RGB(s.scroll_thumb, 0x6A7F9C);
}

TEST(Lines, AWindowEdgeShowsOnBlackAndOnWhiteDesktops) {
  Palette p = Dark();
  for (uint32_t border : {0x8A4034u /* 2.86:1 on black */, 0x8197B5u /* 2.99:1 on white */}) {
    p[Role::Border] = Hex(border);
    Rgb edge = DesignStates(p).edge;
    EXPECT_GE(Ratio(edge, Hex(0x000000)), 3.0) << border;
    EXPECT_GE(Ratio(edge, Hex(0xFFFFFF)), 3.0) << border;
    EXPECT_LT(Ratio(edge, Hex(border)), 1.3) << border;  // a step, not a new colour
  }
  p[Role::Border] = Hex(0x375C8D);  // 3.08:1 and 6.82:1: kept
  EXPECT_RGB(DesignStates(p).edge, 0x375C8D);
}

// Disabled text: kept where it is no stronger than 3.3:1; else halfway to
// its background where that still reads 3.3:1, else just 3.3:1. It only
// ever fades: never further from the background than the text was.
TEST(DisabledText, FadesHalfwayWhereThatReadsElseToThreePointThree) {
  const Rgb menu = Hex(0x262A30);
  struct Case {
    uint32_t text, back;
    double ratio;  // of the text, worked out beforehand
  } cases[] = {
      {0xE8EAED, 0x262A30, 11.96},  // halfway, #878A8F, reads 4.16:1
      {0x123F2E, 0xD3EADF, 9.35},   // halfway would be 2.60:1
      {0x777A7E, 0x262A30, 3.344},  // just above the mark
      {0x76797D, 0x262A30, 3.297},  // just below it: kept
  };
  for (const Case& c : cases) {
    Rgb text = Hex(c.text), back = Hex(c.back);
    ASSERT_NEAR(Ratio(text, back), c.ratio, 0.01);
    Rgb faded = Faded(text, back);
    if (c.ratio < kDisabled) {
      EXPECT_EQ(faded, text);
      continue;
    }
    EXPECT_GE(Ratio(faded, back), kDisabled) << c.text;
    EXPECT_LT(Ratio(faded, back), c.ratio) << c.text;
    EXPECT_EQ(Lum(faded) > Lum(back), Lum(text) > Lum(back)) << c.text;
  }
  // Halfway: every channel midway between text and menu.
  Rgb half = Faded(Hex(0xE8EAED), menu);
  EXPECT_NEAR(half.r, (0xE8 + 0x26) / 2.0, 1);
  EXPECT_NEAR(half.g, (0xEA + 0x2A) / 2.0, 1);
  EXPECT_NEAR(half.b, (0xED + 0x30) / 2.0, 1);
  ExpectStep(Faded(Hex(0x123F2E), Hex(0xD3EADF)), Hex(0xD3EADF), kDisabled, "to 3.3");
  ExpectStep(Faded(Hex(0x777A7E), menu), menu, kDisabled, "just above");
}

// An inactive title reads inactive. Where its band stands 2:1 off the
// active band, by the band: the skin's text is kept. Where the bands look
// alike, by its text: dimmed toward its band to 60 % of the active
// title's contrast, but never under 4.5:1.
TEST(InactiveTitle, DimmedWhereTheBandsLookAlikeKeptWhereTheyStandApart) {
  struct Case {
    const char* name;
    uint32_t band, text, active_text;
    double bands;   // inactive band against #32435A, worked out beforehand
    double dimmed;  // the title's contrast wanted; 0: the skin's text kept
  } cases[] = {
      // White on #32435A is 10.07:1; 60 % of it 6.04:1.
      {"dark bands, bright title", 0x4A4F56, 0xFFFFFF, 0xFFFFFF, 1.22, 6.04},
      {"dark bands, title already dim", 0x4A4F56, 0xC0C4C8, 0xFFFFFF, 1.22, 0},  // 4.71:1,
      {"light band", 0xB7D3C6, 0x0E2E22, 0xFFFFFF, 6.30, 0},
      // #D0D0D0 on #32435A is 6.53:1; 60 % of it, 3.92:1, is under the floor.
      {"bands just under 2:1", 0x637081, 0xFFFFFF, 0xD0D0D0, 2.00, kTextFloor},
      {"bands just over 2:1", 0x647182, 0xFFFFFF, 0xD0D0D0, 2.03, 0},
  };
  for (const Case& c : cases) {
    Palette p = Dark();
    p[Role::CaptionInactive] = Hex(c.band);
    p[Role::CaptionInactiveText] = Hex(c.text);
    p[Role::CaptionActiveText] = Hex(c.active_text);
    ASSERT_NEAR(Ratio(Hex(c.band), Hex(0x32435A)), c.bands, 0.01) << c.name;
    StateColors s = DesignStates(p);
    ASSERT_EQ(s.caption_inactive, Hex(c.band)) << c.name;  // a band kept as it is
    Rgb title = s.caption_inactive_text;
    if (c.dimmed == 0) {
      EXPECT_EQ(title, Hex(c.text)) << c.name;
      continue;
    }
    ExpectStep(title, Hex(c.band), c.dimmed, c.name);
    EXPECT_LT(Ratio(title, Hex(c.band)), Ratio(Hex(c.text), Hex(c.band))) << c.name;
    EXPECT_EQ(Lum(title) > Lum(Hex(c.band)), Lum(Hex(c.text)) > Lum(Hex(c.band))) << c.name;
  }
}

}  // namespace
}  // namespace skin
