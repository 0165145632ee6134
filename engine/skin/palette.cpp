#include "skin/palette.h"

#include <algorithm>
#include <cmath>

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

Rgb AdjustColor(Rgb color, const Adjustment& adjustment) {
  int hue = WrapHue(adjustment.hue);
  int saturation = std::clamp(adjustment.saturation, -100, 100);
  int brightness = std::clamp(adjustment.brightness, -100, 100);
  if (hue == 0 && saturation == 0 && brightness == 0) return color;  // exact, no rounding

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

static double Luminance(Rgb color);

Rgb Mix(Rgb a, Rgb b, double t) {
  auto mix = [t](uint8_t x, uint8_t y) {
    return static_cast<uint8_t>(std::lround(x + (y - x) * std::clamp(t, 0.0, 1.0)));
  };
  return Rgb{mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

namespace {

// The more readable of the skin's two text colours on `back`, or black or
// white when neither reads well there.
Rgb TextOn(Rgb back, Rgb first, Rgb second) {
  Rgb best = ContrastRatio(first, back) >= ContrastRatio(second, back) ? first : second;
  if (ContrastRatio(best, back) >= 7.0) return best;
  Rgb black{0, 0, 0}, white{255, 255, 255};
  return ContrastRatio(black, back) >= ContrastRatio(white, back) ? black : white;
}

}  // namespace

void DeriveMissing(Palette* palette, const std::array<bool, kRoleCount>& given) {
  Palette& p = *palette;
  auto set = [&](Role role, Rgb color) {
    if (!given[static_cast<size_t>(role)]) p[role] = color;
  };
  const Rgb face = p[Role::Face], face_text = p[Role::FaceText];
  const Rgb window = p[Role::Window], window_text = p[Role::WindowText];
  const Rgb border = p[Role::Border];
  // Roles are filled in order, so a derived colour may build on one
  // derived (or given) before it.
  set(Role::CaptionActive, border);
  set(Role::CaptionActiveText, TextOn(p[Role::CaptionActive], face_text, window));
  set(Role::CaptionInactive, Mix(face, border, 0.25));
  set(Role::CaptionInactiveText, TextOn(p[Role::CaptionInactive], face_text, window_text));
  set(Role::ButtonFace, Mix(face, window, 0.5));
  set(Role::ButtonText, TextOn(p[Role::ButtonFace], face_text, window_text));
  set(Role::ButtonHover, Mix(p[Role::ButtonFace], border, 0.15));
  set(Role::ButtonPressed, Mix(p[Role::ButtonFace], border, 0.3));
  set(Role::ButtonBorder, border);
  set(Role::Selection, border);
  set(Role::SelectionText, TextOn(p[Role::Selection], window, face_text));
  set(Role::MenuText, TextOn(p[Role::Menu], face_text, window_text));
  set(Role::MenuHighlight, border);
  set(Role::MenuHighlightText, TextOn(p[Role::MenuHighlight], window, face_text));
  set(Role::ScrollTrack, Mix(window, face, 0.5));
  set(Role::ScrollThumb, Mix(face, border, 0.6));
  set(Role::CheckMark, window_text);
}

static double Luminance(Rgb color) {
  auto linear = [](uint8_t c) {
    double v = c / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(color.r) + 0.7152 * linear(color.g) + 0.0722 * linear(color.b);
}

double ContrastRatio(Rgb a, Rgb b) {
  double la = Luminance(a);
  double lb = Luminance(b);
  if (la < lb) std::swap(la, lb);
  return (la + 0.05) / (lb + 0.05);
}

}  // namespace skin
