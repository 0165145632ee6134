// The state colours the look draws with, worked out from a palette by
// rule. Expected colours are stated; the ratios they must meet are
// checked with a contrast formula written out here, not the engine's.
#include "skin/states.h"

#include <cmath>

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

TEST(CaptionButtonStates, HoverAndPressShowOnADarkBandAndKeepTheGlyphReadable) {
  StateColors s = DesignStates(Dark());
  // Before: the push buttons' hover (#3C434F) stood 1.01:1 off this band.
  EXPECT_RGB(s.caption_hover[1], 0x49596D);
  EXPECT_RGB(s.caption_pressed[1], 0x59687A);
  const Rgb band = Hex(0x32435A);
  EXPECT_GE(Ratio(s.caption_hover[1], band), 1.25);
  EXPECT_LE(Ratio(s.caption_hover[1], band), 2.5);
  EXPECT_GE(Ratio(s.caption_pressed[1], s.caption_hover[1]), 1.15);
  EXPECT_GE(Ratio(Hex(0xFFFFFF), s.caption_pressed[1]), 4.5);
}

TEST(CaptionButtonStates, CloseTurnsRedWithAWhiteGlyphAndPressesDarker) {
  StateColors s = DesignStates(Dark());
  EXPECT_RGB(s.close_hover, 0xC42B1C);
  EXPECT_GE(Ratio(Hex(0xFFFFFF), s.close_hover), 4.5);
  EXPECT_GE(Ratio(s.close_pressed, s.close_hover), 1.15);
  EXPECT_LT(Lum(s.close_pressed), Lum(s.close_hover));
}

TEST(InactiveBand, StandsOffTheBodyAndTheActiveBand) {
  StateColors s = DesignStates(Dark());
  // #30353D stood 1.09:1 off the face: an inactive window lost its title.
  EXPECT_RGB(s.caption_inactive, 0x4A4F56);
  EXPECT_GE(Ratio(s.caption_inactive, Hex(0x2B2F36)), 1.3);
  EXPECT_GE(Ratio(s.caption_inactive, Hex(0x32435A)), 1.2);
  EXPECT_GE(Ratio(s.caption_inactive, Hex(0xD5D9DF)), 4.5);
}

TEST(InactiveBand, ASkinBandThatAlreadyShowsIsKept) {
  Palette p = Dark();
  p[Role::CaptionInactive] = Hex(0x4A4F56);
  EXPECT_RGB(DesignStates(p).caption_inactive, 0x4A4F56);
}

TEST(PushButtonStates, ASkinHoverThatShowsIsKeptOneThatDoesNotIsReplaced) {
  Palette p = Dark();
  p[Role::ButtonHover] = Hex(0x454A52);    // 1.26:1 off #363B44
  p[Role::ButtonPressed] = Hex(0x4F5358);  // 1.45:1
  StateColors kept = DesignStates(p);
  EXPECT_RGB(kept.button_hover, 0x454A52);
  EXPECT_RGB(kept.button_pressed, 0x4F5358);

  StateColors s = DesignStates(Dark());  // 1.13:1 and 1.11:1 (darker than rest)
  EXPECT_GE(Ratio(s.button_hover, Hex(0x363B44)), 1.2);
  EXPECT_GE(Ratio(s.button_pressed, Hex(0x363B44)), 1.4);
  EXPECT_GE(Ratio(Hex(0xE8EAED), s.button_pressed), 4.5);
  // Toward the text: lighter on a dark skin.
  EXPECT_GT(Lum(s.button_hover), Lum(Hex(0x363B44)));
  EXPECT_GT(Lum(s.button_pressed), Lum(s.button_hover));
}

TEST(PushButtonStates, APressedColourTooCloseToTheTextIsReplaced) {
  Palette p = Dark();
  p[Role::ButtonPressed] = Hex(0xB0B4BA);  // far from rest, but text on it 1.9:1
  StateColors s = DesignStates(p);
  EXPECT_GE(Ratio(Hex(0xE8EAED), s.button_pressed), 4.5);
  EXPECT_GE(Ratio(s.button_pressed, Hex(0x363B44)), 1.4);
}

TEST(Lines, SeparatorStandsThreeToOneOffTheMenu) {
  Palette light = Dark();
  light[Role::Menu] = Hex(0xD3EADF);
  light[Role::MenuText] = Hex(0x123F2E);
  // Before: a 70 % blend of text into the menu, 1.71:1.
  StateColors s = DesignStates(light);
  EXPECT_GE(Ratio(s.separator, Hex(0xD3EADF)), 3.0);
  EXPECT_LT(Ratio(s.separator, Hex(0xD3EADF)), 3.6);  // a line, not a second text
}

TEST(Lines, ScrollChannelShowsAgainstTheListAndTheThumbAgainstTheChannel) {
  Palette p = Dark();
  p[Role::Window] = Hex(0xFAFCFF);
  p[Role::WindowText] = Hex(0x0A1A33);
  p[Role::ScrollTrack] = Hex(0xDDE7F3);  // 1.22:1 off the list
  p[Role::ScrollThumb] = Hex(0x7E9CC6);
  StateColors s = DesignStates(p);
  EXPECT_RGB(s.scroll_track, 0xD7DBE2);
  EXPECT_RGB(s.scroll_thumb, 0x5F799F);
  EXPECT_GE(Ratio(s.scroll_track, Hex(0xFAFCFF)), 1.3);
  EXPECT_GE(Ratio(s.scroll_thumb, s.scroll_track), 3.0);
  EXPECT_GE(Ratio(s.scroll_thumb_pressed, s.scroll_thumb), 1.15);
}

TEST(Lines, AWindowEdgeShowsOnBlackAndOnWhiteDesktops) {
  Palette p = Dark();
  p[Role::Border] = Hex(0x8A4034);  // 2.86:1 on black
  StateColors s = DesignStates(p);
  EXPECT_GE(Ratio(s.edge, Hex(0x000000)), 3.0);
  EXPECT_GE(Ratio(s.edge, Hex(0xFFFFFF)), 3.0);
  EXPECT_RGB(DesignStates(Dark()).edge, 0x8196B3);  // #8197B5 is 2.99:1 on white
  p[Role::Border] = Hex(0x375C8D);                  // 3.08:1 and 6.82:1: kept
  EXPECT_RGB(DesignStates(p).edge, 0x375C8D);
}

TEST(DisabledText, HalfwayWhereThatReadsElseJustThreeToOne) {
  // Light text on a dark menu: halfway still reads 4.2:1.
  EXPECT_RGB(Faded(Hex(0xE8EAED), Hex(0x262A30)), 0x878A8F);
  // Dark text on a pale menu: halfway would be 2.4:1.
  Rgb faded = Faded(Hex(0x123F2E), Hex(0xD3EADF));
  EXPECT_GE(Ratio(faded, Hex(0xD3EADF)), 3.0);
  EXPECT_LT(Ratio(faded, Hex(0xD3EADF)), 3.6);
  // A text already fainter than the rule is left as it is.
  EXPECT_RGB(Faded(Hex(0x777777), Hex(0x555555)), 0x777777);
}

}  // namespace
}  // namespace skin
