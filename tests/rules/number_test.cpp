#include "rules/number.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace rules;

TEST(SingleToText, WholeValuesArePlainDigitsOthersKeepSevenDigits) {
  EXPECT_EQ(L"11250", SingleToText(11250.0f));
  EXPECT_EQ(L"15600", SingleToText(15600.0f));
  EXPECT_EQ(L"0", SingleToText(0.0f));
  EXPECT_EQ(L"-90", SingleToText(-90.0f));
  EXPECT_EQ(L"12.5", SingleToText(12.5f));
  EXPECT_EQ(L"0.3333333", SingleToText(1.0f / 3.0f));
  EXPECT_EQ(L"1234.568", SingleToText(1234.5678f));
}

TEST(LeadingNumber, TextsWithoutDigitsGiveZero) {
  EXPECT_EQ(0.0, LeadingNumber(L""));
  EXPECT_EQ(0.0, LeadingNumber(L"abc"));
  EXPECT_EQ(0.0, LeadingNumber(L"-"));
  EXPECT_EQ(0.0, LeadingNumber(L"."));
  EXPECT_EQ(0.0, LeadingNumber(L"   "));
  EXPECT_EQ(0.0, LeadingNumber(L"E5"));
}

TEST(LeadingNumber, ReadsUpToTheFirstCharacterThatDoesNotFit) {
  EXPECT_EQ(12.5, LeadingNumber(L" 12.5kg"));
  EXPECT_EQ(-15.0, LeadingNumber(L"-15"));
  EXPECT_EQ(3.0, LeadingNumber(L"+3"));
  EXPECT_EQ(1.5, LeadingNumber(L"1.5.7"));
  EXPECT_EQ(0.25, LeadingNumber(L".25"));
  EXPECT_EQ(200.0, LeadingNumber(std::wstring(L"200\0 9", 6)));
  EXPECT_EQ(12.0, LeadingNumber(L"12 - 3"));
}

TEST(LeadingNumber, BlanksTabsAndLineFeedsAreSkippedEvenInsideTheNumber) {
  EXPECT_EQ(1234.0, LeadingNumber(L"1 2\t3\n4"));
  EXPECT_EQ(-12.5, LeadingNumber(L" - 1 2 . 5"));
  EXPECT_EQ(100.0, LeadingNumber(L"1 E 2"));
  // Other white space is no blank.
  EXPECT_EQ(1.0, LeadingNumber(L"1\r2"));
}

TEST(LeadingNumber, ExponentsWithEOrDAndAnOptionalSign) {
  EXPECT_EQ(1500.0, LeadingNumber(L"1.5E3"));
  EXPECT_EQ(1500.0, LeadingNumber(L"1.5D3"));
  EXPECT_EQ(0.015, LeadingNumber(L"1.5E-2"));
  EXPECT_EQ(0.015, LeadingNumber(L"1.5D-2"));
  EXPECT_EQ(2e5, LeadingNumber(L"2e+5"));
  EXPECT_EQ(1e300, LeadingNumber(L"1E+300"));
  // An exponent without digits is not part of the number.
  EXPECT_EQ(7.0, LeadingNumber(L"7E"));
  EXPECT_EQ(7.0, LeadingNumber(L"7E-x"));
}

TEST(LeadingNumber, VeryLongAndOverflowingNumbers) {
  EXPECT_EQ(1.0, LeadingNumber(L"1." + std::wstring(5000, L'0')));
  EXPECT_TRUE(std::isinf(LeadingNumber(L"1E99999")));
  EXPECT_EQ(0.0, LeadingNumber(L"1E-99999"));
}

TEST(ToInt16, RoundsHalfToEven) {
  EXPECT_EQ(12, ToInt16(12.5));
  EXPECT_EQ(14, ToInt16(13.5));
  EXPECT_EQ(-180, ToInt16(-179.5));
  EXPECT_EQ(180, ToInt16(179.5));
  EXPECT_EQ(180, ToInt16(179.7));
  EXPECT_EQ(0, ToInt16(-0.5));
  EXPECT_EQ(-1, ToInt16(-0.6));
}

TEST(ToInt16, EmptyOutsideTheSixteenBitRange) {
  EXPECT_EQ(32767, ToInt16(32767.4));
  EXPECT_EQ(-32768, ToInt16(-32768.5));  // ties to the even -32768
  EXPECT_FALSE(ToInt16(32767.5));
  EXPECT_FALSE(ToInt16(-32768.6));
  EXPECT_FALSE(ToInt16(-99999));
  EXPECT_FALSE(ToInt16(1e300));
  EXPECT_FALSE(ToInt16(HUGE_VAL));
  EXPECT_FALSE(ToInt16(NAN));
}

TEST(ToInt32, RoundsHalfToEvenAndIsEmptyOutsideTheRange) {
  EXPECT_EQ(12, ToInt32(12.5));
  EXPECT_EQ(14, ToInt32(13.5));
  EXPECT_EQ(-180, ToInt32(-179.5));
  EXPECT_EQ(99999, ToInt32(99999));
  EXPECT_EQ(2147483647, ToInt32(2147483647.4));
  EXPECT_EQ(-2147483647 - 1, ToInt32(-2147483648.0));
  EXPECT_FALSE(ToInt32(2147483647.5));
  EXPECT_FALSE(ToInt32(-2147483649.0));
  EXPECT_FALSE(ToInt32(1e300));
}

TEST(NumberToText, WholeNumbersArePlainDigits) {
  EXPECT_EQ(L"200", NumberToText(200));
  EXPECT_EQ(L"-15", NumberToText(-15));
  EXPECT_EQ(L"0", NumberToText(0));
  EXPECT_EQ(L"0", NumberToText(-0.0));
  EXPECT_EQ(L"-5", NumberToText(-5));
  EXPECT_EQ(L"999999999999999", NumberToText(999999999999999.0));
}

TEST(NumberToText, OthersKeepAtMostFifteenSignificantDigits) {
  EXPECT_EQ(L"12.5", NumberToText(12.5));
  EXPECT_EQ(L"179.9", NumberToText(179.9));
  EXPECT_EQ(L"-179.5", NumberToText(-179.5));
  EXPECT_EQ(L"0.333333333333333", NumberToText(1.0 / 3.0));
  EXPECT_EQ(L"-0.666666666666667", NumberToText(-2.0 / 3.0));
  EXPECT_EQ(L"0.1", NumberToText(0.1));
  EXPECT_EQ(L"0.001", NumberToText(0.001));
}

TEST(NumberToText, VeryLargeAndSmallMagnitudesReadBackEqual) {
  for (double v : {1e300, -1e300, 1e-300, -1e-300, 1e15, 1234567890123456.0, 123456789012345678.0,
                   1.7976931348623157e308, 4.9406564584124654e-324, 1e-5, 1.0 / 3.0e20}) {
    const std::wstring text = NumberToText(v);
    EXPECT_EQ(v, LeadingNumber(text))
        << "text read back from " << std::string(text.begin(), text.end());
  }
  // Within 15 significant digits the exponent form stays short.
  EXPECT_EQ(L"1E+300", NumberToText(1e300));
  EXPECT_EQ(L"1E-300", NumberToText(1e-300));
}
