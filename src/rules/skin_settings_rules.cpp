#include "rules/skin_settings_rules.h"

#include "rules/number.h"

namespace rules {

std::optional<int16_t> StoredLevel(std::wstring_view storedText) {
  if (storedText.empty()) return std::nullopt;
  return ToInt16(LeadingNumber(storedText));
}

std::optional<double> StorableLevel(std::wstring_view boxText) {
  if (boxText.empty()) return std::nullopt;
  const double v = LeadingNumber(boxText);
  if (!(-180 < v && v < 180)) return std::nullopt;
  return v;
}

SkinEntries EntriesToStore(std::wstring_view listText, std::wstring_view alphaText,
                           std::wstring_view hueText) {
  SkinEntries entries;
  if (!listText.empty()) entries.skinName = std::wstring(listText);
  entries.alpha = StorableLevel(alphaText);
  entries.hue = StorableLevel(hueText);
  return entries;
}

}  // namespace rules
