#include "skin/pixels.h"

#include <algorithm>
#include <unordered_map>

namespace skin {

namespace {

uint8_t Unpremultiply(uint32_t c, uint32_t a) {
  return static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a));
}

uint32_t Premultiply(uint8_t c, uint32_t a) { return (c * a + 127) / 255; }

// One pixel, premultiplied, through `shift`.
template <typename Shift>
uint32_t ShiftPixel(uint32_t pixel, const Shift& shift) {
  const uint32_t a = pixel >> 24;
  if (a == 0) return 0;
  Rgb c{uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel)};
  if (a == 255) {
    c = shift(c);
    return pixel & 0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
  }
  c = shift(Rgb{Unpremultiply(c.r, a), Unpremultiply(c.g, a), Unpremultiply(c.b, a)});
  return a << 24 | Premultiply(c.r, a) << 16 | Premultiply(c.g, a) << 8 | Premultiply(c.b, a);
}

// Runs of one colour (a flat band, a transparent margin) are shifted once.
template <typename Shift>
void ShiftAll(const uint32_t* in, uint32_t* out, size_t count, const Shift& shift) {
  uint32_t last_in = 0, last_out = 0;  // a transparent pixel stays 0
  for (size_t i = 0; i < count; i++) {
    const uint32_t pixel = in[i];
    if (pixel != last_in) {
      last_in = pixel;
      last_out = ShiftPixel(pixel, shift);
    }
    out[i] = last_out;
  }
}

}  // namespace

void ShiftPixels(const uint32_t* in, uint32_t* out, size_t count, const Adjustment& adjustment) {
  const int hue = WrapHue(adjustment.hue);
  if (adjustment.saturation == 0 && adjustment.brightness == 0) {
    if (hue == 0) {
      std::copy(in, in + count, out);  // no shift: the picture as it is
      return;
    }
    // The hue alone, the only shift the program makes: whole-number
    // arithmetic, a few operations a pixel, for any number of colours.
    ShiftAll(in, out, count, [hue](Rgb c) { return RotateHue(c, hue); });
    return;
  }
  // Saturation or brightness too goes through HSV in floating point:
  // pictures hold few distinct colours, so each is worked out once.
  std::unordered_map<uint32_t, Rgb> done;
  ShiftAll(in, out, count, [&done, &adjustment](Rgb c) {
    const uint32_t key = uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
    auto known = done.find(key);
    if (known != done.end()) return known->second;
    const Rgb shifted = AdjustColor(c, adjustment);
    if (done.size() < 65536) done.emplace(key, shifted);
    return shifted;
  });
}

}  // namespace skin
