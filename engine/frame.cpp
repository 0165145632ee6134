#include "frame.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

#include "draw.h"
#include "look.h"
#include "menubar.h"
#include "menus.h"
#include "record.h"
#include "subclass.h"
#include "common/win_handles.h"
#include "skin/frame_layout.h"
#include "skin/she_file.h"

namespace dulib::frame {

namespace {

using draw::Scaled;
using look::Part;

// Undocumented messages with which themed Windows draws the caption and
// frame itself, around WM_NCPAINT; a self-drawn frame must swallow them.
constexpr UINT kUahDrawCaption = 0xAE;
constexpr UINT kUahDrawFrame = 0xAF;
// Opens the window menu at a point on the screen (in lParam); undocumented
// too, sent by the task bar, handled by the default window procedure.
constexpr UINT kPopupSystemMenu = 0x313;

// The frame's part of the window's record; a window the engine does not
// follow (none reaches here) would share an empty one.
FrameState& StateOf(HWND hwnd) {
  static FrameState unknown;
  Record* record = RecordOf(hwnd);
  if (!record) return unknown = {};
  FrameState& state = record->frame;
  if (!state.known) {
    state.known = true;
    state.active = GetActiveWindow() == hwnd;
  }
  return state;
}

// ---- when to draw -------------------------------------------------------------

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

// On Windows Vista and later the desktop window manager draws the frames
// itself unless told not to for this window. Bound at run time: Windows 7
// has the function, but the engine imports nothing beyond what every
// supported Windows has at load time.
void DisableDwmFrame(HWND hwnd) {
  using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  static SetAttribute set_attribute = [] {
    // From the system folder only: dwmapi.dll is not one of the DLLs that
    // Windows always takes from there, and a file of that name beside the
    // program or in the current folder would otherwise be loaded instead.
    wchar_t path[MAX_PATH];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 12 >= MAX_PATH) return SetAttribute(nullptr);
    lstrcatW(path, L"\\dwmapi.dll");
    HMODULE dwm = LoadLibraryW(path);
    return dwm ? reinterpret_cast<SetAttribute>(GetProcAddress(dwm, "DwmSetWindowAttribute"))
               : nullptr;
  }();
  if (!set_attribute) return;
  const DWORD kNcRenderingPolicy = 2;  // DWMWA_NCRENDERING_POLICY
  const int kDisabled = 1;             // DWMNCRP_DISABLED
  set_attribute(hwnd, kNcRenderingPolicy, &kDisabled, sizeof kDisabled);
}

// ---- geometry -------------------------------------------------------------------

// The frame sizes of the attached skin; `given` false keeps the
// platform's own layout.
skin::Metrics& TheMetrics() {
  static skin::Metrics metrics;
  return metrics;
}

// Everything in window coordinates (0, 0 is the window's top left corner).
struct Layout {
  SIZE size = {};
  RECT client = {};
  RECT bar = {};      // menu bar; empty when there is none
  RECT caption = {};  // title band inside the borders
  RECT buttons[3] = {};
  static constexpr int kCodes[3] = {HTCLOSE, HTMAXBUTTON, HTMINBUTTON};
};

// Caption buttons, right to left: close, then maximise, then minimise,
// only those the window's style asks for. In the platform's caption they
// fill its height; in a caption of the skin's height they keep the size
// of a modern title bar's (46 by 30 pixels at 96 DPI), centred, so a tall
// caption does not make them into blocks.
void PlaceButtons(Layout* l, LONG style, LONG ex) {
  if (!(style & WS_SYSMENU)) return;
  int height = l->caption.bottom - l->caption.top - 2 * Scaled(skin::frame::kButtonInset);
  int width = height + height / 3;
  int right = l->caption.right - Scaled(skin::frame::kButtonInset);
  int top = (l->caption.top + l->caption.bottom - height) / 2;
  bool wanted[3] = {true, !(ex & WS_EX_TOOLWINDOW) && (style & WS_MAXIMIZEBOX),
                    !(ex & WS_EX_TOOLWINDOW) && (style & WS_MINIMIZEBOX)};
  for (int i = 0; i < 3; i++) {
    if (!wanted[i] || height <= 0) continue;
    SetRect(&l->buttons[i], right - width, top, right, top + height);
    right -= width + (i == 0 ? Scaled(skin::frame::kButtonInset) : 0);
  }
}

RECT ToRect(const skin::frame::Box& b) { return {b.left, b.top, b.right, b.bottom}; }

// The window as the pure layout sees it, with the style given (which may
// leave out the maximised and minimised states).
skin::frame::Window FrameWindow(HWND hwnd, LONG style, SIZE size) {
  LONG ex = GetWindowLongW(hwnd, GWL_EXSTYLE);
  skin::frame::Window w;
  w.width = size.cx;
  w.height = size.cy;
  w.sizable = (style & WS_THICKFRAME) != 0;
  w.sysmenu = (style & WS_SYSMENU) != 0;
  w.max_box = (style & WS_MAXIMIZEBOX) != 0;
  w.min_box = (style & WS_MINIMIZEBOX) != 0;
  w.tool = (ex & WS_EX_TOOLWINDOW) != 0;
  w.maximised = (style & WS_MAXIMIZE) != 0;
  w.minimised = (style & WS_MINIMIZE) != 0;
  return w;
}

skin::frame::Sizes FrameSizes(HWND hwnd, const skin::Metrics& metrics) {
  return {metrics.border_width, metrics.caption_height, menubar::Height(hwnd), draw::Dpi()};
}

SIZE WindowSize(HWND hwnd) {
  RECT window;
  GetWindowRect(hwnd, &window);
  return {window.right - window.left, window.bottom - window.top};
}

// The widths of the frame around the client area of a window of this
// style, at the skin's sizes.
RECT OwnInsets(HWND hwnd, LONG style) {
  return ToRect(skin::frame::Insets(FrameWindow(hwnd, style, WindowSize(hwnd)),
                                    FrameSizes(hwnd, TheMetrics())));
}

// Where the engine lays the frame out itself, all of it follows from the
// window's rectangle and the skin's sizes.
skin::frame::Layout PureLayoutOf(HWND hwnd) {
  SIZE size = WindowSize(hwnd);
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  if (IsIconic(hwnd)) style |= WS_MINIMIZE;
  return skin::frame::Lay(FrameWindow(hwnd, style, size), FrameSizes(hwnd, TheMetrics()),
                          GetSystemMetrics(SM_CXSMICON));
}

Layout OwnLayoutOf(HWND hwnd) {
  skin::frame::Layout pure = PureLayoutOf(hwnd);
  Layout l;
  l.size = WindowSize(hwnd);
  l.caption = ToRect(pure.caption);
  l.bar = pure.bar.Empty() ? RECT{} : ToRect(pure.bar);
  l.client = ToRect(pure.client);
  for (int i = 0; i < 3; i++) l.buttons[i] = ToRect(pure.buttons[i]);
  return l;
}

// The platform keeps laying the frame out: we find where it put the
// client area and the menu bar, and the title band is what lies above.
Layout PlatformLayoutOf(HWND hwnd) {
  Layout l;
  RECT window;
  GetWindowRect(hwnd, &window);
  l.size = {window.right - window.left, window.bottom - window.top};
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  LONG ex = GetWindowLongW(hwnd, GWL_EXSTYLE);

  RECT edges = {};
  AdjustWindowRectEx(&edges, style, FALSE, ex);
  int border = -edges.left;
  GetClientRect(hwnd, &l.client);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&l.client), 2);
  OffsetRect(&l.client, -window.left, -window.top);
  if (IsIconic(hwnd) || IsRectEmpty(&l.client)) {
    SetRect(&l.client, border, l.size.cy - border, l.size.cx - border, l.size.cy - border);
  } else {
    border = l.client.left;
  }

  MENUBARINFO bar = {sizeof bar};
  if (GetMenu(hwnd) && !IsIconic(hwnd) && GetMenuBarInfo(hwnd, OBJID_MENU, 0, &bar)) {
    l.bar = bar.rcBar;
    OffsetRect(&l.bar, -window.left, -window.top);
  }
  int caption_height = GetSystemMetrics((ex & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
  int caption_bottom = IsRectEmpty(&l.bar) ? l.client.top : l.bar.top;
  int caption_top = caption_bottom - caption_height;
  if (caption_top < border) caption_top = border;
  SetRect(&l.caption, border, caption_top, l.size.cx - border, caption_bottom);
  PlaceButtons(&l, style, ex);
  return l;
}

// Whether the engine lays this session's frames out: the skin gives frame
// sizes and the frames are ours to draw. Under a window manager the sizes
// change nothing: the platform keeps the geometry and we paint the bar only.
bool Owned() { return TheMetrics().given && Drawn(); }

Layout LayoutOf(HWND hwnd) { return Owned() ? OwnLayoutOf(hwnd) : PlatformLayoutOf(hwnd); }

// The caption button under a point on the screen, as a hit-test code.
int ButtonAt(HWND hwnd, POINT screen) {
  RECT window;
  GetWindowRect(hwnd, &window);
  POINT p = {screen.x - window.left, screen.y - window.top};
  Layout l = LayoutOf(hwnd);
  for (int i = 0; i < 3; i++) {
    if (PtInRect(&l.buttons[i], p)) return Layout::kCodes[i];
  }
  return 0;
}

bool IsButtonCode(WPARAM code) {
  return code == HTCLOSE || code == HTMAXBUTTON || code == HTMINBUTTON;
}

// The radius of the window's rounded corners; 0 for square ones, as
// maximised and minimised windows have.
int CornerRadius(HWND hwnd) {
  if (!Owned() || IsZoomed(hwnd) || IsIconic(hwnd)) return 0;
  return Scaled(TheMetrics().corner_radius);
}

// The shape of a window of this size with rounded corners. The region
// functions leave out the right and bottom edges they are given.
HRGN CornerRegion(SIZE size, int radius) {
  return CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, 2 * radius, 2 * radius);
}

// ---- painting ---------------------------------------------------------------------

common::Canvas& TheCanvas() {
  static auto* canvas = new common::Canvas;
  return *canvas;
}

// The icon the platform shows in the title bar: the window's own, else its
// class's, else the standard one, except on dialogs with a modal frame,
// which show only an icon they were given.
HICON IconOf(HWND hwnd) {
  LONG ex = GetWindowLongW(hwnd, GWL_EXSTYLE);
  if ((ex & WS_EX_TOOLWINDOW) || !(GetWindowLongW(hwnd, GWL_STYLE) & WS_SYSMENU)) return nullptr;
  for (WPARAM kind : {ICON_SMALL, ICON_BIG}) {
    DWORD_PTR icon = 0;
    if (SendMessageTimeoutW(hwnd, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, 200, &icon) && icon) {
      return reinterpret_cast<HICON>(icon);
    }
  }
  for (int index : {GCLP_HICONSM, GCLP_HICON}) {
    if (HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, index))) return icon;
  }
  if (ex & WS_EX_DLGMODALFRAME) return nullptr;
  return LoadIconW(nullptr, IDI_APPLICATION);
}

// Icons drawn on a caption colour, kept: drawing an icon with its mask and
// alpha costs more than the rest of the title bar together, on every
// repaint of a window being resized.
class IconImages {
 public:
  void Draw(HDC dc, int x, int y, HICON icon, int size, COLORREF back) {
    // A larger size makes the canvas grow, and a grown canvas starts empty.
    if (size > largest_) {
      for (Key& key : keys_) key = {};
      largest_ = size;
    }
    HDC cache = canvas_.Get(dc, size * kSlots, size);
    if (!cache) {
      DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
      return;
    }
    int slot = 0;
    while (slot < kSlots &&
           !(keys_[slot].icon == icon && keys_[slot].back == back && keys_[slot].size == size)) {
      slot++;
    }
    if (slot == kSlots) {
      slot = next_;
      next_ = (next_ + 1) % kSlots;
      keys_[slot] = {icon, back, size};
      RECT rc = {slot * size, 0, slot * size + size, size};
      SetBkColor(cache, back);
      ExtTextOutW(cache, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
      DrawIconEx(cache, slot * size, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    }
    BitBlt(dc, x, y, size, size, cache, slot * size, 0, SRCCOPY);
  }

 private:
  static constexpr int kSlots = 4;  // a few windows, active and inactive
  struct Key {
    HICON icon = nullptr;
    COLORREF back = 0;
    int size = 0;
  };
  common::Canvas canvas_;
  Key keys_[kSlots];
  int next_ = 0;
  int largest_ = 0;
};

void DrawIcon(HDC dc, int x, int y, HICON icon, int size, COLORREF back) {
  static auto* images = new IconImages;
  images->Draw(dc, x, y, icon, size, back);
}

look::States StatesOf(const FrameState& state) {
  return state.active ? look::kNormal : look::kInactive;
}

// Whether a caption button does anything. Close follows the window
// menu's Close item, which a program greys or removes to refuse closing
// (a message box with Yes and No does); the other buttons are there only
// where the style asks for them.
bool ButtonEnabled(HWND hwnd, int code) {
  if (code != HTCLOSE) return true;
  HMENU menu = GetSystemMenu(hwnd, FALSE);
  UINT close = menu ? GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) : UINT(-1);
  return close != UINT(-1) && !(close & (MF_GRAYED | MF_DISABLED));
}

// The part and state of a caption button, worked out once per paint.
look::States ButtonStates(HWND hwnd, const FrameState& state, int code) {
  look::States s = StatesOf(state);
  if (!ButtonEnabled(hwnd, code)) return s | look::kDisabled;
  if (state.pressed == code && state.pressed_inside) return s | look::kPressed;
  if (!state.pressed && state.hover == code) return s | look::kHover;
  return s;
}

Part ButtonPart(HWND hwnd, int code) {
  if (code == HTCLOSE) return Part::CaptionClose;
  if (code == HTMINBUTTON) return Part::CaptionMinimize;
  return IsZoomed(hwnd) ? Part::CaptionRestore : Part::CaptionMaximize;
}

void PaintCaption(HWND hwnd, HDC dc, const Layout& l, const FrameState& state) {
  const look::States band = StatesOf(state);
  int x = l.caption.left + Scaled(skin::frame::kIconInset);
  int caption_height = l.caption.bottom - l.caption.top;

  if (HICON icon = IconOf(hwnd)) {
    int size = GetSystemMetrics(SM_CXSMICON);
    DrawIcon(dc, x, l.caption.top + (caption_height - size) / 2, icon, size,
             look::Back(Part::CaptionBand, band));
    x += size + Scaled(skin::frame::kIconInset);
  }

  int text_right = l.caption.right;
  for (const RECT& b : l.buttons) {
    if (!IsRectEmpty(&b) && b.left < text_right) text_right = b.left;
  }
  wchar_t title[256];
  int length = GetWindowTextW(hwnd, title, 256);
  if (length > 0) {
    RECT text = {x, l.caption.top, text_right - Scaled(skin::frame::kIconInset), l.caption.bottom};
    common::Selected font(dc, look::Font(Part::CaptionBand));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, look::TextColor(Part::CaptionBand, band));
    // Cutting a title short with an ellipsis measures it again and again:
    // only do it when the title does not fit.
    SIZE extent = {};
    GetTextExtentPoint32W(dc, title, length, &extent);
    if (extent.cx <= text.right - text.left) {
      ExtTextOutW(dc, text.left, (text.top + text.bottom - extent.cy) / 2, ETO_CLIPPED, &text,
                  title, length, nullptr);
    } else {
      DrawTextW(dc, title, length, &text,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_LEFT);
    }
  }

  for (int i = 0; i < 3; i++) {
    if (IsRectEmpty(&l.buttons[i])) continue;
    int code = Layout::kCodes[i];
    look::Draw(dc, ButtonPart(hwnd, code), ButtonStates(hwnd, state, code), l.buttons[i]);
  }
}

// The outer line of the frame, along the rounded corners where the window
// has them: the region's own outline, so the line is where the window ends.
void DrawEdge(HDC dc, HWND hwnd, SIZE size, look::States band) {
  Record* record = RecordOf(hwnd);
  if (int radius = record ? record->frame.shaped_radius : 0) {
    common::GdiObject<HRGN> region(CornerRegion(size, radius));
    common::GdiObject<HBRUSH> ink(CreateSolidBrush(look::TextColor(Part::FrameEdge, band)));
    if (region.get() && ink.get()) {
      FrameRgn(dc, region.get(), ink.get(), 1, 1);
      return;
    }
  }
  look::Draw(dc, Part::FrameEdge, band, {0, 0, size.cx, size.cy});
}

// The frame, with every pixel drawn once. The band above the client area
// (title, buttons, menu bar) is drawn off-screen and copied in one go;
// the borders beside and below it are plain fills straight to the screen.
// Keeping the off-screen part to that band keeps resizing cheap: a
// window-sized bitmap cost megabytes and a copy of the whole window.
void Paint(HWND hwnd) {
  if (!IsWindowVisible(hwnd)) return;
  Layout l = LayoutOf(hwnd);
  const FrameState& state = StateOf(hwnd);
  common::WindowDc target(hwnd);
  if (!target.get()) return;
  int top = l.client.top;
  HDC dc = TheCanvas().Get(target.get(), l.size.cx, top);
  if (!dc) return;

  const look::States band = StatesOf(state);
  // The band ends at the menu bar, so that a band drawn from a picture
  // shows its bottom edge above the bar; beside the bar lie the borders.
  int band_bottom = IsRectEmpty(&l.bar) ? top : l.bar.top;
  look::Draw(dc, Part::CaptionBand, band, {0, 0, l.size.cx, band_bottom});
  if (band_bottom < top) {
    look::Draw(dc, Part::CaptionBand, band, {0, band_bottom, l.bar.left, top});
    look::Draw(dc, Part::CaptionBand, band, {l.bar.right, band_bottom, l.size.cx, top});
  }
  PaintCaption(hwnd, dc, l, state);
  if (!IsRectEmpty(&l.bar)) {
    if (Owned()) {
      menubar::Paint(hwnd, dc, l.bar);
    } else {
      menus::PaintBar(hwnd, dc, l.bar);
    }
  }
  DrawEdge(dc, hwnd, l.size, band);  // its bottom line falls outside the copy
  BitBlt(target.get(), 0, 0, l.size.cx, top, dc, 0, 0, SRCCOPY);

  HDC screen = target.get();
  // Nothing of the frame falls on the client area, where a maximised
  // window, which has no border, would get the edge line down its sides.
  int saved_client = SaveDC(screen);
  ExcludeClipRect(screen, l.client.left, l.client.top, l.client.right, l.client.bottom);
  look::Draw(screen, Part::CaptionBand, band, {1, top, l.client.left, l.size.cy - 1});
  look::Draw(screen, Part::CaptionBand, band, {l.client.right, top, l.size.cx - 1, l.size.cy - 1});
  look::Draw(screen, Part::CaptionBand, band,
             {l.client.left, l.client.bottom, l.client.right, l.size.cy - 1});
  // The edge again, below the band only.
  int saved = SaveDC(screen);
  ExcludeClipRect(screen, 0, 0, l.size.cx, top);
  DrawEdge(screen, hwnd, l.size, band);
  if (saved) RestoreDC(screen, saved);
  if (saved_client) RestoreDC(screen, saved_client);
}

// Where a window manager draws the frame, the platform paints the
// non-client area; only the menu bar is ours.
void PaintBarOnly(HWND hwnd) {
  Layout l = LayoutOf(hwnd);
  if (IsRectEmpty(&l.bar)) return;
  common::WindowDc target(hwnd);
  if (!target.get()) return;
  menus::PaintBar(hwnd, target.get(), l.bar);
}

// Runs the platform's handling of a message that would draw its own
// caption, with the window looking hidden to it, then draws ours.
LRESULT Unpainted(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  bool visible = style & WS_VISIBLE;
  if (visible) SetWindowLongW(hwnd, GWL_STYLE, style & ~WS_VISIBLE);
  LRESULT result = subclass::CallNext(hwnd, msg, wp, lp);
  if (visible) SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) | WS_VISIBLE);
  Paint(hwnd);
  return result;
}

void SetHover(HWND hwnd, int code) {
  if (code && !ButtonEnabled(hwnd, code)) code = 0;  // a disabled button does not light up
  FrameState& state = StateOf(hwnd);
  if (state.hover == code) return;
  state.hover = code;
  Paint(hwnd);
}

// A caption button pressed: tracked with the mouse captured, so that
// releasing it elsewhere does nothing, as with the platform's buttons.
void Press(HWND hwnd, int code) {
  FrameState& state = StateOf(hwnd);
  state.pressed = code;
  state.pressed_inside = true;
  SetCapture(hwnd);
  Paint(hwnd);
}

void Release(HWND hwnd, POINT screen) {
  FrameState& state = StateOf(hwnd);
  int code = state.pressed;
  bool inside = ButtonAt(hwnd, screen) == code;
  state.pressed = 0;
  state.pressed_inside = false;
  state.hover = inside ? code : 0;
  ReleaseCapture();
  Paint(hwnd);
  if (!inside) return;
  WPARAM command = SC_CLOSE;
  if (code == HTMAXBUTTON) command = IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE;
  if (code == HTMINBUTTON) command = IsIconic(hwnd) ? SC_RESTORE : SC_MINIMIZE;
  SendMessageW(hwnd, WM_SYSCOMMAND, command, MAKELPARAM(screen.x, screen.y));
}

POINT ClientToScreenPoint(HWND hwnd, LPARAM lp) {
  POINT p = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  ClientToScreen(hwnd, &p);
  return p;
}

POINT ScreenPoint(LPARAM lp) {
  return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

// Where the window manager draws frames: the platform's frame stays, and
// only the menu bar is painted over it.
bool OnManagedMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  // Each of these makes the platform draw the menu bar again.
  if (msg == WM_NCPAINT || msg == WM_NCACTIVATE || msg == WM_SETTEXT || msg == WM_SETICON) {
    *result = subclass::CallNext(hwnd, msg, wp, lp);
    PaintBarOnly(hwnd);
    return true;
  }
  return false;
}

// ---- a frame the engine lays out -------------------------------------------------

// The hit-test code of each sizing edge and corner.
LRESULT EdgeCode(skin::frame::Edge edge) {
  using namespace skin::frame;
  switch (edge) {
    case kLeft:
      return HTLEFT;
    case kRight:
      return HTRIGHT;
    case kTop:
      return HTTOP;
    case kTopLeft:
      return HTTOPLEFT;
    case kTopRight:
      return HTTOPRIGHT;
    case kBottom:
      return HTBOTTOM;
    case kBottomLeft:
      return HTBOTTOMLEFT;
    case kBottomRight:
      return HTBOTTOMRIGHT;
    case kNoEdge:
      break;
  }
  return 0;
}

LRESULT OwnHitTest(HWND hwnd, POINT screen) {
  RECT window;
  GetWindowRect(hwnd, &window);
  POINT p = {screen.x - window.left, screen.y - window.top};
  if (p.x < 0 || p.y < 0 || p.x >= window.right - window.left || p.y >= window.bottom - window.top)
    return HTNOWHERE;
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  if (IsIconic(hwnd)) style |= WS_MINIMIZE;
  skin::frame::Window w = FrameWindow(hwnd, style, WindowSize(hwnd));
  skin::frame::Layout l = PureLayoutOf(hwnd);
  if (l.client.Contains(p.x, p.y)) return HTCLIENT;
  if (LRESULT edge = EdgeCode(skin::frame::EdgeAt(w, l, p.x, p.y, draw::Dpi()))) return edge;
  for (int i = 0; i < 3; i++) {
    if (l.buttons[i].Contains(p.x, p.y)) return Layout::kCodes[i];
  }
  if ((style & WS_SYSMENU) && l.icon.Contains(p.x, p.y)) return HTSYSMENU;
  if (l.caption.Contains(p.x, p.y)) return HTCAPTION;
  if (l.bar.Contains(p.x, p.y)) return HTMENU;
  return HTBORDER;
}

void OwnClientArea(HWND hwnd, RECT* rc) {
  RECT in = OwnInsets(hwnd, GetWindowLongW(hwnd, GWL_STYLE));
  rc->left += in.left;
  rc->top += in.top;
  rc->right -= in.right;
  rc->bottom -= in.bottom;
  if (rc->right < rc->left) rc->right = rc->left;
  if (rc->bottom < rc->top) rc->bottom = rc->top;
}

// The edges of a monitor where a task bar hides itself. Asked only while
// a window is maximised (each question is a message to the task bar), of
// shell32 bound at run time from the system folder, as dwmapi is.
skin::frame::AutoHide AutoHidingTaskBars(const RECT& monitor, bool primary) {
  using AppBarMessage = UINT_PTR(WINAPI*)(DWORD, APPBARDATA*);
  static AppBarMessage message = [] {
    wchar_t path[MAX_PATH];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 13 >= MAX_PATH) return AppBarMessage(nullptr);
    lstrcatW(path, L"\\shell32.dll");
    HMODULE shell = LoadLibraryW(path);
    return shell ? reinterpret_cast<AppBarMessage>(GetProcAddress(shell, "SHAppBarMessage"))
                 : nullptr;
  }();
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

// What a maximised window of ours fills on a monitor: its work area, less
// a strip where a task bar hides itself, so that it can still be revealed.
RECT OwnMaximisedRect(HMONITOR monitor) {
  MONITORINFO mi = {sizeof mi};
  if (!GetMonitorInfoW(monitor, &mi)) return {};
  auto box = [](const RECT& r) { return skin::frame::Box{r.left, r.top, r.right, r.bottom}; };
  return ToRect(skin::frame::MaximisedBox(
      box(mi.rcWork), box(mi.rcMonitor),
      AutoHidingTaskBars(mi.rcMonitor, (mi.dwFlags & MONITORINFOF_PRIMARY) != 0)));
}

// A maximised window fills the work area of its monitor, and no more: a
// frame of ours has no border to hide past the screen's edges.
void FitMaximised(HWND hwnd, MINMAXINFO* info) {
  HMONITOR monitor = MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
  MONITORINFO mi = {sizeof mi};
  if (!GetMonitorInfoW(monitor, &mi)) return;
  info->ptMaxPosition = {mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top};
  info->ptMaxSize = {mi.rcWork.right - mi.rcWork.left, mi.rcWork.bottom - mi.rcWork.top};
}

// Windows reads the maximised size above for the primary monitor and, where
// it is at least that monitor's size, makes it larger by what the window's
// monitor is larger: on a larger second monitor the window would spill
// over onto its neighbour. Whatever the platform made of it, a maximised
// window is kept to the work area of the monitor it lies on.
void KeepMaximisedInWorkArea(HWND hwnd, WINDOWPOS* pos) {
  if ((pos->flags & SWP_NOSIZE) || !IsZoomed(hwnd)) return;
  RECT proposed = {pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
  RECT target = OwnMaximisedRect(MonitorFromRect(&proposed, MONITOR_DEFAULTTONEAREST));
  if (IsRectEmpty(&target)) return;
  RECT inside;
  IntersectRect(&inside, &proposed, &target);
  if (EqualRect(&inside, &proposed)) return;
  pos->x = target.left;
  pos->y = target.top;
  pos->cx = target.right - target.left;
  pos->cy = target.bottom - target.top;
  pos->flags &= ~SWP_NOMOVE;
}

// Rounded corners, through a window region made again for each new size,
// and only then: setting a region lays the frame out again, which comes
// back here.
void ShapeCorners(HWND hwnd) {
  Record* record = RecordOf(hwnd);
  if (!record) return;
  FrameState& state = record->frame;
  int radius = CornerRadius(hwnd);
  if (radius == 0) {
    if (state.shaped_radius == 0) return;
    state.shaped = {};
    state.shaped_radius = 0;
    SetWindowRgn(hwnd, nullptr, TRUE);
    return;
  }
  RECT window;
  GetWindowRect(hwnd, &window);
  SIZE size = {window.right - window.left, window.bottom - window.top};
  if (size.cx == state.shaped.cx && size.cy == state.shaped.cy && radius == state.shaped_radius)
    return;
  state.shaped = size;
  state.shaped_radius = radius;
  // The system owns the region once it is set.
  HRGN region = CornerRegion(size, radius);
  if (region && !SetWindowRgn(hwnd, region, TRUE)) {
    DeleteObject(region);
    state.shaped = {};
    state.shaped_radius = 0;
  }
}

// A frame of the engine's own is at least as large as its borders, caption
// and menu bar, and wide enough for the caption buttons and the icon.
void KeepFrameWhole(HWND hwnd, MINMAXINFO* info) {
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  RECT in = OwnInsets(hwnd, style & ~(WS_MAXIMIZE | WS_MINIMIZE));
  using namespace skin::frame;
  int buttons = 3 * Scaled(kButtonWidth) + Scaled(2 * kButtonInset + kIconInset) +
                GetSystemMetrics(SM_CXSMICON) + Scaled(2 * kIconInset);
  info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, in.left + in.right + buttons);
  info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, in.top + in.bottom);
}

// How much larger the window is than its client area.
SIZE FrameSize(HWND hwnd) {
  RECT window, client;
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  return {window.right - window.left - client.right, window.bottom - window.top - client.bottom};
}

// A window that cannot be resized was laid out for its client size: its
// controls would be cut off by a taller caption or wider borders. It grows
// by what its frame grew (and shrinks back), keeping its top left corner.
// A resizable window keeps its outer size, which its program or its user
// chose.
void KeepClientSize(HWND hwnd, SIZE grown) {
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  if ((style & (WS_THICKFRAME | WS_MAXIMIZE | WS_MINIMIZE)) || (grown.cx == 0 && grown.cy == 0))
    return;
  RECT window;
  GetWindowRect(hwnd, &window);
  SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left + grown.cx,
               window.bottom - window.top + grown.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The frame sizes of the skin before the current one, so that a change
// of skin can undo exactly what the one before did.
skin::Metrics& PreviousMetrics() {
  static skin::Metrics metrics;
  return metrics;
}

// How much larger than its client area a window of `style` (neither
// minimised nor maximised) is in the frame that `metrics` give: worked out,
// not measured, so that a window too small for a frame, or one minimised
// or maximised now, gets the same answer, and every change of skin is
// undone exactly by the change back.
SIZE NormalFrameSize(HWND hwnd, const skin::Metrics& metrics) {
  LONG style = GetWindowLongW(hwnd, GWL_STYLE) & ~(WS_MAXIMIZE | WS_MINIMIZE);
  if (metrics.given && Drawn()) {
    skin::frame::Box in =
        skin::frame::Insets(FrameWindow(hwnd, style, WindowSize(hwnd)), FrameSizes(hwnd, metrics));
    return {in.left + in.right, in.top + in.bottom};
  }
  RECT r = {};
  AdjustWindowRectEx(&r, style, GetMenu(hwnd) != nullptr, GetWindowLongW(hwnd, GWL_EXSTYLE));
  return {r.right - r.left, r.bottom - r.top};
}

// The rectangle of a maximised window on its monitor: the work area in a
// frame of ours; in the platform's, the work area with the sizing border
// past its edges, where the platform puts it (the caption's lower line
// is not part of that border).
RECT MaximisedRect(HWND hwnd) {
  HMONITOR monitor = MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
  if (Owned()) return OwnMaximisedRect(monitor);
  MONITORINFO mi = {sizeof mi};
  GetMonitorInfoW(monitor, &mi);
  RECT r = mi.rcWork;
  LONG style = GetWindowLongW(hwnd, GWL_STYLE) & ~(WS_MAXIMIZE | WS_MINIMIZE);
  if ((style & WS_CAPTION) == WS_CAPTION) style &= ~WS_BORDER;
  RECT border = {};
  AdjustWindowRectEx(&border, style, FALSE, GetWindowLongW(hwnd, GWL_EXSTYLE));
  r.left += border.left;
  r.top += border.top;
  r.right += border.right;
  r.bottom += border.bottom;
  return r;
}

// A minimised or maximised window that cannot be resized will come back
// to a normal rectangle that holds its client area in the new frame.
void KeepNormalClientSize(HWND hwnd, SIZE grown) {
  if ((GetWindowLongW(hwnd, GWL_STYLE) & WS_THICKFRAME) || (grown.cx == 0 && grown.cy == 0)) return;
  WINDOWPLACEMENT place = {sizeof place};
  if (!GetWindowPlacement(hwnd, &place)) return;
  place.rcNormalPosition.right += grown.cx;
  place.rcNormalPosition.bottom += grown.cy;
  // Shown as it is: no activation, no restoring.
  place.showCmd = IsIconic(hwnd) ? SW_SHOWMINNOACTIVE : SW_SHOWMAXIMIZED;
  place.flags &= ~WPF_SETMINPOSITION;
  SetWindowPlacement(hwnd, &place);
}

// The frame changed from the one `before` gave: the window is laid out
// again, keeping its client area where it cannot be resized, and filling
// the work area as the new frame does where it is maximised.
void FrameChangedFrom(HWND hwnd, const skin::Metrics& before) {
  SIZE old_frame = NormalFrameSize(hwnd, before);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShapeCorners(hwnd);
  SIZE new_frame = NormalFrameSize(hwnd, TheMetrics());
  SIZE grown = {new_frame.cx - old_frame.cx, new_frame.cy - old_frame.cy};
  if (IsZoomed(hwnd)) {
    RECT r = MaximisedRect(hwnd);
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    KeepNormalClientSize(hwnd, grown);
  } else if (IsIconic(hwnd)) {
    KeepNormalClientSize(hwnd, grown);
  } else {
    KeepClientSize(hwnd, grown);
  }
}

bool OnOwnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (menubar::OnMessage(hwnd, msg, wp, lp, result)) return true;
  switch (msg) {
    case WM_NCCALCSIZE: {
      if (IsIconic(hwnd)) return false;  // the platform's, like a minimised caption
      RECT* rc =
          wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
      OwnClientArea(hwnd, rc);
      *result = 0;
      return true;
    }
    case WM_NCHITTEST:
      *result = OwnHitTest(hwnd, ScreenPoint(lp));
      return true;
    case WM_GETMINMAXINFO:
      *result = subclass::CallNext(hwnd, msg, wp, lp);
      FitMaximised(hwnd, reinterpret_cast<MINMAXINFO*>(lp));
      KeepFrameWhole(hwnd, reinterpret_cast<MINMAXINFO*>(lp));
      return true;
    case WM_WINDOWPOSCHANGING:
      KeepMaximisedInWorkArea(hwnd, reinterpret_cast<WINDOWPOS*>(lp));
      return false;
    case WM_WINDOWPOSCHANGED: {
      auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
      if (!(pos->flags & SWP_NOSIZE)) ShapeCorners(hwnd);
      return false;
    }
    case WM_NCLBUTTONDBLCLK:
      // A click on the bar or the icon opens its menu (menubar::OnMessage);
      // a double click on the icon closes the window, as the platform's does.
      if (wp == HTSYSMENU) {
        PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, lp);
        *result = 0;
        return true;
      }
      return false;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
      // A right click on the caption opens the window menu where it was
      // made. The platform would decide that by its own caption's height
      // (Wine hit-tests internally there), so the engine asks for the
      // menu itself, by the message the task bar uses for it.
      if (wp != HTCAPTION && wp != HTSYSMENU) return false;
      if (msg == WM_NCRBUTTONUP) SendMessageW(hwnd, kPopupSystemMenu, 0, lp);
      *result = 0;
      return true;
  }
  return false;
}

}  // namespace

bool Drawn() {
  static const bool drawn = !draw::UnderWine() || !WineManagesFrames();
  return drawn;
}

bool SetMetrics(const skin::Metrics& metrics) {
  skin::Metrics& now = TheMetrics();
  bool changed = now.given != metrics.given ||
                 (metrics.given && (now.caption_height != metrics.caption_height ||
                                    now.border_width != metrics.border_width ||
                                    now.corner_radius != metrics.corner_radius));
  PreviousMetrics() = now;
  now = metrics;
  return changed && Drawn();
}

void FrameChanged(HWND hwnd) { FrameChangedFrom(hwnd, PreviousMetrics()); }

bool OwnsGeometry(HWND) { return Drawn() && Owned(); }

RECT MenuBarRect(HWND hwnd) { return LayoutOf(hwnd).bar; }

int CaptionBottom(HWND hwnd) { return LayoutOf(hwnd).caption.bottom; }

void Repaint(HWND hwnd) { Paint(hwnd); }

void Prepare(HWND hwnd, bool existing) {
  if (!Drawn()) return;
  if (!draw::UnderWine()) DisableDwmFrame(hwnd);
  if (!Owned()) return;
  if (existing) {
    FrameChangedFrom(hwnd, skin::Metrics{});  // laid out by the platform until now
    return;
  }
  // A new window was given the outer size that holds the client size its
  // program asked for in the platform's frame.
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  RECT platform = {};
  AdjustWindowRectEx(&platform, style & ~(WS_MAXIMIZE | WS_MINIMIZE), GetMenu(hwnd) != nullptr,
                     GetWindowLongW(hwnd, GWL_EXSTYLE));
  SIZE own = FrameSize(hwnd);
  ShapeCorners(hwnd);
  KeepClientSize(
      hwnd, {own.cx - (platform.right - platform.left), own.cy - (platform.bottom - platform.top)});
}

bool OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (!Drawn()) return OnManagedMessage(hwnd, msg, wp, lp, result);
  if (Owned() && OnOwnMessage(hwnd, msg, wp, lp, result)) return true;

  switch (msg) {
    case WM_NCPAINT:
      Paint(hwnd);
      *result = 0;
      return true;
    case WM_NCACTIVATE:
      // -1 tells the platform not to draw the caption in its new state;
      // with a visual style Windows ignores it and draws its own caption,
      // so the window also looks hidden to it meanwhile.
      StateOf(hwnd).active = wp != FALSE;
      *result = Unpainted(hwnd, msg, wp, -1);
      return true;
    case WM_SETTEXT:
    case WM_SETICON:
      *result = Unpainted(hwnd, msg, wp, lp);
      return true;
    case WM_EXITMENULOOP:
      // The platform marks its own window menu button while that menu is
      // open (Alt+Space) and draws it again where its caption has it.
      *result = subclass::CallNext(hwnd, msg, wp, lp);
      Paint(hwnd);
      return true;
    case WM_UPDATEUISTATE:  // access keys shown or hidden in the menu bar
      *result = subclass::CallNext(hwnd, msg, wp, lp);
      Paint(hwnd);
      return true;
    case kUahDrawCaption:
    case kUahDrawFrame:
      *result = 0;
      return true;
    case WM_NCHITTEST: {
      LRESULT hit = subclass::CallNext(hwnd, msg, wp, lp);
      int ours = ButtonAt(hwnd, ScreenPoint(lp));
      if (ours)
        hit = ours;
      else if (IsButtonCode(hit))
        hit = HTCAPTION;  // where the platform's buttons were
      *result = hit;
      return true;
    }
    case WM_NCMOUSEMOVE:
      SetHover(hwnd, IsButtonCode(wp) ? static_cast<int>(wp) : 0);
      if (!IsButtonCode(wp)) return false;
      {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE | TME_NONCLIENT, hwnd, 0};
        TrackMouseEvent(&track);
      }
      *result = 0;
      return true;
    case WM_NCMOUSELEAVE:
      SetHover(hwnd, 0);
      return false;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (!IsButtonCode(wp)) return false;
      if (ButtonEnabled(hwnd, static_cast<int>(wp))) Press(hwnd, static_cast<int>(wp));
      *result = 0;
      return true;
    case WM_NCLBUTTONUP:
      if (!IsButtonCode(wp)) return false;
      *result = 0;
      return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
      FrameState& state = StateOf(hwnd);
      if (!state.pressed || GetCapture() != hwnd) return false;
      POINT p = ClientToScreenPoint(hwnd, lp);
      if (msg == WM_LBUTTONUP) {
        Release(hwnd, p);
      } else if (state.pressed_inside != (ButtonAt(hwnd, p) == state.pressed)) {
        state.pressed_inside = !state.pressed_inside;
        Paint(hwnd);
      }
      *result = 0;
      return true;
    }
    case WM_CAPTURECHANGED: {
      FrameState& state = StateOf(hwnd);
      if (state.pressed) {
        state.pressed = 0;
        state.pressed_inside = false;
        Paint(hwnd);
      }
      return false;
    }
  }
  return false;
}

}  // namespace dulib::frame
