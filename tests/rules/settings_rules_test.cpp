// The settings file's value rules and what loading and saving the skin
// settings make of the texts involved.
#include <gtest/gtest.h>

#include "rules/ini_value.h"
#include "rules/skin_settings_rules.h"

using namespace rules;

namespace {

// Lead bytes of code page 936.
bool GbkLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// "蓝" in code page 936.
const std::string kBlue = "\xC0\xB6";

}  // namespace

TEST(DropDanglingLeadByte, KeepsWholeCharactersAndWhatFollowsTheNul) {
  std::string buffer = "ab" + kBlue + std::string("\0  ", 3);
  DropDanglingLeadByte(buffer, GbkLead);
  EXPECT_EQ("ab" + kBlue + std::string("\0  ", 3), buffer);

  // A trail byte may look like a lead byte: "蓝" twice is still whole.
  buffer = kBlue + kBlue + std::string(1, '\0');
  DropDanglingLeadByte(buffer, GbkLead);
  EXPECT_EQ(kBlue + kBlue + std::string(1, '\0'), buffer);

  buffer = std::string("\0\xC0", 2);  // after the NUL nothing counts
  DropDanglingLeadByte(buffer, GbkLead);
  EXPECT_EQ(std::string("\0\xC0", 2), buffer);
}

TEST(DropDanglingLeadByte, RemovesALeadByteCutOffFromItsTrailByte) {
  std::string buffer = "a" + kBlue + "\xC0" + std::string("\0 ", 2);
  DropDanglingLeadByte(buffer, GbkLead);
  EXPECT_EQ("a" + kBlue + std::string("\0 ", 2), buffer);

  // The scan runs from the start: here 0xB6 is a trail byte, then 0xC0
  // stands alone at the very end without any NUL.
  buffer = kBlue + "\xC0";
  DropDanglingLeadByte(buffer, GbkLead);
  EXPECT_EQ(kBlue, buffer);

  // A full buffer of 4095 value bytes ending in half a character.
  buffer = std::string(4094, 'x') + "\xC0" + std::string(1, '\0');
  DropDanglingLeadByte(buffer, GbkLead);
  EXPECT_EQ(std::string(4094, 'x') + std::string(1, '\0'), buffer);
}

TEST(TrimIniText, RemovesSpacesAroundTheValueAndTheNul) {
  EXPECT_EQ(L"Blue", TrimIniText(std::wstring(L"Blue\0   ", 8)));
  EXPECT_EQ(L"a b", TrimIniText(std::wstring(L"  a b  \0   ", 11)));
  EXPECT_EQ(L"", TrimIniText(std::wstring(L"\0    ", 5)));
  EXPECT_EQ(L"", TrimIniText(std::wstring(L"   \0    ", 8)));
  EXPECT_EQ(L"full", TrimIniText(std::wstring(L"full\0", 5)));
  // Only spaces count as blanks here, and only one NUL is removed.
  EXPECT_EQ(L"\tx\t", TrimIniText(std::wstring(L"\tx\t\0 ", 5)));
  EXPECT_EQ(std::wstring(L"x\0", 2), TrimIniText(std::wstring(L"x\0\0 ", 4)));
}

TEST(BeforeNul, CutsAtTheFirstNul) {
  EXPECT_EQ(L"12", BeforeNul(std::wstring(L"12\0 34", 6)));
  EXPECT_EQ(L"", BeforeNul(std::wstring(L"\0 5", 3)));
  EXPECT_EQ(L"7", BeforeNul(L"7"));
}

TEST(FitsOnIniLine, LineBreaksAndNulsDoNot) {
  EXPECT_TRUE(FitsOnIniLine(L"蓝色 skin=1;[x]"));
  EXPECT_TRUE(FitsOnIniLine(L""));
  EXPECT_FALSE(FitsOnIniLine(L"x\r\nSkinHue=5"));
  EXPECT_FALSE(FitsOnIniLine(L"x\nSkinHue=5"));
  EXPECT_FALSE(FitsOnIniLine(L"x\r"));
  EXPECT_FALSE(FitsOnIniLine(std::wstring(L"x\0y", 3)));
}

TEST(StoredLevel, EmptyTextMakesNoCallOtherTextsRoundHalfToEven) {
  EXPECT_FALSE(StoredLevel(L""));
  EXPECT_EQ(30, StoredLevel(L"30"));
  EXPECT_EQ(12, StoredLevel(L"12.5"));
  EXPECT_EQ(14, StoredLevel(L"13.5"));
  EXPECT_EQ(-180, StoredLevel(L"-179.5"));
  EXPECT_EQ(180, StoredLevel(L"179.7"));
  EXPECT_EQ(0, StoredLevel(L"abc"));
  EXPECT_EQ(-5, StoredLevel(L"-5"));
  // Load tests no bounds: any value that fits 16 bits is passed on.
  EXPECT_EQ(255, StoredLevel(L"255"));
  EXPECT_EQ(-32768, StoredLevel(L"-32768"));
  EXPECT_EQ(32767, StoredLevel(L"32767"));
}

TEST(StoredLevel, ValuesBeyondSixteenBitsMakeNoCall) {
  EXPECT_FALSE(StoredLevel(L"32768"));
  EXPECT_FALSE(StoredLevel(L"-99999"));
  EXPECT_FALSE(StoredLevel(L"1e300"));
  EXPECT_FALSE(StoredLevel(L"1D99999"));
}

TEST(StorableLevel, OnlyValuesStrictlyBetweenMinus180And180) {
  EXPECT_FALSE(StorableLevel(L""));
  EXPECT_FALSE(StorableLevel(L"200"));
  EXPECT_FALSE(StorableLevel(L"180"));
  EXPECT_FALSE(StorableLevel(L"-180"));
  EXPECT_FALSE(StorableLevel(L"1e300"));
  EXPECT_FALSE(StorableLevel(L"1E99999"));
  EXPECT_EQ(179.9, StorableLevel(L"179.9"));
  EXPECT_EQ(-179.9, StorableLevel(L"-179.9"));
  EXPECT_EQ(179.7, StorableLevel(L"179.7"));
  EXPECT_EQ(-5.0, StorableLevel(L"-5"));
  // Not rounded: the double itself is stored.
  EXPECT_EQ(12.5, StorableLevel(L"12.5"));
  // A text without a number counts as 0 and is stored so.
  EXPECT_EQ(0.0, StorableLevel(L"abc"));
  EXPECT_EQ(0.0, StorableLevel(L" "));
}

TEST(EntriesToStore, EmptyEntriesAreLeftUnwritten) {
  SkinEntries entries = EntriesToStore(L"", L"", L"");
  EXPECT_FALSE(entries.skinName);
  EXPECT_FALSE(entries.alpha);
  EXPECT_FALSE(entries.hue);

  entries = EntriesToStore(L"蓝色", L"250", L"30");
  EXPECT_EQ(L"蓝色", entries.skinName);
  EXPECT_FALSE(entries.alpha);
  EXPECT_EQ(30.0, entries.hue);

  // A transparency that Save applies is stored; the hue keeps its bounds.
  entries = EntriesToStore(L"", L"200", L"200");
  EXPECT_EQ(200.0, entries.alpha);
  EXPECT_FALSE(entries.hue);

  entries = EntriesToStore(L"", L"-5", L"180");
  EXPECT_FALSE(entries.skinName);
  EXPECT_EQ(-5.0, entries.alpha);
  EXPECT_FALSE(entries.hue);
}

TEST(StorableAlpha, AlsoEveryTransparencyThatSaveApplies) {
  EXPECT_EQ(200.0, StorableAlpha(L"200"));
  EXPECT_EQ(180.0, StorableAlpha(L"180"));
  EXPECT_EQ(249.4, StorableAlpha(L"249.4"));  // applied as 249, and loaded so
  EXPECT_EQ(248.5, StorableAlpha(L"248.5"));  // applied as 248
  EXPECT_EQ(249.0, StorableAlpha(L" 249kg"));
  EXPECT_FALSE(StorableAlpha(L"249.5"));  // rounds to 250: not applied
  EXPECT_FALSE(StorableAlpha(L"250"));
  EXPECT_FALSE(StorableAlpha(L"1e300"));
  EXPECT_FALSE(StorableAlpha(L""));
  // What was stored before stays stored as before.
  EXPECT_EQ(-179.9, StorableAlpha(L"-179.9"));
  EXPECT_EQ(0.0, StorableAlpha(L"0"));
  EXPECT_EQ(0.0, StorableAlpha(L"abc"));
  EXPECT_FALSE(StorableAlpha(L"-180"));
}

TEST(IsSkinName, NamesThatWouldLeaveTheSkinFolderAreNot) {
  EXPECT_TRUE(IsSkinName(L"蓝色经典"));
  EXPECT_TRUE(IsSkinName(L"Deep Blue.v2"));
  EXPECT_TRUE(IsSkinName(L"..."));
  EXPECT_TRUE(IsSkinName(L".x"));
  EXPECT_TRUE(IsSkinName(L""));  // Skin\.she, as before
  EXPECT_FALSE(IsSkinName(L"."));
  EXPECT_FALSE(IsSkinName(L".."));
  EXPECT_FALSE(IsSkinName(L"..\\..\\x"));
  EXPECT_FALSE(IsSkinName(L"sub\\Blue"));
  EXPECT_FALSE(IsSkinName(L"../x"));
  EXPECT_FALSE(IsSkinName(L"C:x"));
  EXPECT_FALSE(IsSkinName(L"\\\\server\\share\\x"));
}
