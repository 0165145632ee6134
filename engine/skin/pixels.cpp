#include "skin/pixels.h"

#include <algorithm>
#include <unordered_map>

namespace skin {

namespace {

uint8_t Unpremultiply(uint32_t c, uint32_t a) {
  return static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a));
}

uint32_t Premultiply(uint8_t c, uint32_t a) { return (c * a + 127) / 255; }

}  // namespace

void ShiftPixels(const uint32_t* in, uint32_t* out, size_t count, const Adjustment& adjustment) {
  if (WrapHue(adjustment.hue) == 0 && adjustment.saturation == 0 && adjustment.brightness == 0) {
    std::copy(in, in + count, out);  // no shift: the picture as it is
    return;
  }
  // Pictures hold few distinct colours (gradients, a texture): shifting
  // each once keeps a preview of a new hue fast.
  std::unordered_map<uint32_t, uint32_t> done;
  for (size_t i = 0; i < count; i++) {
    const uint32_t pixel = in[i];
    auto known = done.find(pixel);
    if (known != done.end()) {
      out[i] = known->second;
      continue;
    }
    const uint32_t a = pixel >> 24;
    uint32_t shifted = 0;
    if (a) {
      Rgb c{Unpremultiply(pixel >> 16 & 0xFF, a), Unpremultiply(pixel >> 8 & 0xFF, a),
            Unpremultiply(pixel & 0xFF, a)};
      c = AdjustColor(c, adjustment);
      shifted =
          a << 24 | Premultiply(c.r, a) << 16 | Premultiply(c.g, a) << 8 | Premultiply(c.b, a);
    }
    if (done.size() < 65536) done.emplace(pixel, shifted);
    out[i] = shifted;
  }
}

}  // namespace skin
