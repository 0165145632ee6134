// Colours of a skin and the hue/saturation/brightness arithmetic on them.
// Pure C++: no Windows headers, so it is unit-tested natively.
#pragma once

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

// `color` with its hue turned by `degrees` (0..359), saturation and value
// kept: the hue shift of every colour and every picture pixel. Worked in
// whole numbers, exactly: the channels' largest and smallest values stay,
// and the middle one is the smallest plus 1/60 of the turned hue's place
// in its sixth of the circle, rounded half up.
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
