// Colours of a skin and the hue/saturation/brightness arithmetic on them.
// Pure C++: no Windows headers, so it is unit-tested natively.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace skin {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
};

inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(Rgb a, Rgb b) { return !(a == b); }

// What each colour of a palette paints. The order is the order of the
// keys in docs/skin-format.md. The first six are required in every skin
// file; the rest are optional and derived from those six when missing.
enum class Role : int {
  Window,      // content of edit boxes, list boxes and combo boxes
  WindowText,  // text on Window
  Face,        // window and dialog surfaces, labels, check boxes, frames
  FaceText,    // text on Face
  Menu,        // menu bar and drop-down menus
  Border,      // flat edge drawn around edit and list boxes
  // Optional from here on.
  CaptionActive,        // title bar and frame of the active window
  CaptionActiveText,    // caption text and caption button glyphs on it
  CaptionInactive,      // title bar and frame of an inactive window
  CaptionInactiveText,  // text and glyphs on it
  ButtonFace,           // push buttons at rest
  ButtonText,           // text on push buttons
  ButtonHover,          // push button or caption button under the mouse
  ButtonPressed,        // push button or caption button held down
  ButtonBorder,         // outline of push buttons and check boxes
  Selection,            // selected list item
  SelectionText,        // text on Selection
  MenuText,             // text of menu items
  MenuHighlight,        // highlighted menu item
  MenuHighlightText,    // text on MenuHighlight
  ScrollTrack,          // scroll bar track
  ScrollThumb,          // scroll bar thumb and arrows
  CheckMark,            // tick inside a check box
};
constexpr size_t kRequiredRoleCount = 6;
constexpr size_t kRoleCount = 23;

// The key of a role in a skin file ("window_text"), or empty for none.
std::string_view RoleKey(Role role);

struct Palette {
  std::array<Rgb, kRoleCount> colors{};

  Rgb& operator[](Role role) { return colors[static_cast<size_t>(role)]; }
  Rgb operator[](Role role) const { return colors[static_cast<size_t>(role)]; }
};

inline bool operator==(const Palette& a, const Palette& b) { return a.colors == b.colors; }

// A shift applied to every colour of the palette. Hue is in degrees, any
// value, taken modulo 360. Saturation and brightness are percentage points
// added to S and V; only -100..100 means anything, beyond that is clamped.
struct Adjustment {
  int hue = 0;
  int saturation = 0;
  int brightness = 0;
};

// Hue in [0, 360), saturation and value in [0, 1].
struct Hsv {
  double h = 0;
  double s = 0;
  double v = 0;
};

Hsv ToHsv(Rgb color);
Rgb ToRgb(Hsv color);

// Degrees to [0, 360) for any int, INT_MIN included.
int WrapHue(int degrees);

namespace hue_detail {

// 2^32 / (60 * chroma), rounded up, for every chroma 1..255: a turned hue
// divided by its sixth becomes one multiplication, exact for every value
// below 2^32 / (60 * 255), far above the 360 * 255 it can reach.
inline constexpr std::array<uint32_t, 256> kSixthReciprocals = [] {
  std::array<uint32_t, 256> table{};
  for (uint32_t chroma = 1; chroma < 256; chroma++) {
    table[chroma] = uint32_t(((uint64_t(1) << 32) + 60 * chroma - 1) / (60 * chroma));
  }
  return table;
}();

// Which of (largest, smallest, rising, falling) each channel takes in each
// sixth of the circle, as shifts of 8 bits, red first: a table, not a
// switch, because the pixels of a texture land in every sixth at random.
inline constexpr uint8_t kChannelOf[6][3] = {{0, 2, 1}, {3, 0, 1}, {1, 0, 2},
                                             {1, 3, 0}, {2, 1, 0}, {0, 1, 3}};

}  // namespace hue_detail

// A colour 0x..RRGGBB with its hue turned by `degrees` (0..359),
// saturation and value kept: the hue shift of every colour and every
// picture pixel. Worked in whole numbers, exactly: the channels' largest
// and smallest values stay, and the middle one is the smallest plus 1/60
// of the turned hue's place in its sixth of the circle, rounded half up.
// Inline: a picture turns millions of pixels through it.
inline uint32_t RotateHue(uint32_t rgb, int degrees) {
  const int r = int(rgb >> 16 & 0xFF), g = int(rgb >> 8 & 0xFF), b = int(rgb & 0xFF);
  const int high = std::max(r, std::max(g, b)), low = std::min(r, std::min(g, b));
  const int chroma = high - low;
  if (chroma == 0 || degrees == 0) return rgb & 0xFFFFFF;  // a grey has no hue to turn
  // The hue in degrees times the chroma, so every step stays whole: each
  // sixth of the circle (60 degrees) spans 60 * chroma.
  const int sixth = 60 * chroma;
  int place = high == r ? g - b : high == g ? 2 * chroma + b - r : 4 * chroma + r - g;
  place += place < 0 ? 6 * chroma : 0;
  int turned = 60 * place + degrees * chroma;
  turned -= turned >= 6 * sixth ? 6 * sixth : 0;
  const int sector =
      int((uint64_t(uint32_t(turned)) * hue_detail::kSixthReciprocals[chroma]) >> 32);
  const int part = turned - sector * sixth;
  const uint32_t values[4] = {
      uint32_t(high), uint32_t(low),
      uint32_t(low + (part + 30) / 60),   // rising: low + part / 60, rounded
      uint32_t(high - (part + 29) / 60),  // falling: high - part / 60, rounded
  };
  const uint8_t* pick = hue_detail::kChannelOf[sector];
  return values[pick[0]] << 16 | values[pick[1]] << 8 | values[pick[2]];
}

Rgb RotateHue(Rgb color, int degrees);

Rgb AdjustColor(Rgb color, const Adjustment& adjustment);
Palette AdjustPalette(const Palette& palette, const Adjustment& adjustment);

// The two rules of the derivation: a text keeps 7:1 on its background, a
// line or shape 3:1 against what surrounds it, at every hue.
enum class DeriveRule { Text, Line };

// Two colours the derivation keeps apart by its rule: a text and its
// background, or a line and one of its surroundings.
struct RulePair {
  DeriveRule rule;
  Role first;   // the text or line
  Role second;  // what it stands on
};

// A derived colour the rule moved off the colour it is derived from.
struct DerivedMove {
  Role role;
  Rgb from;   // what it is derived from, before the rule
  Rgb drawn;  // what the palette holds
  DeriveRule rule;
  Role against;  // the colour the rule keeps it apart from
};

// What DeriveMissing did, for a skin maker: every pair it holds to a rule,
// given or derived, and every derived colour it moved, in the order of
// the roles it fills.
struct DeriveReport {
  std::vector<RulePair> pairs;
  std::vector<DerivedMove> moves;
};

// The contrast ratio a rule asks for.
double RuleRatio(DeriveRule rule);

// Fills every optional role that `given` marks as absent from the six
// required ones, so that an old skin file gets a complete palette. Derived
// texts keep 7:1 on their backgrounds and derived lines 3:1 at every hue
// shift, where any colour can: a derived background moves toward black or
// white as far as that needs. Given colours, and the six, never change.
// The rules, role by role, are in docs/skin-format.md. *report (may be
// null) gets what it did; the palette is the same with or without it.
void DeriveMissing(Palette* palette, const std::array<bool, kRoleCount>& given,
                   DeriveReport* report = nullptr);

// The lowest contrast of a and b shifted together by a whole hue from
// -180 to 180 (as AdjustColor paints them), and that hue in *hue: the
// one nearest to 0, the positive first, where several are as low.
double WorstContrast(Rgb a, Rgb b, int* hue);

// a mixed with b: t = 0 gives a, t = 1 gives b.
Rgb Mix(Rgb a, Rgb b, double t);

// WCAG contrast ratio of two colours, 1 (same) to 21 (black on white).
double ContrastRatio(Rgb a, Rgb b);

}  // namespace skin
