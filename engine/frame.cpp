#include "frame.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "draw.h"
#include "common/win_handles.h"
#include "skin/frame_layout.h"
#include "skin/frame_mode.h"

namespace dulib::frame {

namespace {

// A value of Wine's X11 driver options, per program first, as Wine reads them.
std::wstring WineX11Option(const wchar_t* name) {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const wchar_t* base = exe;
  for (const wchar_t* p = exe; *p; p++) {
    if (*p == L'\\' || *p == L'/') base = p + 1;
  }
  std::wstring keys[] = {std::wstring(L"Software\\Wine\\AppDefaults\\") + base + L"\\X11 Driver",
                         L"Software\\Wine\\X11 Driver"};
  for (const std::wstring& key : keys) {
    wchar_t value[16] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) ==
        ERROR_SUCCESS) {
      return value;
    }
  }
  return {};
}

// Wine leaves the frames of managed windows to the X window manager; it
// manages them unless told otherwise ("Managed" starting with y, t or 1
// counts as yes, as in Wine itself, and so does no value at all). Other
// Wine display drivers (macOS, Wayland) leave frames to the system too:
// they read no such value and so count as managed here, rightly.
bool WineManagesFrames() {
  std::wstring managed = WineX11Option(L"Managed");
  if (managed.empty()) return true;
  return wcschr(L"yYtT1", managed[0]) != nullptr;
}

// A function of a system DLL, bound at run time: the engine imports
// nothing beyond what every supported Windows has at load time. From the
// system folder only: a DLL that Windows does not always take from there
// would otherwise be loaded from beside the program or the current folder.
FARPROC SystemFunction(const wchar_t* dll, const char* name) {
  wchar_t path[MAX_PATH];
  UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + 1 + lstrlenW(dll) >= MAX_PATH) return nullptr;
  lstrcatW(path, L"\\");
  lstrcatW(path, dll);
  HMODULE module = LoadLibraryW(path);
  return module ? GetProcAddress(module, name) : nullptr;
}

struct Session {
  skin::Metrics now;
  skin::Metrics before;  // the skin's before the current one, to undo exactly what it did
};

Session& TheSession() {
  static Session session;
  return session;
}

}  // namespace

bool ManagerDraws() {
  static const bool managed = draw::UnderWine() && WineManagesFrames();
  return managed;
}

bool SetMetrics(const skin::Metrics& metrics) {
  Session& s = TheSession();
  bool changed = s.now.given != metrics.given ||
                 (metrics.given && (s.now.caption_height != metrics.caption_height ||
                                    s.now.border_width != metrics.border_width ||
                                    s.now.corner_radius != metrics.corner_radius));
  s.before = s.now;
  s.now = metrics;
  return changed && !ManagerDraws();
}

const skin::Metrics& Metrics() { return TheSession().now; }
const skin::Metrics& Previous() { return TheSession().before; }

void SetDwmFrame(HWND hwnd, bool on) {
  if (draw::UnderWine()) return;
  using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  static auto set_attribute =
      reinterpret_cast<SetAttribute>(SystemFunction(L"dwmapi.dll", "DwmSetWindowAttribute"));
  if (!set_attribute) return;
  const DWORD kNcRenderingPolicy = 2;  // DWMWA_NCRENDERING_POLICY
  const int kUseWindowStyle = 0;       // DWMNCRP_USEWINDOWSTYLE
  const int kDisabled = 1;             // DWMNCRP_DISABLED
  const int policy = on ? kUseWindowStyle : kDisabled;
  set_attribute(hwnd, kNcRenderingPolicy, &policy, sizeof policy);
}

namespace {

// The edges of a monitor where a task bar hides itself. Asked only while
// a window is maximised (each question is a message to the task bar).
skin::frame::AutoHide AutoHidingTaskBars(const RECT& monitor, bool primary) {
  using AppBarMessage = UINT_PTR(WINAPI*)(DWORD, APPBARDATA*);
  static auto message =
      reinterpret_cast<AppBarMessage>(SystemFunction(L"shell32.dll", "SHAppBarMessage"));
  skin::frame::AutoHide hide;
  if (!message) return hide;
  APPBARDATA state = {sizeof state};
  if (!(message(ABM_GETSTATE, &state) & ABS_AUTOHIDE)) return hide;
  // The bar on an edge of this monitor; on systems without that question
  // (before Windows 8), of the primary monitor only.
  constexpr DWORD kAutoHideBarOfMonitor = 0x0B;  // ABM_GETAUTOHIDEBAREX
  auto on = [&](UINT edge) {
    APPBARDATA bar = {sizeof bar};
    bar.uEdge = edge;
    bar.rc = monitor;
    return message(kAutoHideBarOfMonitor, &bar) != 0 ||
           (primary && message(ABM_GETAUTOHIDEBAR, &bar) != 0);
  };
  hide.left = on(ABE_LEFT);
  hide.top = on(ABE_TOP);
  hide.right = on(ABE_RIGHT);
  hide.bottom = on(ABE_BOTTOM);
  return hide;
}

}  // namespace

RECT OwnMaximisedRect(HMONITOR monitor) {
  MONITORINFO mi = {sizeof mi};
  if (!GetMonitorInfoW(monitor, &mi)) return {};
  auto box = [](const RECT& r) { return skin::frame::Box{r.left, r.top, r.right, r.bottom}; };
  skin::frame::Box b = skin::frame::MaximisedBox(
      box(mi.rcWork), box(mi.rcMonitor),
      AutoHidingTaskBars(mi.rcMonitor, (mi.dwFlags & MONITORINFOF_PRIMARY) != 0));
  return {b.left, b.top, b.right, b.bottom};
}

int WindowDpi(HWND hwnd) {
  // user32 is loaded in every process that has windows; Windows 7 lacks
  // the function.
  using GetDpi = UINT(WINAPI*)(HWND);
  static auto get_dpi =
      reinterpret_cast<GetDpi>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow"));
  int own = get_dpi ? static_cast<int>(get_dpi(hwnd)) : 0;
  return skin::frame::ChooseDpi(own, draw::Dpi());
}

}  // namespace dulib::frame
