#include "skins/skin_settings.h"

#include "rules/skin_settings_rules.h"
#include "settings/SetIni.h"
#include "skins/SkinH.h"
#include "toolkit/app.h"
#include "toolkit/files.h"

namespace skins {
namespace {

const wchar_t kSection[] = L"Options";

std::wstring ReadSetting(const std::wstring& settingsFile, const wchar_t* key) {
  return std::get<std::wstring>(SetIni::ReadIni(settingsFile, kSection, key));
}

}  // namespace

std::wstring SettingsFilePath() { return toolkit::AppPath() + L"\\config.ini"; }

std::wstring SkinFilePath(const std::wstring& baseName) {
  return toolkit::AppPath() + L"\\Skin\\" + baseName + L".she";
}

void LoadSkinSettings() {
  const std::wstring settingsFile = SettingsFilePath();
  if (!toolkit::FileExists(settingsFile)) return;
  const std::wstring skinName = ReadSetting(settingsFile, L"SkinName");
  const std::wstring alphaText = ReadSetting(settingsFile, L"SkinAlpha");
  const std::wstring hueText = ReadSetting(settingsFile, L"SkinHue");

  // A skin whose file has gone keeps the look the engine has, and so does
  // a name edited to lead out of the Skin folder; the stored transparency
  // and hue are applied all the same.
  if (rules::IsSkinName(skinName)) {
    const std::wstring skinFile = SkinFilePath(skinName);
    if (toolkit::FileExists(skinFile)) SkinH::SkinH_AttachEx(skinFile, L"");
  }

  if (const auto alpha = rules::StoredLevel(alphaText)) {
    SkinH::SkinH_AdjustAero(*alpha, SkinH::kAeroArgs);
  }
  if (const auto hue = rules::StoredLevel(hueText)) SkinH::SkinH_AdjustHSV(*hue, 0, 0);
}

void SaveSkinSettings(const std::wstring& skinName, const std::wstring& alphaText,
                      const std::wstring& hueText) {
  const std::wstring settingsFile = SettingsFilePath();
  const rules::SkinEntries entries = rules::EntriesToStore(skinName, alphaText, hueText);
  // The keys of one Save reach the file together or not at all.
  std::vector<SetIni::IniEntry> keys;
  if (entries.skinName) keys.push_back({kSection, L"SkinName", *entries.skinName});
  if (entries.alpha) keys.push_back({kSection, L"SkinAlpha", *entries.alpha});
  if (entries.hue) keys.push_back({kSection, L"SkinHue", *entries.hue});
  SetIni::WriteIniEntries(settingsFile, keys);
}

}  // namespace skins
