#include "rules/skin_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rules;
using Names = std::vector<std::wstring>;

TEST(SkinNames, KeepsOnlyNamesEndingInLowerCaseSheWithoutTheExtension) {
  EXPECT_EQ(Names({L"Blue"}),
            SkinNames({L"Blue.she", L"red.SHE", L"Green.she.bak", L"Pink.She", L"readme.txt"}));
  EXPECT_EQ(Names({L"a.b", L"蓝色", L"x she"}),
            SkinNames({L"a.b.she", L"蓝色.she", L"x she.she", L"she", L"she.", L"noshe"}));
}

TEST(SkinNames, KeepsTheListingOrderAndDuplicatesAsGiven) {
  EXPECT_EQ(Names({L"zeta", L"Alpha", L"beta"}),
            SkinNames({L"zeta.she", L"Alpha.she", L"beta.she"}));
  EXPECT_TRUE(SkinNames({}).empty());
}

TEST(SkinNames, AFileNamedJustTheExtensionGivesAnEmptyEntry) {
  EXPECT_EQ(Names({L""}), SkinNames({L".she"}));
  EXPECT_TRUE(SkinNames({L"she", L"", L"e"}).empty());
}

// Skin\..she and Skin\...she would give the names "." and "..", which the
// next start refuses to attach: Save must not be offered them.
TEST(SkinNames, LeavesOutTheNamesThatStartUpRefuses) {
  EXPECT_EQ(Names({L"", L"...", L"Blue"}),
            SkinNames({L".she", L"..she", L"...she", L"....she", L"Blue.she"}));
}

TEST(BoxValue, RoundsTheLeadingNumberHalfToEven) {
  EXPECT_EQ(0, BoxValue(L""));
  EXPECT_EQ(0, BoxValue(L"abc"));
  EXPECT_EQ(30, BoxValue(L" 30 degrees"));
  EXPECT_EQ(180, BoxValue(L"179.5"));
  EXPECT_EQ(-180, BoxValue(L"-179.5"));
  EXPECT_EQ(12, BoxValue(L"12.5"));
  EXPECT_EQ(2147483647, BoxValue(L"2147483647"));
  EXPECT_EQ(-2147483647 - 1, BoxValue(L"-2147483648"));
}

TEST(BoxValue, OutsideThe32BitRangeGivesNothing) {
  EXPECT_FALSE(BoxValue(L"2147483648"));
  EXPECT_FALSE(BoxValue(L"-2147483649"));
  EXPECT_FALSE(BoxValue(L"1e300"));
}

TEST(HueToApply, OnlyMinus179To179) {
  EXPECT_EQ(0, HueToApply(0));
  EXPECT_EQ(179, HueToApply(179));
  EXPECT_EQ(-179, HueToApply(-179));
  EXPECT_FALSE(HueToApply(180));
  EXPECT_FALSE(HueToApply(-180));
  EXPECT_FALSE(HueToApply(70000));
  EXPECT_FALSE(HueToApply(std::nullopt));
}

TEST(AlphaToApply, Only1To249) {
  EXPECT_EQ(1, AlphaToApply(1));
  EXPECT_EQ(200, AlphaToApply(200));
  EXPECT_EQ(249, AlphaToApply(249));
  EXPECT_FALSE(AlphaToApply(0));
  EXPECT_FALSE(AlphaToApply(-5));
  EXPECT_FALSE(AlphaToApply(250));
  EXPECT_FALSE(AlphaToApply(255));
  EXPECT_FALSE(AlphaToApply(std::nullopt));
}

TEST(SaveRules, TheBoxTextsOfTheDocumentedEdgeCases) {
  // Empty boxes apply a hue of 0 and no transparency.
  EXPECT_EQ(0, HueToApply(BoxValue(L"")));
  EXPECT_FALSE(AlphaToApply(BoxValue(L"")));
  // 179.5 and -179.5 round onto the excluded ends.
  EXPECT_FALSE(HueToApply(BoxValue(L"179.5")));
  EXPECT_FALSE(HueToApply(BoxValue(L"-179.5")));
  EXPECT_EQ(179, HueToApply(BoxValue(L"179.49")));
  // 249.5 rounds to 250 (even), 248.5 to 248.
  EXPECT_FALSE(AlphaToApply(BoxValue(L"249.5")));
  EXPECT_EQ(248, AlphaToApply(BoxValue(L"248.5")));
  EXPECT_EQ(1, AlphaToApply(BoxValue(L"0.6")));
  EXPECT_FALSE(AlphaToApply(BoxValue(L"0.5")));
}

TEST(CloseAsksFirst, AnyTextOrATickedBoxAsks) {
  EXPECT_FALSE(CloseAsksFirst(L"", L"", 0));
  EXPECT_TRUE(CloseAsksFirst(L"30", L"", 0));
  EXPECT_TRUE(CloseAsksFirst(L"", L"0", 0));
  EXPECT_TRUE(CloseAsksFirst(L" ", L"", 0));
  EXPECT_TRUE(CloseAsksFirst(L"", L"", 1));
  // Nothing in the program sets the grayed value; it does not count.
  EXPECT_FALSE(CloseAsksFirst(L"", L"", 2));
}
