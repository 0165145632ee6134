#include "skin/pixels.h"

#include <algorithm>
#include <unordered_map>

namespace skin {

namespace {

uint8_t Unpremultiply(uint32_t c, uint32_t a) {
  return static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a));
}

uint32_t Premultiply(uint8_t c, uint32_t a) { return (c * a + 127) / 255; }

// A premultiplied pixel through `shift` of its straight colour (0x..RRGGBB);
// alpha kept, a clear pixel stays 0.
template <typename Shift>
uint32_t ShiftPixel(uint32_t pixel, const Shift& shift) {
  const uint32_t a = pixel >> 24;
  if (a == 255) return 0xFF000000u | shift(pixel & 0xFFFFFF);
  if (a == 0) return 0;
  const uint32_t straight = uint32_t(Unpremultiply(pixel >> 16 & 0xFF, a)) << 16 |
                            uint32_t(Unpremultiply(pixel >> 8 & 0xFF, a)) << 8 |
                            Unpremultiply(pixel & 0xFF, a);
  const uint32_t c = shift(straight);
  return a << 24 | Premultiply(uint8_t(c >> 16), a) << 16 | Premultiply(uint8_t(c >> 8), a) << 8 |
         Premultiply(uint8_t(c), a);
}

// Runs of one colour (a flat band, a clear margin) are shifted once.
template <typename Shift>
void ShiftAll(const uint32_t* in, uint32_t* out, size_t count, const Shift& shift) {
  uint32_t last_in = 0, last_out = 0;
  for (size_t i = 0; i < count; i++) {
    if (in[i] != last_in) last_out = ShiftPixel(last_in = in[i], shift);
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
    // The hue alone, the only shift the program makes: whole numbers, a
    // few dozen operations a pixel, however many colours a picture has.
    ShiftAll(in, out, count, [hue](uint32_t rgb) { return RotateHue(rgb, hue); });
    return;
  }
  // Saturation or brightness too goes through HSV in floating point:
  // pictures hold few distinct colours, so each is worked out once.
  std::unordered_map<uint32_t, uint32_t> done;
  ShiftAll(in, out, count, [&done, &adjustment](uint32_t rgb) {
    auto known = done.find(rgb);
    if (known != done.end()) return known->second;
    const Rgb c = AdjustColor({uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)}, adjustment);
    const uint32_t shifted = uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
    if (done.size() < 65536) done.emplace(rgb, shifted);
    return shifted;
  });
}

}  // namespace skin
