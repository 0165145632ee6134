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
