// The font a form chooses for its controls' captions. Figures measured
// under Wine at 96 DPI with the prefix's Song face (AR PL UMing): it draws
// "-180/180" 48 pixels wide at 12 and 11 pixels high, 40 at 10 and 9, 32 at
// 8; the default GUI font (WenQuanYi) 50, 44, 43, 36 and 30 wide at 12 to 8.
#include <gtest/gtest.h>

#include <string>

#include "toolkit/controls.h"
#include "toolkit/font.h"

namespace {

LOGFONTW LookOf(const toolkit::Font& font) {
  LOGFONTW look = {};
  GetObjectW(font.Get(), sizeof look, &look);
  return look;
}

class FittingFontTest : public testing::Test {
 protected:
  void SetUp() override {
    parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 400, 100, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  }
  void TearDown() override { DestroyWindow(parent); }

  // The font chosen for one label of this width (twips) holding "-180/180".
  LOGFONTW ChosenFor(float width) {
    toolkit::Label label;
    label.Create(parent, 1, L"-180/180", {0, 0, width, 180});
    const LOGFONTW look = LookOf(toolkit::FittingFont({&label}));
    DestroyWindow(label.Hwnd());
    return look;
  }

  HWND parent = nullptr;
};

TEST_F(FittingFontTest, SongAtNinePointsWhereItFitsElseTheLargestSmallerOne) {
  const LOGFONTW roomy = ChosenFor(720);  // 48 pixels
  EXPECT_EQ(L"宋体", std::wstring(roomy.lfFaceName));
  EXPECT_EQ(-12, roomy.lfHeight);
  EXPECT_EQ(NONANTIALIASED_QUALITY, roomy.lfQuality);

  const LOGFONTW tight = ChosenFor(675);  // 45 pixels
  EXPECT_EQ(L"宋体", std::wstring(tight.lfFaceName));
  EXPECT_EQ(-10, tight.lfHeight);
}

TEST_F(FittingFontTest, WhenNothingFitsTheDefaultFaceAtTwoThirdsOfItsSize) {
  const LOGFONTW none = ChosenFor(300);  // 20 pixels
  LOGFONTW gui = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
  EXPECT_EQ(std::wstring(gui.lfFaceName), none.lfFaceName);
  EXPECT_EQ(-12, gui.lfHeight);
  EXPECT_EQ(-8, none.lfHeight);
}

}  // namespace
