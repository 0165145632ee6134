// What loading and saving the skin settings do with the texts involved.
// Pure C++: no Windows headers, so they are unit-tested natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rules {

// A stored transparency or hue as load passes it to the skin engine: its
// leading-number value rounded half to even. Empty when the text is empty
// (no call) or when the value does not fit 16 bits (the call is skipped:
// the stored text cannot have come from save, which keeps -180..180).
std::optional<int16_t> StoredLevel(std::wstring_view storedText);

// A box's entry as save stores it: its leading-number value, when the box
// is not empty and the value lies strictly between -180 and 180.
std::optional<double> StorableLevel(std::wstring_view boxText);

// The transparency box as save stores it: as StorableLevel, and also every
// entry that Save applies (1 to 249 once rounded), so that the next start
// applies again what the user saw applied. Load rounds the stored value
// the same way, so it gives the same level.
std::optional<double> StorableAlpha(std::wstring_view boxText);

// Whether a stored SkinName is attached at start: not when it holds a
// folder separator or a drive colon, which could lead the skin file path
// out of the Skin folder, nor when it is "." or "..". The dialog lists
// only names this accepts (SkinNames), so Save never stores another; the
// empty name stays a name (it gives Skin\.she).
bool IsSkinName(std::wstring_view storedName);

// The keys save writes from the dialog's entries; an empty one is left
// unwritten and keeps the value already in the file.
struct SkinEntries {
  std::optional<std::wstring> skinName;  // SkinName
  std::optional<double> alpha;           // SkinAlpha
  std::optional<double> hue;             // SkinHue
};
SkinEntries EntriesToStore(std::wstring_view listText, std::wstring_view alphaText,
                           std::wstring_view hueText);

}  // namespace rules
