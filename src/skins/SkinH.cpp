#include "skins/SkinH.h"

#include <windows.h>

#include "common/ansi.h"
#include "toolkit/app.h"

namespace SkinH {
namespace {

// A damaged or foreign library can make the system put up a critical-error
// box before LoadLibrary returns. The engine is optional, so such boxes are
// turned off for this one call and such a library is skipped silently; the
// thread's own error mode is given back afterwards.
HMODULE LoadQuietly(const std::wstring& path) {
  DWORD previous = 0;
  const bool changed =
      SetThreadErrorMode(GetThreadErrorMode() | SEM_FAILCRITICALERRORS, &previous) != FALSE;
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (changed) SetThreadErrorMode(previous, nullptr);
  return module;
}

// Loads dulib.dll by its full path in the application folder, never from
// the current folder or PATH, so that a planted copy elsewhere is not used.
HMODULE Library() {
  static HMODULE module = nullptr;
  if (!module) module = LoadQuietly(toolkit::AppPath() + L"\\dulib.dll");
  return module;
}

// One entry point, looked up at its first call.
template <typename Fn>
Fn Bind(Fn& slot, const char* name) {
  if (!slot) {
    if (HMODULE module = Library()) slot = reinterpret_cast<Fn>(GetProcAddress(module, name));
  }
  return slot;
}

// Every argument travels in one 32-bit slot; texts in the ANSI code page.
using AttachFn = int(WINAPI*)();
using AttachExFn = int(WINAPI*)(const char*, const char*);
using AdjustHSVFn = int(WINAPI*)(int, int, int);
using AdjustAeroFn = int(WINAPI*)(int, int, int, int, int, int, int, int, int);
using SetAeroFn = int(WINAPI*)(int);

AttachFn attach;
AttachExFn attachEx;
AdjustHSVFn adjustHSV;
AdjustAeroFn adjustAero;
SetAeroFn setAero;

}  // namespace

int SkinH_Attach() {
  auto fn = Bind(attach, "SkinH_Attach");
  return fn ? fn() : 0;
}

int SkinH_AttachEx(const std::wstring& skinFile, const std::wstring& second) {
  auto fn = Bind(attachEx, "SkinH_AttachEx");
  if (!fn) return 0;
  const std::string path = common::ToAnsi(skinFile);
  const std::string other = common::ToAnsi(second);
  return fn(path.c_str(), other.c_str());
}

int SkinH_AdjustHSV(int16_t hue, int16_t saturation, int16_t brightness) {
  auto fn = Bind(adjustHSV, "SkinH_AdjustHSV");
  return fn ? fn(hue, saturation, brightness) : 0;
}

int SkinH_AdjustAero(int16_t alpha, const AeroArgs& args) {
  auto fn = Bind(adjustAero, "SkinH_AdjustAero");
  return fn ? fn(alpha, args.arg1, args.arg2, args.arg3, args.arg4, args.arg5, args.arg6,
                 args.arg7, args.arg8)
            : 0;
}

int SkinH_SetAero(int32_t on) {
  auto fn = Bind(setAero, "SkinH_SetAero");
  return fn ? fn(on) : 0;
}

}  // namespace SkinH
