#include "frame_mode.h"

namespace skin::frame {

namespace {
constexpr int kBaseDpi = 96;
}

Mode DecideMode(const ModeFacts& facts) {
  if (!facts.captioned) return Mode::kPlatform;
  // Frame sizes change nothing under a window manager: its frame stays.
  if (facts.manager_draws) return Mode::kManaged;
  return facts.skin_sizes ? Mode::kOwned : Mode::kPainted;
}

int ChooseDpi(int window_dpi, int screen_dpi) {
  if (window_dpi > 0) return window_dpi;
  return screen_dpi > 0 ? screen_dpi : kBaseDpi;
}

}  // namespace skin::frame
