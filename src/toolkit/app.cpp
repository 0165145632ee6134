#include "toolkit/app.h"

#include <windows.h>

#include <vector>

#include "toolkit/form.h"
#include "toolkit/twips.h"
#include "toolkit/watch.h"

namespace toolkit {

namespace {

void Dispatch(MSG& msg) {
  if (TranslateFormKeys(&msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

// Sleeps until a message comes or a watched folder changes, and calls the
// watcher of a folder that did.
void WaitForEvents() {
  const std::vector<HANDLE> handles = WatchedHandles();
  const DWORD n = static_cast<DWORD>(handles.size());
  const DWORD woke =
      MsgWaitForMultipleObjectsEx(n, handles.data(), INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (woke < WAIT_OBJECT_0 + n) CallWatcher(handles[woke - WAIT_OBJECT_0]);
}

// The watched folders that changed since the last look, without waiting.
void CallChangedWatchers() {
  for (HANDLE handle : WatchedHandles()) {
    if (WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) CallWatcher(handle);
  }
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

float ScreenWidth() { return TwipsX(GetSystemMetrics(SM_CXSCREEN)); }
float ScreenHeight() { return TwipsY(GetSystemMetrics(SM_CYSCREEN)); }

int MsgBox(const std::wstring& prompt, unsigned style, const std::wstring& title) {
  return MessageBoxW(GetActiveWindow(), prompt.c_str(), title.c_str(), style);
}

void RunEventLoop() {
  MSG msg;
  while (LoadedFormCount() > 0) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      WaitForEvents();
      continue;
    }
    if (msg.message == WM_QUIT) break;
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
  CallChangedWatchers();
  DeleteDiscardedForms();
}

}  // namespace toolkit
