// Which mode a framed window's frame is in, and the DPI it is drawn at,
// for every combination of stated facts.
#include "skin/frame_mode.h"

#include <gtest/gtest.h>

namespace skin::frame {
namespace {

TEST(FrameModeTest, DecidedFromCaptionManagerAndSkinSizes) {
  struct Case {
    bool captioned, manager_draws, skin_sizes;
    Mode mode;
    bool painted, owned;
  };
  const Case cases[] = {
      {false, false, false, Mode::kPlatform, false, false},
      {false, false, true, Mode::kPlatform, false, false},
      {false, true, true, Mode::kPlatform, false, false},
      {true, true, false, Mode::kManaged, false, false},
      {true, true, true, Mode::kManaged, false, false},  // sizes change nothing
      {true, false, false, Mode::kPainted, true, false},
      {true, false, true, Mode::kOwned, true, true},
  };
  for (const Case& c : cases) {
    Mode mode = DecideMode({c.captioned, c.manager_draws, c.skin_sizes});
    SCOPED_TRACE(testing::Message() << c.captioned << c.manager_draws << c.skin_sizes);
    EXPECT_EQ(c.mode, mode);
    EXPECT_EQ(c.painted, Painted(mode));
    EXPECT_EQ(c.owned, Owned(mode));
  }
}

TEST(FrameModeTest, DpiOfTheWindowElseOfTheScreenElse96) {
  EXPECT_EQ(144, ChooseDpi(144, 96));  // a window on a monitor of its own DPI
  EXPECT_EQ(120, ChooseDpi(0, 120));   // no GetDpiForWindow (Windows 7)
  EXPECT_EQ(96, ChooseDpi(0, 0));      // neither answered
  EXPECT_EQ(192, ChooseDpi(-1, 192));  // a nonsense answer counts as none
}

}  // namespace
}  // namespace skin::frame
