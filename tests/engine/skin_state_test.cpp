#include "skin/skin_state.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

const char kRedSkin[] =
    "she = 1\nname = Red\n"
    "face = #FF0000\nface_text = #000000\nwindow = #FFFFFF\n"
    "window_text = #000000\nmenu = #FF8080\nborder = #800000\n";

TEST(AeroLevelTest, ClampsToAVisibleRange) {
  EXPECT_EQ(ClampAeroLevel(0), kMinAeroLevel);
  EXPECT_EQ(ClampAeroLevel(-5), kMinAeroLevel);
  EXPECT_EQ(ClampAeroLevel(-32768), kMinAeroLevel);
  EXPECT_EQ(ClampAeroLevel(kMinAeroLevel), kMinAeroLevel);
  EXPECT_EQ(ClampAeroLevel(120), 120);
  EXPECT_EQ(ClampAeroLevel(249), 249);
  EXPECT_EQ(ClampAeroLevel(255), 255);
  EXPECT_EQ(ClampAeroLevel(256), 255);
  EXPECT_EQ(ClampAeroLevel(32767), 255);
  EXPECT_EQ(ClampAeroLevel(63), 64);  // anything lower is hard to see at all
  EXPECT_EQ(ClampAeroLevel(64), 64);
}

// The built-in skin's six colours, unshifted; the effect off, at 220.
TEST(SkinStateTest, StartsWithTheDefaultSkin) {
  SkinState state;
  EXPECT_EQ(state.palette()[Role::Window], (Rgb{0xFB, 0xFC, 0xFE}));
  EXPECT_EQ(state.palette()[Role::WindowText], (Rgb{0x1E, 0x29, 0x3B}));
  EXPECT_EQ(state.palette()[Role::Face], (Rgb{0xE4, 0xE9, 0xF0}));
  EXPECT_EQ(state.palette()[Role::FaceText], (Rgb{0x1F, 0x2A, 0x3A}));
  EXPECT_EQ(state.palette()[Role::Menu], (Rgb{0xEE, 0xF1, 0xF6}));
  EXPECT_EQ(state.palette()[Role::Border], (Rgb{0x7A, 0x8B, 0xA3}));
  EXPECT_FALSE(state.aero_on());
  EXPECT_EQ(state.aero_level(), 220);
}

TEST(SkinStateTest, BadFileKeepsCurrentSkinAndShift) {
  SkinState state;
  ASSERT_TRUE(state.Load(kRedSkin));
  state.SetAdjustment({120, 0, 0});
  Palette shown = state.palette();
  EXPECT_FALSE(state.Load("she = 1\nname = broken\n"));
  EXPECT_FALSE(state.Load(""));
  EXPECT_EQ(state.skin().name, "Red");
  EXPECT_EQ(state.palette(), shown);
}

TEST(SkinStateTest, ShiftIsMeasuredFromTheFileColours) {
  SkinState state;
  ASSERT_TRUE(state.Load(kRedSkin));
  state.SetAdjustment({120, 0, 0});
  EXPECT_EQ(state.palette()[Role::Face], (Rgb{0, 255, 0}));
  state.SetAdjustment({120, 0, 0});  // again: still 120, not 240
  EXPECT_EQ(state.palette()[Role::Face], (Rgb{0, 255, 0}));
  state.SetAdjustment({0, 0, 0});
  EXPECT_EQ(state.palette(), state.skin().palette);
}

TEST(SkinStateTest, ShiftCarriesOverToANewSkin) {
  SkinState state;
  state.SetAdjustment({-120, 0, 0});
  ASSERT_TRUE(state.Load(kRedSkin));
  EXPECT_EQ(state.palette()[Role::Face], (Rgb{0, 0, 255}));
  EXPECT_EQ(state.palette()[Role::Window], (Rgb{255, 255, 255}));
}

}  // namespace
}  // namespace skin
