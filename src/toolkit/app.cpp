#include "toolkit/app.h"

#include <windows.h>

#include "toolkit/form.h"

namespace toolkit {

namespace {

float TwipsPerPixel(int axis) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, axis);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? 1440.0f / static_cast<float>(dpi) : 15.0f;
}

// The program is aware of the system DPI, which stays fixed while it runs:
// ask the display once.
float CachedTwipsPerPixel(int axis) {
  static const float x = TwipsPerPixel(LOGPIXELSX);
  static const float y = TwipsPerPixel(LOGPIXELSY);
  return axis == LOGPIXELSX ? x : y;
}

void Dispatch(MSG& msg) {
  if (TranslateFormKeys(&msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

}  // namespace

std::wstring AppPath() {
  // The program file does not move while it runs; every resize asks for
  // this folder, so it is found once.
  static const std::wstring folder = [] {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
      if (n < path.size()) {
        path.resize(n);
        break;
      }
      path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
  }();
  return folder;
}

float TwipsPerPixelX() { return CachedTwipsPerPixel(LOGPIXELSX); }
float TwipsPerPixelY() { return CachedTwipsPerPixel(LOGPIXELSY); }

float ScreenWidth() { return static_cast<float>(GetSystemMetrics(SM_CXSCREEN)) * TwipsPerPixelX(); }
float ScreenHeight() {
  return static_cast<float>(GetSystemMetrics(SM_CYSCREEN)) * TwipsPerPixelY();
}

int MsgBox(const std::wstring& prompt, unsigned style, const std::wstring& title) {
  return MessageBoxW(GetActiveWindow(), prompt.c_str(), title.c_str(), style);
}

void RunEventLoop() {
  MSG msg;
  while (LoadedFormCount() > 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    Dispatch(msg);
    DeleteDiscardedForms();
  }
  DeleteDiscardedForms();
}

void DoEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Dispatch(msg);
  }
  DeleteDiscardedForms();
}

}  // namespace toolkit
