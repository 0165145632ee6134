#include "rules/skin_dialog.h"

#include "rules/number.h"
#include "rules/skin_settings_rules.h"

namespace rules {

std::vector<std::wstring> SkinNames(const std::vector<std::wstring>& fileNames) {
  constexpr std::wstring_view kExtension = L".she";
  std::vector<std::wstring> names;
  for (const std::wstring& name : fileNames) {
    if (name.size() < kExtension.size()) continue;
    const size_t base = name.size() - kExtension.size();
    if (std::wstring_view(name).substr(base) != kExtension) continue;
    // Save would store it and the next start refuse it ("." or "..").
    if (IsSkinName(std::wstring_view(name).substr(0, base))) names.push_back(name.substr(0, base));
  }
  return names;
}

std::optional<int32_t> BoxValue(std::wstring_view text) { return ToInt32(LeadingNumber(text)); }

std::optional<int16_t> HueToApply(std::optional<int32_t> hueValue) {
  if (!hueValue || *hueValue <= -180 || *hueValue >= 180) return std::nullopt;
  return static_cast<int16_t>(*hueValue);
}

std::optional<int16_t> AlphaToApply(std::optional<int32_t> alphaValue) {
  if (!alphaValue || *alphaValue <= 0 || *alphaValue >= 250) return std::nullopt;
  return static_cast<int16_t>(*alphaValue);
}

bool CloseAsksFirst(std::wstring_view hueText, std::wstring_view alphaText, int checkValue) {
  return !alphaText.empty() || !hueText.empty() || checkValue == 1;
}

}  // namespace rules
