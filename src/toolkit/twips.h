// Twips, the unit forms and controls are measured in: 1/1440 inch, so 15
// twips a pixel at 96 DPI and 12 at 120 DPI. Every conversion between
// twips and pixels of the display is here.
#pragma once

#include <windows.h>

namespace toolkit {

// Twips per pixel of the display, from its real density.
float TwipsPerPixelX();
float TwipsPerPixelY();

// Twips to whole pixels at a density, to the nearest pixel (halves away
// from zero).
int TwipsToPixels(float twips, float twipsPerPixel);

// The same at the display's density, and back.
int PixelsX(float twips);
int PixelsY(float twips);
float TwipsX(int pixels);
float TwipsY(int pixels);

// Left, top, width and height in twips, relative to the parent's client area.
struct Place {
  float left, top, width, height;
};

// A place in pixels of the display. The width and height are rounded on
// their own, so that places of equal size stay equal wherever they lie.
RECT PixelRect(const Place& place);

}  // namespace toolkit
