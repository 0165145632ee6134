// dulib.dll: the skin engine's five entry points. Each argument takes one
// 32-bit stack slot (stdcall); each returns 1 when it did what was asked
// and 0 when it did nothing. Texts come in the system ANSI code page.
#include <windows.h>

#include <string>

#include "common/ansi.h"
#include "skinner.h"

extern "C" {

__declspec(dllexport) int __stdcall SkinH_Attach() {
  if (!dulib::OnEngineThread()) return 0;
  return dulib::Attach() ? 1 : 0;
}

// `second` is accepted for the caller's sake and not used: our skin files
// are plain text, with nothing to unlock.
__declspec(dllexport) int __stdcall SkinH_AttachEx(const char* path, const char* second) {
  (void)second;
  if (!dulib::OnEngineThread()) return 0;
  const std::wstring wide = path ? common::FromAnsi(path) : std::wstring();
  if (wide.empty() || !dulib::LoadSkinFile(wide)) return 0;
  // A skin file given before SkinH_Attach still means "skin the windows".
  return dulib::Attach() ? 1 : 0;
}

__declspec(dllexport) int __stdcall SkinH_AdjustHSV(int hue, int saturation, int brightness) {
  if (!dulib::OnEngineThread()) return 0;
  dulib::SetAdjustment({hue, saturation, brightness});
  return 1;
}

// Only the level means something in this engine; the other eight are
// accepted and ignored (see docs/skin-format.md).
__declspec(dllexport) int __stdcall SkinH_AdjustAero(int level, int, int, int, int, int, int, int,
                                                     int) {
  if (!dulib::OnEngineThread()) return 0;
  dulib::SetAeroLevel(level);
  return 1;
}

__declspec(dllexport) int __stdcall SkinH_SetAero(int on) {
  if (!dulib::OnEngineThread()) return 0;
  dulib::SetAero(on != 0);
  return 1;
}

}  // extern "C"
