// dulib.dll: the skin engine's five entry points. Each argument takes one
// 32-bit stack slot (stdcall); each returns 1 when it did what was asked
// and 0 when it did nothing. Texts come in the system ANSI code page.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "common/ansi.h"
#include "skinner.h"

extern "C" {

__declspec(dllexport) int __stdcall SkinH_Attach() {
  if (!dulib::OnEngineThread()) return 0;
  return dulib::Attach() ? 1 : 0;
}

// The second argument is accepted and not used.
__declspec(dllexport) int __stdcall SkinH_AttachEx(const char* path, const char* /*unused*/) {
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

// The eight arguments after the level are accepted and not used.
__declspec(dllexport) int __stdcall SkinH_AdjustAero(int level, int /*arg1*/, int /*arg2*/,
                                                     int /*arg3*/, int /*arg4*/, int /*arg5*/,
                                                     int /*arg6*/, int /*arg7*/, int /*arg8*/) {
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

// An exception that escapes the engine ends the process. The runtime's
// default handler would first print the exception's type, demangled, to a
// console the program does not have; its demangler and what it pulls in
// were 75 KB of the DLL.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
