// Moves the skin settings between config.ini and the skin engine.
#pragma once

#include <string>

namespace skins {

// application folder\config.ini
std::wstring SettingsFilePath();
// application folder\Skin\<base name>.she
std::wstring SkinFilePath(const std::wstring& baseName);

// Applies the stored skin, transparency and hue through the skin engine.
void LoadSkinSettings();
// Stores the dialog's entries, each only when it passes its test.
void SaveSkinSettings(const std::wstring& skinName, const std::wstring& alphaText,
                      const std::wstring& hueText);

}  // namespace skins
