#include "skin/palette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

namespace skin {

std::string_view RoleKey(Role role) {
  switch (role) {
    case Role::Window:
      return "window";
    case Role::WindowText:
      return "window_text";
    case Role::Face:
      return "face";
    case Role::FaceText:
      return "face_text";
    case Role::Menu:
      return "menu";
    case Role::Border:
      return "border";
    case Role::CaptionActive:
      return "caption_active";
    case Role::CaptionActiveText:
      return "caption_active_text";
    case Role::CaptionInactive:
      return "caption_inactive";
    case Role::CaptionInactiveText:
      return "caption_inactive_text";
    case Role::ButtonFace:
      return "button_face";
    case Role::ButtonText:
      return "button_text";
    case Role::ButtonHover:
      return "button_hover";
    case Role::ButtonPressed:
      return "button_pressed";
    case Role::ButtonBorder:
      return "button_border";
    case Role::Selection:
      return "selection";
    case Role::SelectionText:
      return "selection_text";
    case Role::MenuText:
      return "menu_text";
    case Role::MenuHighlight:
      return "menu_highlight";
    case Role::MenuHighlightText:
      return "menu_highlight_text";
    case Role::ScrollTrack:
      return "scroll_track";
    case Role::ScrollThumb:
      return "scroll_thumb";
    case Role::CheckMark:
      return "check_mark";
  }
  return {};
}

Hsv ToHsv(Rgb color) {
  double r = color.r / 255.0;
  double g = color.g / 255.0;
  double b = color.b / 255.0;
  double max = std::max({r, g, b});
  double min = std::min({r, g, b});
  double delta = max - min;

  Hsv hsv;
  hsv.v = max;
  hsv.s = max > 0 ? delta / max : 0;
  if (delta <= 0) return hsv;  // grey: hue means nothing, keep 0

  double h;
  if (max == r) {
    h = (g - b) / delta;
  } else if (max == g) {
    h = 2 + (b - r) / delta;
  } else {
    h = 4 + (r - g) / delta;
  }
  h *= 60;
  if (h < 0) h += 360;
  hsv.h = h;
  return hsv;
}

static uint8_t ToByte(double unit) {
  double v = std::round(std::clamp(unit, 0.0, 1.0) * 255.0);
  return static_cast<uint8_t>(v);
}

Rgb ToRgb(Hsv color) {
  double h = std::fmod(color.h, 360.0);
  if (h < 0) h += 360;
  double s = std::clamp(color.s, 0.0, 1.0);
  double v = std::clamp(color.v, 0.0, 1.0);

  double sector = h / 60;
  int i = static_cast<int>(std::floor(sector)) % 6;
  double f = sector - std::floor(sector);
  double p = v * (1 - s);
  double q = v * (1 - s * f);
  double t = v * (1 - s * (1 - f));

  double r, g, b;
  switch (i) {
    case 0:
      r = v, g = t, b = p;
      break;
    case 1:
      r = q, g = v, b = p;
      break;
    case 2:
      r = p, g = v, b = t;
      break;
    case 3:
      r = p, g = q, b = v;
      break;
    case 4:
      r = t, g = p, b = v;
      break;
    default:
      r = v, g = p, b = q;
      break;
  }
  return Rgb{ToByte(r), ToByte(g), ToByte(b)};
}

int WrapHue(int degrees) {
  // The remainder is taken before any addition, so INT_MIN cannot overflow.
  int h = degrees % 360;
  return h < 0 ? h + 360 : h;
}

Rgb RotateHue(Rgb color, int degrees) {
  const uint32_t turned =
      RotateHue(uint32_t(color.r) << 16 | uint32_t(color.g) << 8 | color.b, degrees);
  return {uint8_t(turned >> 16), uint8_t(turned >> 8), uint8_t(turned)};
}

Rgb AdjustColor(Rgb color, const Adjustment& adjustment) {
  int hue = WrapHue(adjustment.hue);
  int saturation = std::clamp(adjustment.saturation, -100, 100);
  int brightness = std::clamp(adjustment.brightness, -100, 100);
  if (hue == 0 && saturation == 0 && brightness == 0) return color;  // exact, no rounding
  if (saturation == 0 && brightness == 0) return RotateHue(color, hue);

  Hsv hsv = ToHsv(color);
  hsv.h += hue;
  hsv.s = std::clamp(hsv.s + saturation / 100.0, 0.0, 1.0);
  hsv.v = std::clamp(hsv.v + brightness / 100.0, 0.0, 1.0);
  return ToRgb(hsv);
}

Palette AdjustPalette(const Palette& palette, const Adjustment& adjustment) {
  Palette out;
  for (size_t i = 0; i < kRoleCount; i++)
    out.colors[i] = AdjustColor(palette.colors[i], adjustment);
  return out;
}

// Relative luminance (WCAG) from a table of the 256 channel values: the
// derivation below asks for it hundreds of thousands of times per skin.
static double Luminance(Rgb color) {
  static const std::array<double, 256> linear = [] {
    std::array<double, 256> table{};
    for (int c = 0; c < 256; c++) {
      double v = c / 255.0;
      table[c] = v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    }
    return table;
  }();
  return 0.2126 * linear[color.r] + 0.7152 * linear[color.g] + 0.0722 * linear[color.b];
}

Rgb Mix(Rgb a, Rgb b, double t) {
  auto mix = [t](uint8_t x, uint8_t y) {
    return static_cast<uint8_t>(std::lround(x + (y - x) * std::clamp(t, 0.0, 1.0)));
  };
  return Rgb{mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
// WCAG: 7:1 for text (level AAA), 3:1 for lines and the shapes of controls.
constexpr double kText = 7.0;
constexpr double kLine = 3.0;

// Contrast at every hue the caller can set. A hue shift keeps saturation
// and value but not luminance: a blue that reads well under white text
// turns into a green that does not. The derivation compares a few dozen
// colours with each other at all 360 hues, thousands of times, so each
// colour's luminance at every hue is worked out once per derivation.
class HueScan {
 public:
  // The lowest contrast of a and b, shifted together by any whole hue, in
  // the bytes AdjustColor paints; the search ends early once it falls
  // below `stop_below`.
  double Worst(Rgb a, Rgb b, double stop_below = 0) {
    Row& ra = RowOf(a);
    Row& rb = RowOf(b);
    double worst = 1e9;
    for (int hue = 0; hue < 360 && worst >= stop_below; hue++) {
      double la = ra.At(hue), lb = rb.At(hue);
      worst = std::min(worst, (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05));
    }
    return worst;
  }

  bool Holds(Rgb a, Rgb b, double ratio) { return Worst(a, b, ratio) >= ratio; }

  // `back` moved toward black (for light text) or white (for dark text),
  // just far enough for `text` to keep `ratio` at every hue; black or
  // white itself when nothing less will do.
  Rgb PushAway(Rgb back, Rgb text, double ratio) {
    if (Holds(back, text, ratio)) return back;
    Rgb end = Luminance(text) > Luminance(back) ? kBlack : kWhite;
    double lo = 0, hi = 1;  // lo fails, hi is the answer so far
    for (int step = 0; step < 8; step++) {
      double mid = (lo + hi) / 2;
      (Holds(Mix(back, end, mid), text, ratio) ? hi : lo) = mid;
    }
    return Mix(back, end, hi);
  }

  // How far PushAway has to move `back` for `text`: 0 when it need not.
  double PushDistance(Rgb back, Rgb text, double ratio) {
    Rgb pushed = PushAway(back, text, ratio);
    return std::abs(Luminance(pushed) - Luminance(back));
  }

 private:
  // Filled as far as asked: most comparisons stop within a few hues.
  class Row {
   public:
    explicit Row(Rgb c) : color_(c) { luminance_[0] = Luminance(c); }
    double At(int hue) {
      for (; filled_ <= hue; filled_++) luminance_[filled_] = Luminance(RotateHue(color_, filled_));
      return luminance_[hue];
    }

   private:
    Rgb color_;
    std::array<double, 360> luminance_;
    int filled_ = 1;  // hue 0 is the colour itself
  };

  Row& RowOf(Rgb c) {
    const uint32_t key = uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
    return rows_.try_emplace(key, c).first->second;
  }

  std::unordered_map<uint32_t, Row> rows_;
};

class Deriver {
 public:
  Deriver(Palette* palette, const std::array<bool, kRoleCount>& given, DeriveReport* report)
      : p_(*palette), given_(given), report_(report) {}

  // The six required colours count as given whatever `given` says: they
  // are the skin's own and are never moved.
  bool Given(Role role) const {
    size_t i = static_cast<size_t>(role);
    return i < kRequiredRoleCount || given_[i];
  }

  void Set(Role role, Rgb color) {
    if (!Given(role)) p_[role] = color;
  }

  // A background and the text on it. A derived background may move
  // toward black or white; a given one stays as the skin says. The text
  // is the first of `texts` that reads there at every hue, else black or
  // white, whichever asks the smaller move of the background.
  void TextPair(Role back, Rgb back_default, Role text, std::initializer_list<Rgb> texts) {
    TextPairRule(back, back_default, text, texts);
    Pair(DeriveRule::Text, text, back);
    if (!Given(back)) Moved(back, back_default, DeriveRule::Text, text);
  }

  void TextPairRule(Role back, Rgb back_default, Role text, std::initializer_list<Rgb> texts) {
    Set(back, back_default);
    if (Given(text)) {
      if (!Given(back)) p_[back] = scan_.PushAway(p_[back], p_[text], kText);
      return;
    }
    for (Rgb candidate : texts) {
      if (scan_.Holds(candidate, p_[back], kText)) {
        p_[text] = candidate;
        return;
      }
    }
    if (Given(back)) {  // nothing to move: the better of black and white
      p_[text] = scan_.Worst(kBlack, p_[back]) >= scan_.Worst(kWhite, p_[back]) ? kBlack : kWhite;
      return;
    }
    bool black =
        scan_.PushDistance(p_[back], kBlack, kText) <= scan_.PushDistance(p_[back], kWhite, kText);
    p_[text] = black ? kBlack : kWhite;
    p_[back] = scan_.PushAway(p_[back], p_[text], kText);
  }

  // A colour mixed from `from` toward `tint` by `amount`, or less, as far
  // as `text` still reads on it at every hue; when even a little tint
  // would spoil the text, `from` moved away from the text instead, so the
  // state still shows.
  // A derived state shade of `role`, told as a move where it took less
  // tint than `amount` for the text's sake.
  void ShadeRole(Role role, Rgb from, Rgb tint, double amount, Role text) {
    Set(role, Shade(from, tint, amount, p_[text]));
    if (!Given(role)) Moved(role, Mix(from, tint, amount), DeriveRule::Text, text);
  }

  Rgb Shade(Rgb from, Rgb tint, double amount, Rgb text) {
    for (double t = amount; t >= amount / 4; t /= 2) {
      Rgb shaded = Mix(from, tint, t);
      if (scan_.Holds(shaded, text, kText)) return shaded;
    }
    return Mix(from, Luminance(text) > Luminance(from) ? kBlack : kWhite, amount / 2);
  }

  // A line or shape that must stand out from every one of `backs`: moved
  // toward black or white, whichever gets there with the smaller move.
  void Line(Role line, Rgb line_default, std::initializer_list<Role> backs) {
    std::vector<Rgb> colors;
    for (Role back : backs) {
      colors.push_back(p_[back]);
      Pair(DeriveRule::Line, line, back);
    }
    LineRule(line, line_default, colors);
    if (!Given(line)) Moved(line, line_default, DeriveRule::Line, *backs.begin());
  }

  void LineRule(Role line, Rgb line_default, const std::vector<Rgb>& backs) {
    Set(line, line_default);
    if (Given(line)) return;
    auto stands_out = [&](Rgb color) {
      for (Rgb back : backs) {
        if (!scan_.Holds(color, back, kLine)) return false;
      }
      return true;
    };
    for (int step = 0; step <= 32; step++) {
      for (Rgb end : {kBlack, kWhite}) {
        Rgb moved = Mix(line_default, end, step / 32.0);
        if (stands_out(moved)) {
          p_[line] = moved;
          return;
        }
      }
    }
    // No colour serves them all (a saturated face swings from dark to
    // light as the hue turns): serve the first, the one around the line.
    p_[line] = scan_.PushAway(line_default, backs.front(), kLine);
  }

  Rgb operator[](Role role) const { return p_[role]; }

 private:
  void Pair(DeriveRule rule, Role first, Role second) {
    if (report_) report_->pairs.push_back({rule, first, second});
  }

  void Moved(Role role, Rgb from, DeriveRule rule, Role against) {
    if (report_ && p_[role] != from)
      report_->moves.push_back({role, from, p_[role], rule, against});
  }

  Palette& p_;
  const std::array<bool, kRoleCount>& given_;
  DeriveReport* report_;
  HueScan scan_;
};

}  // namespace

void DeriveMissing(Palette* palette, const std::array<bool, kRoleCount>& given,
                   DeriveReport* report) {
  Deriver d(palette, given, report);
  const Rgb face = d[Role::Face], face_text = d[Role::FaceText];
  const Rgb window = d[Role::Window], window_text = d[Role::WindowText];
  const Rgb border = d[Role::Border];
  // Roles are filled in order, so a derived colour may build on one
  // derived (or given) before it. The accent of a skin is its border.
  d.TextPair(Role::CaptionActive, border, Role::CaptionActiveText, {window, face, face_text});
  d.TextPair(Role::CaptionInactive, Mix(face, border, 0.25), Role::CaptionInactiveText,
             {face_text, window_text});
  d.TextPair(Role::ButtonFace, Mix(face, window, 0.5), Role::ButtonText, {face_text, window_text});
  const Rgb button_face = d[Role::ButtonFace];
  d.ShadeRole(Role::ButtonHover, button_face, border, 0.15, Role::ButtonText);
  d.ShadeRole(Role::ButtonPressed, d[Role::ButtonHover], border, 0.18, Role::ButtonText);
  d.Line(Role::ButtonBorder, border, {Role::Face, Role::ButtonFace});
  d.TextPair(Role::Selection, border, Role::SelectionText, {window, face, window_text});
  d.TextPair(Role::Menu, d[Role::Menu], Role::MenuText, {face_text, window_text});
  d.TextPair(Role::MenuHighlight, d[Role::Selection], Role::MenuHighlightText,
             {d[Role::SelectionText], window, face_text});
  d.Set(Role::ScrollTrack, Mix(window, face, 0.5));
  d.Line(Role::ScrollThumb, Mix(face, border, 0.6), {Role::ScrollTrack});
  // The tick sits in a box of `window`, or of the hover or pressed shade
  // while the mouse is on it.
  d.Line(Role::CheckMark, window_text, {Role::Window, Role::ButtonHover, Role::ButtonPressed});
}

double RuleRatio(DeriveRule rule) { return rule == DeriveRule::Text ? kText : kLine; }

double WorstContrast(Rgb a, Rgb b, int* hue) {
  double worst = ContrastRatio(a, b);
  *hue = 0;
  for (int step = 1; step <= 180; step++) {
    for (int h : {step, -step}) {
      if (h == -180) continue;  // the same shift as 180
      const double ratio = ContrastRatio(AdjustColor(a, {h, 0, 0}), AdjustColor(b, {h, 0, 0}));
      if (ratio < worst) {
        worst = ratio;
        *hue = h;
      }
    }
  }
  return worst;
}

double ContrastRatio(Rgb a, Rgb b) {
  double la = Luminance(a);
  double lb = Luminance(b);
  if (la < lb) std::swap(la, lb);
  return (la + 0.05) / (lb + 0.05);
}

}  // namespace skin
