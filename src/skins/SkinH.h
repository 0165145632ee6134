// The skin engine dulib.dll, reached through its five entry points. Each is
// bound at its first call: the library is loaded from the application
// folder only and the address kept for later calls. When the library or an
// entry point cannot be found, the call is skipped and the caller goes on.
#pragma once

#include <cstdint>
#include <string>

namespace SkinH {

// The eight fixed arguments of SkinH_AdjustAero after the level. The
// program always passes kAeroArgs; our dulib.dll accepts them and does not
// use them.
struct AeroArgs {
  int32_t arg1, arg2, arg3, arg4, arg5, arg6, arg7, arg8;
};
inline constexpr AeroArgs kAeroArgs = {120, 10, 8, 0, 0, 0, 0, 0};

// Each returns the engine's answer (1 done, 0 refused), or 0 when the call
// was skipped.
int SkinH_Attach();
int SkinH_AttachEx(const std::wstring& skinFile, const std::wstring& second);
int SkinH_AdjustHSV(int16_t hue, int16_t saturation, int16_t brightness);
int SkinH_AdjustAero(int16_t alpha, const AeroArgs& args);
int SkinH_SetAero(int32_t on);

}  // namespace SkinH
