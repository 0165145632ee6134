// When a rewritten settings file counts as whole: the check that keeps a
// copy cut short by a full disk from replacing config.ini.
#include <gtest/gtest.h>

#include "rules/ini_rewrite.h"

using rules::HoldsAllAfterWrite;
using rules::WrittenKey;

namespace {

const std::wstring kBefore = L"[Options]\r\nSkinName=Old\r\nSkinHue=1\r\n[Other]\r\na=1\r\nlast=" +
                             std::wstring(122, L'x') + L"\r\n";
const std::vector<WrittenKey> kHue = {{L"Options", L"SkinHue", L"2"}};
const std::wstring kAfter = L"[Options]\r\nSkinName=Old\r\nSkinHue=2\r\n[Other]\r\na=1\r\nlast=" +
                            std::wstring(122, L'x') + L"\r\n";

}  // namespace

TEST(HoldsAllAfterWrite, TheWholeRewriteHoldsAndEveryCutOfItDoesNot) {
  EXPECT_TRUE(HoldsAllAfterWrite(kBefore, kAfter, kHue));
  // Cut anywhere, also right after a line end, something is missing.
  for (size_t size = 0; size < kAfter.size() - 2; ++size) {
    EXPECT_FALSE(HoldsAllAfterWrite(kBefore, kAfter.substr(0, size), kHue)) << size;
  }
}

TEST(HoldsAllAfterWrite, AWrittenKeyMustHoldItsValueInTheFirstSectionOfItsName) {
  EXPECT_FALSE(HoldsAllAfterWrite(kBefore, kBefore, kHue));
  EXPECT_FALSE(HoldsAllAfterWrite(kBefore, kAfter, {{L"Options", L"SkinHue", L"3"}}));
  // A new key and a new section, written in another letter case.
  const std::vector<WrittenKey> keys = {{L"options", L"SKINALPHA", L" 9 "}, {L"New", L"k", L"v"}};
  EXPECT_TRUE(HoldsAllAfterWrite(L"[Options]\r\nx=1\r\n[Options]\r\ny=2\r\n",
                                 L"[Options]\r\nx=1\r\nSKINALPHA=9\r\n[Options]\r\ny=2\r\n"
                                 L"[New]\r\nk=v\r\n",
                                 keys));
  // In the second section of that name it would not be read.
  EXPECT_FALSE(HoldsAllAfterWrite(L"[Options]\r\nx=1\r\n[Options]\r\ny=2\r\n",
                                  L"[Options]\r\nx=1\r\n[Options]\r\ny=2\r\nSKINALPHA=9\r\n"
                                  L"[New]\r\nk=v\r\n",
                                  keys));
}

TEST(HoldsAllAfterWrite, TheProfileFunctionsOwnTidyingCountsAsWhole) {
  // Blanks around lines, names and values, bare LF or CR, blank lines, a
  // NUL ending a value, a run of nameless lines: all as they read them.
  const std::wstring before = std::wstring(L"  top = 1 \n\n[ Options ]\rSkinHue = 1\n=a\n=b\n") +
                              L"v=ab" + std::wstring(1, L'\0') + L"cd\r\n";
  const std::wstring after = L"top=1\r\n[Options]\r\nSkinHue=2\r\n=a\r\nv=ab\r\n";
  EXPECT_TRUE(HoldsAllAfterWrite(before, after, kHue));
  EXPECT_FALSE(HoldsAllAfterWrite(before, L"top=1\r\n[Options]\r\nSkinHue=2\r\nv=ab\r\n", kHue));
}

TEST(HoldsAllAfterWrite, EveryRepeatedEntryStays) {
  const std::wstring before =
      L"[Options]\r\nSkinHue=30\r\nSkinHue=60\r\n[A]\r\nk=1\r\n[A]\r\nk=1\r\n";
  EXPECT_TRUE(HoldsAllAfterWrite(
      before, L"[Options]\r\nSkinHue=2\r\nSkinHue=60\r\n[A]\r\nk=1\r\n[A]\r\nk=1\r\n", kHue));
  EXPECT_FALSE(
      HoldsAllAfterWrite(before, L"[Options]\r\nSkinHue=2\r\n[A]\r\nk=1\r\n[A]\r\nk=1\r\n", kHue));
  EXPECT_FALSE(
      HoldsAllAfterWrite(before, L"[Options]\r\nSkinHue=2\r\nSkinHue=60\r\n[A]\r\nk=1\r\n", kHue));
}
