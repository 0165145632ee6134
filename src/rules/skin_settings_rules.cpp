#include "rules/skin_settings_rules.h"

#include "rules/number.h"
#include "rules/skin_dialog.h"

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

std::optional<double> StorableAlpha(std::wstring_view boxText) {
  if (const auto v = StorableLevel(boxText)) return v;
  if (!boxText.empty() && AlphaToApply(BoxValue(boxText))) return LeadingNumber(boxText);
  return std::nullopt;
}

bool IsSkinName(std::wstring_view storedName) {
  if (storedName == L"." || storedName == L"..") return false;
  return storedName.find_first_of(L"\\/:") == std::wstring_view::npos;
}

SkinEntries EntriesToStore(std::wstring_view listText, std::wstring_view alphaText,
                           std::wstring_view hueText) {
  SkinEntries entries;
  if (!listText.empty()) entries.skinName = std::wstring(listText);
  entries.alpha = StorableAlpha(alphaText);
  entries.hue = StorableLevel(hueText);
  return entries;
}

}  // namespace rules
