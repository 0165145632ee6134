// A stand-in for the skin engine that appends one line per call to
// dulib_trace.txt beside the DLL: the name, then each argument after "|".
// Texts are written as the bytes that arrived (ANSI code page).
#include <windows.h>

#include <string>

namespace {

HMODULE SelfModule() {
  HMODULE self = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&SelfModule), &self);
  return self;
}

void Record(const std::string& line) {
  wchar_t path[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameW(SelfModule(), path, MAX_PATH * 2);
  std::wstring trace(path, n);
  trace = trace.substr(0, trace.find_last_of(L'\\')) + L"\\dulib_trace.txt";
  HANDLE file = CreateFileW(trace.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string data = line + "\r\n";
  DWORD written;
  WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(file);
}

std::string Args(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += "|" + std::to_string(v);
  return s;
}

// The loading thread's error mode while this library was being loaded.
DWORD errorModeAtLoad = 0xFFFFFFFF;

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) errorModeAtLoad = GetThreadErrorMode();
  return TRUE;
}

extern "C" {

// Not an engine entry point: tells the tests how the program loaded it.
__declspec(dllexport) DWORD WINAPI ErrorModeAtLoad() { return errorModeAtLoad; }

__declspec(dllexport) int WINAPI SkinH_Attach() {
  Record("SkinH_Attach");
  return 0;
}

__declspec(dllexport) int WINAPI SkinH_AttachEx(const char* path, const char* second) {
  Record(std::string("SkinH_AttachEx|") + (path ? path : "(null)") + "|" +
         (second ? second : "(null)"));
  return 0;
}

__declspec(dllexport) int WINAPI SkinH_AdjustHSV(int hue, int saturation, int brightness) {
  Record("SkinH_AdjustHSV" + Args({hue, saturation, brightness}));
  return 0;
}

__declspec(dllexport) int WINAPI
    SkinH_AdjustAero(int a1, int a2, int a3, int a4, int a5, int a6, int a7, int a8, int a9) {
  Record("SkinH_AdjustAero" + Args({a1, a2, a3, a4, a5, a6, a7, a8, a9}));
  return 0;
}

__declspec(dllexport) int WINAPI SkinH_SetAero(int on) {
  Record("SkinH_SetAero" + Args({on}));
  return 0;
}

}  // extern "C"
