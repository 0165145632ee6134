// The baseline for the benchmarks: a bare window that hosts the same
// WebBrowser control and opens the same address, with no menu, no skin
// engine and no size log.
#include <windows.h>
#include <ole2.h>

#include "main_window/browser_calls.h"
#include "main_window/browser_site.h"

namespace {

toolkit::ComPtr<main_window::BrowserSite> gSite;

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (gSite) gSite->Place(RECT{0, 0, LOWORD(lp), HIWORD(lp)});
      return 0;
    case WM_DESTROY:
      if (gSite) gSite->Close();
      gSite.Reset();
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  OleInitialize(nullptr);
  WNDCLASSW wc = {};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"BaselineBrowser";
  RegisterClassW(&wc);
  const int w = 1040, h = 750;
  HWND hwnd = CreateWindowW(wc.lpszClassName, L"Baseline browser", WS_OVERLAPPEDWINDOW,
                            (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                            (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, nullptr, nullptr,
                            instance, nullptr);
  RECT client;
  GetClientRect(hwnd, &client);
  gSite = main_window::BrowserSite::Create(hwnd, client);
  if (gSite) {
    toolkit::ComPtr<IDispatch> browser;
    gSite->Object()->QueryInterface(IID_IDispatch, browser.PutVoid());
    main_window::SetSilent(browser.Get());
    main_window::NavigateTo(browser.Get(), L"http://www.morvanta.tv/tv/cbox.html");
  }
  ShowWindow(hwnd, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  OleUninitialize();
  return 0;
}
