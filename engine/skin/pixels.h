// The hue shift of pictures: each pixel moved by the same arithmetic as a
// skin's colours (AdjustColor). Pure C++, tested natively.
#pragma once

#include <cstddef>
#include <cstdint>

#include "skin/palette.h"

namespace skin {

// Pixels are 0xAARRGGBB with premultiplied alpha (as Windows blends them).
// Each is unpremultiplied, shifted, and premultiplied again; a transparent
// pixel stays 0 and alpha never changes. `in` and `out` may be the same.
void ShiftPixels(const uint32_t* in, uint32_t* out, size_t count, const Adjustment& adjustment);

}  // namespace skin
