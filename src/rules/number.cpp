#include "rules/number.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace rules {
namespace {

bool IsSkipped(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads the leading number into plain ASCII that strtod understands.
std::string LeadingNumberText(std::wstring_view text) {
  std::string out;
  size_t i = 0;
  auto peek = [&]() -> wchar_t {
    while (i < text.size() && IsSkipped(text[i])) ++i;
    return i < text.size() ? text[i] : L'\0';
  };

  wchar_t c = peek();
  if (c == L'+' || c == L'-') {
    out += static_cast<char>(c);
    ++i;
  }
  bool digits = false, point = false;
  for (c = peek(); IsDigit(c) || (c == L'.' && !point); c = peek()) {
    if (c == L'.')
      point = true;
    else
      digits = true;
    out += static_cast<char>(c);
    ++i;
  }
  if (!digits) return {};

  c = peek();
  if (c == L'E' || c == L'e' || c == L'D' || c == L'd') {
    std::string exponent = "e";
    ++i;
    c = peek();
    if (c == L'+' || c == L'-') {
      exponent += static_cast<char>(c);
      ++i;
    }
    bool exponentDigits = false;
    for (c = peek(); IsDigit(c); c = peek()) {
      exponent += static_cast<char>(c);
      exponentDigits = true;
      ++i;
    }
    if (exponentDigits) out += exponent;
  }
  return out;
}

template <typename Int>
std::optional<Int> RoundTo(double value, double low, double high) {
  if (!std::isfinite(value)) return std::nullopt;
  // nearbyint follows the current rounding mode; the default one rounds
  // ties to even, which is the rule here.
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double rounded = std::nearbyint(value);
  std::fesetround(saved);
  if (rounded < low || rounded > high) return std::nullopt;
  return static_cast<Int>(rounded);
}

std::wstring Widen(const char* s) { return std::wstring(s, s + std::char_traits<char>::length(s)); }

std::wstring Format(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return Widen(buffer);
}

}  // namespace

double LeadingNumber(std::wstring_view text) {
  const std::string number = LeadingNumberText(text);
  if (number.empty()) return 0.0;
  return std::strtod(number.c_str(), nullptr);
}

std::optional<int16_t> ToInt16(double value) { return RoundTo<int16_t>(value, -32768.0, 32767.0); }

std::optional<int32_t> ToInt32(double value) {
  return RoundTo<int32_t>(value, -2147483648.0, 2147483647.0);
}

std::wstring NumberToText(double value) {
  if (value == 0.0 || !std::isfinite(value)) return L"0";
  if (value == std::trunc(value) && std::fabs(value) < 1e15) return Format("%.0f", value);

  std::wstring text = Format("%.15G", value);
  const bool exponent = text.find(L'E') != std::wstring::npos;
  if (exponent) {
    // Keep the digits that make the text read back to the same value.
    for (int precision = 16; precision <= 17 && LeadingNumber(text) != value; ++precision) {
      char format[8];
      std::snprintf(format, sizeof format, "%%.%dG", precision);
      text = Format(format, value);
    }
  }
  return text;
}

std::wstring SingleToText(float value) {
  if (value == 0.0f) return L"0";
  if (value == std::trunc(value) && std::fabs(value) < 1e7f) return Format("%.0f", value);
  return Format("%.7G", value);
}

}  // namespace rules
