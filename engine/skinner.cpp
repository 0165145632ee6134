#include "skinner.h"

#include <windows.h>

#include <uxtheme.h>

#include <array>
#include <vector>

#include "classify.h"
#include "record.h"
#include "common/win_handles.h"
#include "controls.h"
#include "frame.h"
#include "framed_window.h"
#include "look.h"
#include "menubar.h"
#include "menus.h"
#include "pictures.h"
#include "skin/skin_state.h"
#include "subclass.h"

namespace dulib {

namespace {

// What the skin procedure does for a window; kept in its record.
constexpr DWORD_PTR kSurface = 1;        // paints its background, colours its child controls
constexpr DWORD_PTR kFramed = 2;         // top-level window with a caption: menu bar, transparency
constexpr DWORD_PTR kClassicButton = 4;  // check box, radio button or frame: no visual style
constexpr DWORD_PTR kFlatEdge = 8;       // edit or list box: flat border, not the sunken edge
constexpr DWORD_PTR kMenuPopup = 16;     // the window of an open drop-down menu

struct Engine {
  skin::SkinState state;
  HHOOK hook = nullptr;
  DWORD thread = 0;
};

// Lives as long as the process: the DLL is pinned once attached, and its
// hook and brushes end with the process. Destroying them from DLL detach
// would call user32 and gdi32 where that is not safe.
Engine& TheEngine() {
  static Engine* engine = new Engine;
  return *engine;
}

// What the skin procedure does for a window of a kind.
DWORD_PTR BitsOf(const WindowClass& c) {
  DWORD_PTR bits = 0;
  if (c.kind == Kind::Framed) bits = kSurface | kFramed;
  if (c.kind == Kind::Surface) bits = kSurface;
  if (c.kind == Kind::MenuPopup) bits = kMenuPopup;
  if (c.classic) bits |= kClassicButton;
  if (c.flat_edge) bits |= kFlatEdge;
  return bits;
}

DWORD_PTR KindOfSkinned(HWND hwnd);

// ---- painting -------------------------------------------------------------

// A control asks its parent for its colours.
LRESULT ColorControl(UINT msg, HDC dc) {
  bool content = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
  look::Part part = content ? look::Part::Edit : look::Part::Surface;
  SetTextColor(dc, look::TextColor(part, look::kNormal));
  SetBkColor(dc, look::Back(part, look::kNormal));
  return reinterpret_cast<LRESULT>(look::Brush(part, look::kNormal));
}

LRESULT EraseWithFace(HWND hwnd, HDC dc) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  look::Draw(dc, look::Part::Surface, look::kNormal, rc);
  return 1;
}

// One pixel of border colour, then one of the control's own background,
// over the two-pixel sunken edge that Windows has just drawn.
void DrawFlatEdge(HWND hwnd) {
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  bool grey = (style & WS_DISABLED) || (IsClass(hwnd, L"Edit") && (style & ES_READONLY));
  RECT rc;
  GetWindowRect(hwnd, &rc);
  OffsetRect(&rc, -rc.left, -rc.top);
  common::WindowDc dc(hwnd);
  if (!dc.get()) return;
  look::Draw(dc.get(), look::Part::EditEdge, grey ? look::kDisabled : look::kNormal, rc);
}

void StyleMenu(HMENU menu) {
  if (!menu || !IsMenu(menu)) return;
  MENUINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = MIM_BACKGROUND;
  HBRUSH back = look::Brush(look::Part::MenuBar, look::kNormal);
  if (GetMenuInfo(menu, &info) && info.hbrBack == back) return;
  info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
  info.hbrBack = back;
  SetMenuInfo(menu, &info);
}

// ---- transparency -----------------------------------------------------------

void ApplyAero(HWND hwnd) {
  const skin::SkinState& state = TheEngine().state;
  Record* record = RecordOf(hwnd);
  if (!record) return;
  LONG ex = GetWindowLongW(hwnd, GWL_EXSTYLE);
  if (state.aero_on()) {
    if (!(ex & WS_EX_LAYERED)) {
      SetWindowLongW(hwnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
      record->layered = true;
    }
    if (record->layered) {
      SetLayeredWindowAttributes(hwnd, 0, static_cast<BYTE>(state.aero_level()), LWA_ALPHA);
    }
  } else if (record->layered) {
    SetWindowLongW(hwnd, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
    record->layered = false;
    RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

// ---- following windows ------------------------------------------------------

void OnCreated(HWND hwnd, DWORD_PTR kind, bool existing) {
  // An empty theme name makes the control draw the classic way, which
  // honours the text colour of WM_CTLCOLORSTATIC; themed check boxes
  // would draw black text whatever the skin.
  if (kind & kClassicButton) SetWindowTheme(hwnd, L"", L"");
  if (kind & kFramed) {
    ApplyAero(hwnd);
    if (Record* record = RecordOf(hwnd); record && record->framed) {
      record->framed->Prepare(existing);
    }
    menus::PrepareBar(hwnd);
    // Until a window asks for a copy of its own, Windows shows it the
    // desktop's shared window menu, whose items cannot be changed; the
    // items of the window's own copy can be drawn by the engine when it
    // opens, like those of any other drop-down menu.
    if (GetWindowLongW(hwnd, GWL_STYLE) & WS_SYSMENU) GetSystemMenu(hwnd, FALSE);
  }
}

LRESULT CALLBACK SkinProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  Record* record = reinterpret_cast<Record*>(data);
  const DWORD_PTR kind = record->bits;
  LRESULT result = 0;
  if (kind & kFramed) {
    // SetMenu gives no notice, but a new menu bar always comes with a
    // frame repaint: style it just before it is drawn.
    if (msg == WM_NCPAINT) {
      StyleMenu(GetMenu(hwnd));
      menus::PrepareBar(hwnd);
    }
    if (menus::OnOwnerMessage(hwnd, msg, wp, lp, &result)) return result;
    if (record->framed && record->framed->OnMessage(msg, wp, lp, &result)) return result;
  }
  if ((kind & kMenuPopup) && menus::OnPopupMessage(hwnd, msg, wp, lp, &result)) return result;
  if ((kind & kMenuPopup) && msg == WM_CREATE) {
    // Menus of framed windows become ours in WM_INITMENUPOPUP, after the
    // program has seen them. A control the engine draws opens its own menu
    // without that notice; menus of the program's other windows and of
    // other libraries stay theirs.
    result = subclass::CallNext(hwnd, msg, wp, lp);
    HWND owner = reinterpret_cast<CREATESTRUCTW*>(lp)->hwndParent;
    if (result != -1 && owner && controls::IsFollowed(owner)) menus::AdoptPopup(hwnd, owner);
    return result;
  }
  if ((kind & kMenuPopup) && msg == WM_WINDOWPOSCHANGING &&
      (reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW)) {
    menus::AdoptPendingPopup(hwnd);
  }
  switch (msg) {
    case WM_CREATE: {
      LRESULT result = subclass::CallNext(hwnd, msg, wp, lp);
      if (result != -1) OnCreated(hwnd, kind, false);
      return result;
    }
    case WM_NCDESTROY: {
      subclass::Remove(hwnd, SkinProc, subclass::kSkinId);
      LRESULT result = subclass::CallNext(hwnd, msg, wp, lp);
      delete record;
      return result;
    }
    case WM_ERASEBKGND:
      if (kind & kSurface) return EraseWithFace(hwnd, reinterpret_cast<HDC>(wp));
      break;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (kind & kSurface) return ColorControl(msg, reinterpret_cast<HDC>(wp));
      break;
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
    case WM_DPICHANGED:
      // Fonts, metrics and DPI: read again, once for all top-level windows
      // that hear of it, and the frame drawn with them.
      if (kind & kFramed) {
        LRESULT result = subclass::CallNext(hwnd, msg, wp, lp);
        look::SettingsChanged();
        menus::PrepareBar(hwnd);
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return result;
      }
      break;
    case WM_NCPAINT:
      if (kind & kFlatEdge) {
        LRESULT result = subclass::CallNext(hwnd, msg, wp, lp);
        DrawFlatEdge(hwnd);
        return result;
      }
      break;
    case WM_INITMENUPOPUP:
      if (kind & kFramed) {
        // The program fills or changes the menu first; then its items
        // become ours until it closes.
        StyleMenu(reinterpret_cast<HMENU>(wp));
        result = subclass::CallNext(hwnd, msg, wp, lp);
        menus::PreparePopup(reinterpret_cast<HMENU>(wp));
        return result;
      }
      break;
  }
  return subclass::CallNext(hwnd, msg, wp, lp);
}

// The window's record, made once.
void Follow(HWND hwnd, DWORD_PTR bits) {
  if (!bits || RecordOf(hwnd)) return;
  auto* record = new Record{bits};
  // The framed window's mode is decided now, before the window's first
  // messages (WM_NCCALCSIZE comes before WM_CREATE).
  if (bits & kFramed) record->framed = std::make_unique<FramedWindow>(hwnd);
  if (!subclass::Set(hwnd, SkinProc, subclass::kSkinId, reinterpret_cast<DWORD_PTR>(record))) {
    delete record;
  }
}

// A window that existed before the engine was attached.
void FollowExisting(HWND hwnd) {
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  HWND parent = GetParent(hwnd);
  bool in_skinned = (style & WS_CHILD) && parent && IsSkinned(parent);
  WindowClass c = Classify(hwnd, style, GetWindowLongW(hwnd, GWL_EXSTYLE), in_skinned);
  DWORD_PTR bits = BitsOf(c);
  Follow(hwnd, bits);
  OnCreated(hwnd, bits, true);
  controls::FollowExisting(hwnd, c.kind);
}

BOOL CALLBACK FollowChild(HWND hwnd, LPARAM) {
  // Children can belong to other threads; those cannot be subclassed here.
  if (GetWindowThreadProcessId(hwnd, nullptr) == TheEngine().thread) FollowExisting(hwnd);
  return TRUE;
}

BOOL CALLBACK FollowTopLevel(HWND hwnd, LPARAM) {
  FollowExisting(hwnd);
  EnumChildWindows(hwnd, FollowChild, 0);
  return TRUE;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND) {
    HWND hwnd = reinterpret_cast<HWND>(wp);
    CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lp)->lpcs;
    bool in_skinned = (cs->style & WS_CHILD) && cs->hwndParent && IsSkinned(cs->hwndParent);
    WindowClass c = Classify(hwnd, LONG(cs->style), LONG(cs->dwExStyle), in_skinned);
    Follow(hwnd, BitsOf(c));
    controls::FollowCreating(hwnd, cs, c.kind);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

DWORD_PTR KindOfSkinned(HWND hwnd) {
  Record* record = RecordOf(hwnd);
  return record ? record->bits : 0;
}

// ---- applying changes ---------------------------------------------------------

// The system's controls that take their colours from their parent's
// WM_CTLCOLOR answer, or that the engine draws: a new palette reaches them
// only when they repaint.
bool IsColouredControl(HWND hwnd) {
  for (const wchar_t* name :
       {L"Button", L"Static", L"Edit", L"ListBox", L"ComboBox", L"ComboLBox", L"ScrollBar"}) {
    if (IsClass(hwnd, name)) return true;
  }
  return false;
}

bool IsFollowed(HWND hwnd) { return KindOfSkinned(hwnd) || controls::IsFollowed(hwnd); }

// Windows that show skin colours: those the engine follows and the
// controls that ask them for colours. Windows of other libraries (the
// browser control and all its children) draw their own content, which no
// skin changes; repainting them cost most of a skin change.
bool ShowsSkin(HWND child) {
  if (IsFollowed(child)) return true;
  HWND parent = GetParent(child);
  return parent && IsFollowed(parent) && IsColouredControl(child);
}

// True when every visible window below `hwnd` shows the skin: then one
// call invalidates them all.
bool AllBelowShowSkin(HWND hwnd) {
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    if (!ShowsSkin(child) || !AllBelowShowSkin(child)) return false;
  }
  return true;
}

// Marks a window, frame included, and those of its children that show the
// skin for repainting. The places of the other children stay out of the
// update region: a parent without WS_CLIPCHILDREN would erase over them,
// and they would not be repainted. The painting itself comes with the
// next WM_PAINT, all windows in one pass: painting each one at once cost
// a copy to the screen per window.
void Repaint(HWND hwnd) {
  constexpr UINT kFlags = RDW_ERASE | RDW_INVALIDATE | RDW_FRAME;
  // A minimised window shows only its frame, which a region of its client
  // area does not reach; its children show again, repainted, when it is
  // restored.
  if (IsIconic(hwnd)) {
    RedrawWindow(hwnd, nullptr, nullptr, kFlags | RDW_NOCHILDREN);
    return;
  }
  if (AllBelowShowSkin(hwnd)) {
    RedrawWindow(hwnd, nullptr, nullptr, kFlags | RDW_ALLCHILDREN);
    return;
  }
  RECT whole;
  GetWindowRect(hwnd, &whole);
  MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&whole), 2);
  common::GdiObject<HRGN> region(CreateRectRgnIndirect(&whole));
  std::vector<HWND> skinned;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    if (ShowsSkin(child)) {
      skinned.push_back(child);
      continue;
    }
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rc), 2);
    common::GdiObject<HRGN> out(CreateRectRgnIndirect(&rc));
    if (region.get() && out.get()) CombineRgn(region.get(), region.get(), out.get(), RGN_DIFF);
  }
  RedrawWindow(hwnd, nullptr, region.get(), kFlags | RDW_NOCHILDREN);
  for (HWND child : skinned) Repaint(child);
}

// The menu bar is painted with the frame: no DrawMenuBar, which would lay
// the frame out again and repaint the whole window, browser included.
BOOL CALLBACK RepaintTopLevel(HWND hwnd, LPARAM) {
  if (KindOfSkinned(hwnd) & kFramed) {
    StyleMenu(GetMenu(hwnd));
    menus::PrepareBar(hwnd);
  }
  Repaint(hwnd);
  return TRUE;
}

// The skin's frame sizes changed: each frame is laid out again (a
// resizable window keeps its outer rectangle, a fixed one its client area).
BOOL CALLBACK FrameChangedTopLevel(HWND hwnd, LPARAM) {
  Record* record = RecordOf(hwnd);
  if (record && record->framed) record->framed->SkinChanged(frame::Previous());
  return TRUE;
}

BOOL CALLBACK AeroTopLevel(HWND hwnd, LPARAM) {
  if (KindOfSkinned(hwnd) & kFramed) ApplyAero(hwnd);
  return TRUE;
}

// The look works out the new palette's states and brushes; the old
// brushes live until the next change, so every menu can be given the new
// ones first: a menu keeps using the brush handle it holds.
void PaletteChanged() {
  Engine& engine = TheEngine();
  look::Rebuild(engine.state.palette());
  if (engine.thread) EnumThreadWindows(engine.thread, RepaintTopLevel, 0);
}

void PinThisModule() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCWSTR>(&PinThisModule), &self);
}

}  // namespace

Record::~Record() = default;

Record* RecordOf(HWND hwnd) {
  DWORD_PTR data = 0;
  if (!subclass::Get(hwnd, SkinProc, subclass::kSkinId, &data)) return nullptr;
  return reinterpret_cast<Record*>(data);
}

bool IsSkinned(HWND hwnd) { return KindOfSkinned(hwnd) != 0; }

bool OnEngineThread() {
  DWORD thread = TheEngine().thread;
  return thread == 0 || thread == GetCurrentThreadId();
}

bool Attach() {
  Engine& engine = TheEngine();
  if (engine.hook) return true;
  // The windows are repainted once below, when they are followed.
  look::Rebuild(engine.state.palette());

  // Our subclass procedures stay in windows until they are destroyed, so
  // this code must stay loaded even if the caller frees the library.
  PinThisModule();
  engine.thread = GetCurrentThreadId();
  engine.hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, engine.thread);
  if (!engine.hook) {
    engine.thread = 0;
    return false;
  }
  menubar::Attach(engine.thread);
  EnumThreadWindows(engine.thread, FollowTopLevel, 0);
  EnumThreadWindows(engine.thread, RepaintTopLevel, 0);
  return true;
}

bool LoadSkinFile(const std::wstring& path) {
  common::File file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > LONGLONG(skin::kMaxSkinFileSize)) {
    return false;
  }
  std::string text(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!text.empty() && (!ReadFile(file.get(), text.data(), DWORD(text.size()), &read, nullptr) ||
                        read != text.size())) {
    return false;
  }
  skin::SkinState& state = TheEngine().state;
  if (!state.Load(text)) return false;
  pictures::Load(path, state.skin());
  Engine& engine = TheEngine();
  if (frame::SetMetrics(state.skin().metrics) && engine.thread) {
    EnumThreadWindows(engine.thread, FrameChangedTopLevel, 0);
  }
  PaletteChanged();
  return true;
}

void SetAdjustment(const skin::Adjustment& adjustment) {
  TheEngine().state.SetAdjustment(adjustment);
  pictures::SetAdjustment(adjustment);
  PaletteChanged();
}

void SetAeroLevel(int level) {
  Engine& engine = TheEngine();
  engine.state.SetAeroLevel(level);
  if (engine.state.aero_on() && engine.thread) EnumThreadWindows(engine.thread, AeroTopLevel, 0);
}

void SetAero(bool on) {
  Engine& engine = TheEngine();
  if (engine.state.aero_on() == on) return;
  engine.state.SetAero(on);
  if (engine.thread) EnumThreadWindows(engine.thread, AeroTopLevel, 0);
}

}  // namespace dulib
