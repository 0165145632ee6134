// The colours a skin file should put on the screen, for the engine tests
// that compare screen pixels with a shipped skin.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "screen.h"
#include "skin/palette.h"
#include "skin/she_file.h"
#include "support/wine_test.h"

namespace engine_test {

// A shipped skin file in the test's application folder, shifted by a hue.
inline skin::Palette PaletteOf(const wchar_t* file, int hue = 0) {
  skin::Skin s;
  EXPECT_TRUE(skin::ParseSkin(wine_test::ReadBytes(wine_test::InApp(file)), &s, nullptr));
  return skin::AdjustPalette(s.palette, {hue, 0, 0});
}

inline COLORREF Ref(const skin::Palette& p, skin::Role role) {
  skin::Rgb c = p[role];
  return RGB(c.r, c.g, c.b);
}

}  // namespace engine_test

#define EXPECT_COLOR(actual, expected) \
  EXPECT_EQ(engine_test::Hex(actual), engine_test::Hex(expected))
