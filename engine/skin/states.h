// The colours of the engine's states, worked out from a skin's palette by
// fixed rules: how far a hover or a press moves from rest, how faint a
// disabled text may get, how strong a line must be. A skin's own colour is
// kept wherever it already meets its rule. Pure C++, tested natively; the
// rules and their figures are in docs/skin-format.md.
#pragma once

#include "skin/palette.h"

namespace skin {

// Contrast steps of the rules (WCAG contrast ratios).
constexpr double kCaptionHoverStep = 1.4;   // caption button hover against the band
constexpr double kCaptionPressStep = 1.25;  // pressed against hover
constexpr double kButtonHoverStep = 1.25;   // push button hover against rest
constexpr double kButtonPressStep = 1.5;    // push button pressed against rest
constexpr double kLineStep = 3.2;           // separators, thumbs, edges
constexpr double kDisabledStep = 3.3;       // disabled text against its background
constexpr double kInactiveBandStep = 1.35;  // inactive title band against the body
constexpr double kInactiveVsActive = 1.2;   // inactive band against the active one
// An inactive title reads inactive: by its band, standing this far off the
// active one, or else by its text, dimmed to at most this share of the
// active title's contrast, but never under the text floor.
constexpr double kTitleBandsApart = 2.0;
constexpr double kInactiveTitleShare = 0.6;
constexpr double kTitleTextFloor = 4.5;
constexpr double kTrackStep = 1.35;        // scroll track against the list
constexpr double kPressedTextFloor = 4.5;  // text on a pressed fill

// The red a close button turns under the mouse, with its white glyph.
constexpr Rgb kCloseHover{0xC4, 0x2B, 0x1C};
constexpr Rgb kCloseGlyph{0xFF, 0xFF, 0xFF};

struct StateColors {
  Rgb caption_hover[2];  // [0] inactive band, [1] active band
  Rgb caption_pressed[2];
  Rgb close_hover;
  Rgb close_pressed;
  Rgb caption_inactive;       // the inactive band as drawn
  Rgb caption_inactive_text;  // its title and glyphs as drawn
  Rgb button_hover;
  Rgb button_pressed;
  Rgb separator;
  Rgb scroll_track;
  Rgb scroll_thumb;
  Rgb scroll_thumb_pressed;
  Rgb edge;  // outer line of frames and drop-down menus
};

StateColors DesignStates(const Palette& palette);

// `from` mixed toward `toward` just far enough to stand `ratio` apart
// from `against`; `toward` itself when nothing nearer does.
Rgb Reach(Rgb from, Rgb toward, Rgb against, double ratio);

// A disabled text on `back`: as faint as the rule allows, never fainter
// than the text's own colour would be.
Rgb Faded(Rgb text, Rgb back);

}  // namespace skin
