#include "skin/states.h"

#include <algorithm>
#include <functional>

namespace skin {

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kMidGrey{0x80, 0x80, 0x80};  // 5.3:1 on black, 4.0:1 on white
constexpr double kEdgeStep = 3.0;

// The first of `from` mixed toward `toward` in 64 steps that `good`
// accepts, or nothing. Stepped, not halved: some rules are met over a
// range that does not reach `toward` (a band both off the body and off
// the active band).
bool Walk(Rgb from, Rgb toward, const std::function<bool(Rgb)>& good, Rgb* found) {
  for (int step = 0; step <= 64; step++) {
    Rgb c = Mix(from, toward, step / 64.0);
    if (good(c)) {
      *found = c;
      return true;
    }
  }
  return false;
}

// Toward the text first, the way a state shows on its own skin (lighter
// on dark skins, darker on light ones), else the other way.
Rgb Away(Rgb from, Rgb text, const std::function<bool(Rgb)>& good) {
  Rgb found = from;
  if (Walk(from, text, good, &found)) return found;
  bool text_lighter = ContrastRatio(text, kBlack) > ContrastRatio(from, kBlack);
  Rgb other = text_lighter ? kBlack : kWhite;
  if (Walk(from, other, good, &found)) return found;
  return from;
}

// Where the two bands look alike (dark skins), the inactive title is told
// by its text, dimmed as title bars dim it; where they stand apart, the
// skin's text is kept.
Rgb InactiveTitle(Rgb text, Rgb band, Rgb active_text, Rgb active_band) {
  if (ContrastRatio(band, active_band) >= kTitleBandsApart) return text;
  double ceiling = kInactiveTitleShare * ContrastRatio(active_text, active_band);
  double target = std::max(ceiling, kTitleTextFloor);
  if (ContrastRatio(text, band) <= target) return text;
  return Reach(band, text, band, target);
}

}  // namespace

Rgb Reach(Rgb from, Rgb toward, Rgb against, double ratio) {
  if (ContrastRatio(from, against) >= ratio) return from;
  if (ContrastRatio(toward, against) < ratio) return toward;
  double lo = 0, hi = 1;  // lo fails, hi meets the ratio
  for (int step = 0; step < 12; step++) {
    double mid = (lo + hi) / 2;
    (ContrastRatio(Mix(from, toward, mid), against) >= ratio ? hi : lo) = mid;
  }
  return Mix(from, toward, hi);
}

Rgb Faded(Rgb text, Rgb back) {
  if (ContrastRatio(text, back) <= kDisabledStep) return text;
  Rgb half = Mix(text, back, 0.5);  // halfway where that still reads
  if (ContrastRatio(half, back) >= kDisabledStep) return half;
  return Reach(back, text, back, kDisabledStep);
}

StateColors DesignStates(const Palette& p) {
  StateColors s;
  const Rgb face = p[Role::Face];
  const Rgb active = p[Role::CaptionActive];

  // The inactive band: off the body and off the active band, or an
  // inactive window loses its title.
  const Rgb inactive_text = p[Role::CaptionInactiveText];
  s.caption_inactive = Away(p[Role::CaptionInactive], inactive_text, [&](Rgb c) {
    return ContrastRatio(c, face) >= kInactiveBandStep &&
           ContrastRatio(c, active) >= kInactiveVsActive &&
           ContrastRatio(c, inactive_text) >= kPressedTextFloor;
  });

  s.caption_inactive_text =
      InactiveTitle(inactive_text, s.caption_inactive, p[Role::CaptionActiveText], active);

  const Rgb bands[2] = {s.caption_inactive, active};
  const Rgb inks[2] = {inactive_text, p[Role::CaptionActiveText]};
  for (int i = 0; i < 2; i++) {
    s.caption_hover[i] = Reach(bands[i], inks[i], bands[i], kCaptionHoverStep);
    s.caption_pressed[i] =
        Reach(s.caption_hover[i], inks[i], s.caption_hover[i], kCaptionPressStep);
  }
  s.close_hover = kCloseHover;
  s.close_pressed = Reach(kCloseHover, kBlack, kCloseHover, kCaptionPressStep);

  // Push buttons: the skin's hover and pressed colours where they show.
  const Rgb rest = p[Role::ButtonFace], ink = p[Role::ButtonText];
  s.button_hover = p[Role::ButtonHover];
  if (ContrastRatio(s.button_hover, rest) < 1.2) {
    s.button_hover = Reach(rest, ink, rest, kButtonHoverStep);
  }
  s.button_pressed = p[Role::ButtonPressed];
  if (ContrastRatio(s.button_pressed, rest) < 1.4 ||
      ContrastRatio(s.button_pressed, ink) < kPressedTextFloor) {
    s.button_pressed = Reach(rest, ink, rest, kButtonPressStep);
  }

  s.separator = Reach(p[Role::Menu], p[Role::MenuText], p[Role::Menu], kLineStep);

  // The channel shows against the list; the thumb against the channel.
  const Rgb window = p[Role::Window], window_text = p[Role::WindowText];
  s.scroll_track = p[Role::ScrollTrack];
  if (ContrastRatio(s.scroll_track, window) < 1.3) {
    s.scroll_track = Reach(window, window_text, window, kTrackStep);
  }
  s.scroll_thumb = p[Role::ScrollThumb];
  if (ContrastRatio(s.scroll_thumb, s.scroll_track) < 3.0) {
    s.scroll_thumb = Reach(s.scroll_thumb, window_text, s.scroll_track, kLineStep);
  }
  s.scroll_thumb_pressed = Away(s.scroll_thumb, window_text, [&](Rgb c) {
    return ContrastRatio(c, s.scroll_thumb) >= kCaptionPressStep;
  });

  // Seen on any desktop, black or white.
  s.edge = Away(p[Role::Border], kMidGrey, [](Rgb c) {
    return ContrastRatio(c, kBlack) >= kEdgeStep && ContrastRatio(c, kWhite) >= kEdgeStep;
  });
  return s;
}

}  // namespace skin
