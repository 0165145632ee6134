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
