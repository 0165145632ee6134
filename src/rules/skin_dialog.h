// The skin dialog's decisions that need no window: which directory entries
// become list items, what Save hands to the skin engine, and whether Close
// asks before leaving.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rules {

// The base names of the skin files among a folder's file names, in the
// listing's order: names whose last four characters are exactly ".she"
// (lower case), without those four characters. ".she" alone gives "".
// A base name that the start would not attach (IsSkinName: "." from
// "..she", ".." from "...she") is left out, so Save never stores one.
std::vector<std::wstring> SkinNames(const std::vector<std::wstring>& fileNames);

// The number Save reads from a box: its leading-number value rounded half
// to even to a 32-bit integer; empty when that value is out of range.
std::optional<int32_t> BoxValue(std::wstring_view text);

// The hue Save applies: -179 to 179, else nothing.
std::optional<int16_t> HueToApply(std::optional<int32_t> hueValue);
// The transparency Save applies: 1 to 249, else nothing.
std::optional<int16_t> AlphaToApply(std::optional<int32_t> alphaValue);

// Close asks before leaving when either box holds text or the check box is
// ticked (1); otherwise the dialog closes at once.
bool CloseAsksFirst(std::wstring_view hueText, std::wstring_view alphaText, int checkValue);

}  // namespace rules
