// What the engine knows at any moment: the attached skin, the shift the
// caller asked for, and the transparency setting. Pure C++, so the rules
// (keep the old skin on a bad file, shifts are not cumulative, the
// transparency level never leaves the visible range) are tested natively.
#pragma once

#include <string_view>

#include "skin/palette.h"
#include "skin/she_file.h"

namespace skin {

// A level below kMinAeroLevel would make a window hard to find or
// invisible; stored settings may hold anything from -32768 to 32767.
constexpr int kMinAeroLevel = 64;
constexpr int kMaxAeroLevel = 255;
constexpr int kDefaultAeroLevel = 220;

int ClampAeroLevel(int level);

class SkinState {
 public:
  SkinState();

  // Takes the skin in a file's text. A bad text changes nothing and
  // returns false. The current shift stays and applies to the new skin.
  bool Load(std::string_view file_text);

  // Replaces the shift: it is measured from the skin file's colours, so
  // setting a hue of 30 twice gives 30, not 60.
  void SetAdjustment(const Adjustment& adjustment);

  void SetAeroLevel(int level) { aero_level_ = ClampAeroLevel(level); }
  void SetAero(bool on) { aero_on_ = on; }

  const Skin& skin() const { return skin_; }
  const Adjustment& adjustment() const { return adjustment_; }
  // The colours to paint with: the skin's, shifted.
  const Palette& palette() const { return palette_; }
  int aero_level() const { return aero_level_; }
  bool aero_on() const { return aero_on_; }

 private:
  Skin skin_;
  Adjustment adjustment_;
  Palette palette_;
  int aero_level_ = kDefaultAeroLevel;
  bool aero_on_ = false;
};

}  // namespace skin
