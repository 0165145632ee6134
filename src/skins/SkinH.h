// The skin engine dulib.dll, reached through its five entry points. Each is
// bound at its first call: the library is loaded from the application
// folder only and the address kept for later calls. When the library or an
// entry point cannot be found, the call is skipped and the caller goes on.
#pragma once

#include <cstdint>
#include <string>

namespace SkinH {

void SkinH_Attach();
void SkinH_AttachEx(const std::wstring& skinFile, const std::wstring& second);
void SkinH_AdjustHSV(int16_t hue, int16_t saturation, int16_t brightness);
void SkinH_AdjustAero(int16_t alpha, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6,
                      int32_t a7, int32_t a8, int32_t a9);
void SkinH_SetAero(int32_t on);

}  // namespace SkinH
