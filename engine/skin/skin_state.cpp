#include "skin/skin_state.h"

#include <algorithm>

namespace skin {

int ClampAeroLevel(int level) { return std::clamp(level, kMinAeroLevel, kMaxAeroLevel); }

SkinState::SkinState() : skin_(DefaultSkin()), palette_(skin_.palette) {}

bool SkinState::Load(std::string_view file_text) {
  if (!ParseSkin(file_text, &skin_, nullptr)) return false;
  palette_ = AdjustPalette(skin_.palette, adjustment_);
  return true;
}

void SkinState::SetAdjustment(const Adjustment& adjustment) {
  adjustment_ = adjustment;
  palette_ = AdjustPalette(skin_.palette, adjustment_);
}

}  // namespace skin
