#include "skins/skin_settings.h"

#include "toolkit/app.h"

namespace skins {

std::wstring SettingsFilePath() { return toolkit::AppPath() + L"\\config.ini"; }

std::wstring SkinFilePath(const std::wstring& baseName) {
  return toolkit::AppPath() + L"\\Skin\\" + baseName + L".she";
}

// Reading and applying the stored settings comes with the settings module.
void LoadSkinSettings() {}
void SaveSkinSettings(const std::wstring&, const std::wstring&, const std::wstring&) {}

}  // namespace skins
