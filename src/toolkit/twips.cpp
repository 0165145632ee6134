#include "toolkit/twips.h"

#include <cmath>

#include "common/win_handles.h"

namespace toolkit {
namespace {

struct TwipsPerPixelXY {
  float x, y;
};

// The program is aware of the system DPI, which stays fixed while it runs:
// ask the display once, for both axes.
const TwipsPerPixelXY& DisplayTwipsPerPixel() {
  static const TwipsPerPixelXY both = [] {
    const common::ClientDc screen(nullptr);
    auto perPixel = [&](int axis) {
      const int dpi = GetDeviceCaps(screen.get(), axis);
      return dpi > 0 ? 1440.0f / static_cast<float>(dpi) : 15.0f;
    };
    return TwipsPerPixelXY{perPixel(LOGPIXELSX), perPixel(LOGPIXELSY)};
  }();
  return both;
}

}  // namespace

float TwipsPerPixelX() { return DisplayTwipsPerPixel().x; }
float TwipsPerPixelY() { return DisplayTwipsPerPixel().y; }

int TwipsToPixels(float twips, float twipsPerPixel) {
  return static_cast<int>(std::lround(twips / twipsPerPixel));
}

int PixelsX(float twips) { return TwipsToPixels(twips, TwipsPerPixelX()); }
int PixelsY(float twips) { return TwipsToPixels(twips, TwipsPerPixelY()); }
float TwipsX(int pixels) { return static_cast<float>(pixels) * TwipsPerPixelX(); }
float TwipsY(int pixels) { return static_cast<float>(pixels) * TwipsPerPixelY(); }

RECT PixelRect(const Place& place) {
  const int left = PixelsX(place.left), top = PixelsY(place.top);
  return RECT{left, top, left + PixelsX(place.width), top + PixelsY(place.height)};
}

}  // namespace toolkit
