// Number rules shared by the settings file, the skin dialog and the size log.
// Pure C++: no Windows headers, so they are unit-tested natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rules {

// The leading-number value of a text: blanks, tabs and line feeds are
// skipped wherever they stand; then an optional sign, digits with at most
// one ".", and an optional exponent (E or D, optional sign). Reading stops
// at the first character that does not fit; no digits gives 0.
double LeadingNumber(std::wstring_view text);

// Nearest integer, ties to the even neighbour (12.5 -> 12, 13.5 -> 14).
// Empty when the result does not fit the target type.
std::optional<int16_t> ToInt16(double value);
std::optional<int32_t> ToInt32(double value);

// A double as the settings file stores it: whole numbers as plain digits,
// others with "." and at most 15 significant digits, no trailing zeros.
// Very large or very small magnitudes use an exponent ("1E+300") and keep
// enough digits to read back to the same value.
std::wstring NumberToText(double value);

// A 32-bit float as the size log writes it: whole values as plain digits,
// others with at most 7 significant digits and ".".
std::wstring SingleToText(float value);

}  // namespace rules
