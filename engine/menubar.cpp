#include "menubar.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "draw.h"
#include "look.h"
#include "menus.h"
#include "common/win_handles.h"

namespace dulib::menubar {

namespace {

// Sizes at 96 DPI, scaled to the window's.
constexpr int kItemPadding = 8;      // left and right of an item's text
constexpr int kTextMargin = 6;       // above and below the text, together
constexpr int kWindowMenuInset = 2;  // the window menu from the frame's left edge, without a bar
constexpr size_t kMaxKnownWidths = 64;

constexpr int kNone = -2;        // no item
constexpr int kWindowMenu = -1;  // the window menu, which comes before the bar's first item

// The menus the engine is tracking for a bar: one at a time on the thread.
struct Tracking {
  Bar* bar = nullptr;
  int open = kNone;             // the item whose menu is open
  int next = kNone;             // the item to open once the open menu has closed
  bool next_by_key = false;     // ... chosen with the keyboard: its first item selected
  bool escaped = false;         // the open menu was left with Escape: the bar stays selected
  bool leave = false;           // the window lost the keyboard while the bar was selected
  HMENU top = nullptr;          // the open drop-down menu
  HMENU selected = nullptr;     // the menu of the selected item, from WM_MENUSELECT
  bool selected_opens = false;  // the selected item opens a submenu
};

struct Keys {
  HHOOK hook = nullptr;
  bool alt_alone = false;  // Alt is down, with no other key since
  bool busy = false;       // a bar is being tracked: keys go to the tracking
  Tracking tracking;
  std::vector<Bar*> bars;  // of every framed window the engine follows
};

// The engine's thread's; lives as long as the process, like its hooks.
Keys& TheKeys() {
  static Keys* keys = new Keys;
  return *keys;
}

class ScopedHook {
 public:
  explicit ScopedHook(HHOOK hook) : hook_(hook) {}
  ~ScopedHook() {
    if (hook_) UnhookWindowsHookEx(hook_);
  }
  ScopedHook(const ScopedHook&) = delete;
  ScopedHook& operator=(const ScopedHook&) = delete;

 private:
  HHOOK hook_;
};

// ---- layout -------------------------------------------------------------------

// Sizes of the bar's text, kept for the font they were measured in: the
// frame asks for them on every layout, paint and hit test (resizing is
// all of these, again and again), and measuring takes a screen DC.
struct TextSizes {
  HFONT font = nullptr;
  int dpi = 0;     // with the font: a handle may come back for a new font
  int height = 0;  // the font's cell
  std::vector<std::pair<std::wstring, int>> widths;
};

TextSizes& SizesFor(HFONT font) {
  static auto* sizes = new TextSizes;
  if (sizes->font != font || sizes->dpi != draw::Dpi()) *sizes = {font, draw::Dpi()};
  return *sizes;
}

int TextWidth(HWND owner, int pos) {
  HFONT font = look::Font(look::Part::MenuBarItem);
  TextSizes& sizes = SizesFor(font);
  std::wstring text = menus::BarText(owner, pos);
  for (const auto& [known, width] : sizes.widths) {
    if (known == text) return width;
  }
  common::ClientDc screen(nullptr);
  common::Selected selected(screen.get(), font);
  RECT rc = {};
  DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &rc,
            DT_SINGLELINE | DT_CALCRECT);
  // A bar has a handful of items; a program that renames them endlessly
  // starts the list again rather than growing it.
  if (sizes.widths.size() >= kMaxKnownWidths) sizes.widths.clear();
  sizes.widths.emplace_back(std::move(text), rc.right - rc.left);
  return rc.right - rc.left;
}

int TextHeight() {
  HFONT font = look::Font(look::Part::MenuBarItem);
  TextSizes& sizes = SizesFor(font);
  if (!sizes.height) {
    common::ClientDc screen(nullptr);
    common::Selected selected(screen.get(), font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(screen.get(), &metrics);
    sizes.height = metrics.tmHeight;
  }
  return sizes.height;
}

// ---- the platform's layout of the bar ---------------------------------------------------

// The platform lays a bar's items out one pixel below the top of the
// rectangle it is given (Wine does, as Windows does).
constexpr int kPlatformItemsBelowTop = 1;

// The platform's rectangle of the bar (item 0) or of item `pos` + 1, in
// window coordinates; empty when it has laid none out.
RECT PlatformRect(HWND owner, int id) {
  MENUBARINFO info = {sizeof info};
  if (!GetMenuBarInfo(owner, OBJID_MENU, id, &info) || IsRectEmpty(&info.rcBar)) return {};
  RECT window;
  GetWindowRect(owner, &window);
  OffsetRect(&info.rcBar, -window.left, -window.top);
  return info.rcBar;
}

RECT PlatformBar(HWND owner) { return PlatformRect(owner, 0); }

// Item `pos` where the platform put it, the bar's height; empty when it
// lies past the bar's end or on a second row, which our bar does not have.
RECT PlacedItem(HWND owner, const RECT& bar, int pos) {
  RECT item = PlatformRect(owner, pos + 1);
  if (IsRectEmpty(&item) || item.top != bar.top || item.left >= bar.right) return {};
  return {item.left, bar.top, std::min(item.right, bar.right), bar.bottom};
}

// The platform lays a bar out only when it was told its items changed,
// and then where it is asked to draw it: so it is told that (the first
// item's state set to what it is) and asked to draw it on our bar, into
// `dc`.
void LayPlatformBarOn(HWND owner, HMENU menu, HDC dc, const RECT& bar) {
  using DrawTemp = DWORD(WINAPI*)(HWND, HDC, RECT*, HMENU, HFONT);
  static auto draw_temp = reinterpret_cast<DrawTemp>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "DrawMenuBarTemp"));
  if (!draw_temp) return;
  MENUITEMINFOW item = {sizeof item};
  item.fMask = MIIM_STATE;
  if (!GetMenuItemInfoW(menu, 0, TRUE, &item) || !SetMenuItemInfoW(menu, 0, TRUE, &item)) return;
  RECT at = {bar.left, bar.top - kPlatformItemsBelowTop, bar.right, bar.bottom};
  // Only the layout is wanted: with nothing to paint on, the drawing
  // stops short (a resize lays the bar out again each time).
  int saved = SaveDC(dc);
  IntersectClipRect(dc, 0, 0, 0, 0);
  draw_temp(owner, dc, &at, menu, look::Font(look::Part::MenuBarItem));
  if (saved) RestoreDC(dc, saved);
}

int Count(HWND owner) {
  HMENU menu = GetMenu(owner);
  return menu ? GetMenuItemCount(menu) : 0;
}

bool HasWindowMenu(HWND owner) { return (GetWindowLongW(owner, GWL_STYLE) & WS_SYSMENU) != 0; }

RECT ScreenRect(HWND owner, RECT rc) {
  RECT window;
  GetWindowRect(owner, &window);
  OffsetRect(&rc, window.left, window.top);
  return rc;
}

// The bar item under a point on the screen, the window menu for the icon,
// or kNone; only where the window itself is under the point.
int ItemAt(Bar& b, POINT screen) {
  HWND owner = b.owner();
  HWND under = WindowFromPoint(screen);
  if (!under || GetAncestor(under, GA_ROOT) != owner) return kNone;
  LRESULT hit = SendMessageW(owner, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
  if (hit == HTSYSMENU) return kWindowMenu;
  if (hit != HTMENU) return kNone;
  RECT bar = b.host().BarRect();
  for (int pos = 0; pos < Count(owner); pos++) {
    // A bar the platform lays out has its items where the platform put them.
    RECT rc = ScreenRect(owner, b.tracked() ? b.ItemRect(bar, pos) : PlatformRect(owner, pos + 1));
    if (PtInRect(&rc, screen)) return pos;
  }
  return kNone;
}

// The item `step` places from `item` along the bar, round the end, the
// window menu counting as the place before the first item.
int Neighbour(HWND owner, int item, int step) {
  std::vector<int> places;
  if (HasWindowMenu(owner)) places.push_back(kWindowMenu);
  for (int pos = 0; pos < Count(owner); pos++) places.push_back(pos);
  if (places.empty()) return kNone;
  int at = int(std::find(places.begin(), places.end(), item) - places.begin());
  int n = int(places.size());
  return places[((at + step) % n + n) % n];
}

wchar_t Upper(wchar_t c) {
  return static_cast<wchar_t>(
      reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(ULONG_PTR(c)))));
}

// The item whose access key is `c` (in any case); the window menu for Space.
int ItemOfKey(HWND owner, wchar_t c) {
  if (c == L' ') return HasWindowMenu(owner) ? kWindowMenu : kNone;
  for (int pos = 0; pos < Count(owner); pos++) {
    wchar_t key = menus::AccessKey(menus::BarText(owner, pos));
    if (key && Upper(key) == Upper(c)) return pos;
  }
  return kNone;
}

// ---- the menus ----------------------------------------------------------------------

// The window menu's items as the window's state allows them, as the
// platform sets them before it shows the menu.
void PrepareWindowMenu(HWND owner, HMENU menu) {
  LONG style = GetWindowLongW(owner, GWL_STYLE);
  bool max = IsZoomed(owner), min = IsIconic(owner);
  auto enable = [&](UINT id, bool on) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  };
  enable(SC_RESTORE, max || min);
  enable(SC_MOVE, !max);
  enable(SC_SIZE, (style & WS_THICKFRAME) && !max && !min);
  enable(SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !min);
  enable(SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !max);
  SetMenuDefaultItem(menu, SC_CLOSE, FALSE);
}

// The window menu opens below the caption, at the frame's left edge.
POINT WindowMenuPoint(Bar& b) {
  RECT window;
  GetWindowRect(b.owner(), &window);
  RECT bar = b.host().BarRect();
  int left = IsRectEmpty(&bar) ? b.Scaled(kWindowMenuInset) : bar.left;
  return {window.left + left, window.top + b.host().MenuTop()};
}

void OpenWindowMenu(Bar& b, HMENU menu) {
  HWND owner = b.owner();
  PrepareWindowMenu(owner, menu);
  POINT at = WindowMenuPoint(b);
  UINT command =
      TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_LEFTBUTTON, at.x,
                       at.y, owner, nullptr);
  if (command) PostMessageW(owner, WM_SYSCOMMAND, command, 0);
}

// Opens the menu of `item` and returns when it has closed. An item
// without a menu of its own is a command.
void OpenOne(Bar& b, int item, bool by_key) {
  HWND owner = b.owner();
  Tracking& t = TheKeys().tracking;
  HMENU bar = GetMenu(owner);
  // A greyed item, drop-down or command, does nothing, from keys or clicks.
  if (item >= 0 && (GetMenuState(bar, item, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED))) return;
  HMENU menu = item == kWindowMenu ? GetSystemMenu(owner, FALSE) : GetSubMenu(bar, item);
  if (!menu) {
    UINT id = item >= 0 ? GetMenuItemID(bar, item) : UINT(-1);
    if (id != UINT(-1)) PostMessageW(owner, WM_COMMAND, id, 0);
    return;
  }
  t.open = item;
  t.top = menu;
  t.selected = menu;
  t.selected_opens = false;
  t.escaped = false;
  b.Show(item, by_key);
  // Opened from the keyboard, a menu shows with its first item selected.
  if (by_key) PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
  if (item == kWindowMenu) {
    OpenWindowMenu(b, menu);
  } else {
    RECT rc = ScreenRect(owner, b.ItemRect(b.host().BarRect(), item));
    TPMPARAMS params = {sizeof params, rc};
    TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON, rc.left,
                     rc.bottom, owner, &params);
  }
  t.open = kNone;
  t.top = nullptr;
}

// The open menu closes, and `item`'s opens next.
void SwitchTo(int item, bool by_key) {
  Tracking& t = TheKeys().tracking;
  t.next = item;
  t.next_by_key = by_key;
  EndMenu();
}

// What the platform's menu loop is about to handle while one of our
// menus is open: moves onto other bar items, clicks on the bar, the
// arrows that leave a menu sideways. True when it must not see it.
bool FilterMenuMessage(const MSG& msg) {
  Tracking& t = TheKeys().tracking;
  if (!t.bar || t.open == kNone) return false;
  switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
      int item = ItemAt(*t.bar, msg.pt);
      if (item != kNone && item != t.open) SwitchTo(item, false);
      return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      int item = ItemAt(*t.bar, msg.pt);
      if (item == kNone) return false;  // elsewhere: the menu closes as usual
      if (item == t.open) {
        EndMenu();  // a click on the open item closes its menu
      } else {
        SwitchTo(item, false);
      }
      return true;
    }
    case WM_KEYDOWN:
      if (msg.wParam == VK_LEFT && t.selected == t.top) {
        SwitchTo(Neighbour(t.bar->owner(), t.open, -1), true);
        return true;
      }
      if (msg.wParam == VK_RIGHT && !t.selected_opens) {
        SwitchTo(Neighbour(t.bar->owner(), t.open, +1), true);
        return true;
      }
      if (msg.wParam == VK_ESCAPE && t.selected == t.top) t.escaped = true;
      return false;
  }
  return false;
}

LRESULT CALLBACK MenuFilterProc(int code, WPARAM wp, LPARAM lp) {
  if (code == MSGF_MENU && FilterMenuMessage(*reinterpret_cast<MSG*>(lp))) return TRUE;
  return CallNextHookEx(nullptr, code, wp, lp);
}

// Opens `item`'s menu and follows the user from menu to menu until one
// closes for good. Returns the item the bar stays selected on (its menu
// was left with Escape), or kNone.
int TrackMenus(Bar& b, int item, bool by_key) {
  Tracking& t = TheKeys().tracking;
  ScopedHook filter(SetWindowsHookExW(WH_MSGFILTER, MenuFilterProc, nullptr, GetCurrentThreadId()));
  int last = item;
  while (item != kNone) {
    t.next = kNone;
    OpenOne(b, item, by_key);
    last = item;
    item = t.next;
    by_key = t.next_by_key;
  }
  return t.escaped ? last : kNone;
}

bool IsButtonDown(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
      return true;
  }
  return false;
}

// The bar is selected from the keyboard with no menu open: the arrows
// move along it, Down, Up, Enter or an access key open an item, Escape,
// Alt, F10 or a click leave. Returns the item to open, or kNone.
int SelectBar(Bar& b, int item) {
  HWND owner = b.owner();
  Tracking& t = TheKeys().tracking;
  t.leave = false;
  int chosen = kNone;
  for (bool done = false; !done && !t.leave;) {
    b.Show(item, true);
    MSG msg;
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        switch (msg.wParam) {
          case VK_LEFT:
          case VK_RIGHT:
            item = Neighbour(owner, item, msg.wParam == VK_RIGHT ? 1 : -1);
            continue;
          case VK_DOWN:
          case VK_UP:
          case VK_RETURN:
            chosen = item;
            done = true;
            continue;
          case VK_ESCAPE:
          case VK_MENU:
          case VK_F10:
            done = true;
            continue;
        }
        TranslateMessage(&msg);  // letters come back as characters
        continue;
      case WM_CHAR:
      case WM_SYSCHAR:
        chosen = ItemOfKey(owner, static_cast<wchar_t>(msg.wParam));
        if (chosen == kNone) {
          MessageBeep(0);
        } else {
          done = true;
        }
        continue;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        continue;
    }
    // A click leaves the bar, and goes where it was aimed.
    if (IsButtonDown(msg.message)) done = true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  b.Show(-1, false);
  return chosen;
}

// Tracks the bar from `item`: its menu opened, or the bar only selected.
void Run(Bar& b, int item, bool open, bool by_key) {
  HWND owner = b.owner();
  Keys& k = TheKeys();
  if (k.busy || item == kNone) return;
  k.busy = true;
  k.alt_alone = false;
  k.tracking = {};
  k.tracking.bar = &b;
  b.SetHover(-1);
  while (item != kNone && IsWindow(owner)) {
    if (open) {
      item = TrackMenus(b, item, by_key);
    } else {
      item = SelectBar(b, item);
      by_key = true;
    }
    open = !open;
  }
  if (IsWindow(owner)) b.Show(-1, false);
  k.tracking = {};
  k.busy = false;
}

// The keyboard's menu command: 0 selects the bar, Space opens the window
// menu, a letter the item whose access key it is.
void KeyMenu(Bar& b, wchar_t c) {
  HWND owner = b.owner();
  if (c == 0) {
    int first = Count(owner) > 0 ? 0 : HasWindowMenu(owner) ? kWindowMenu : kNone;
    Run(b, first, false, true);
    return;
  }
  int item = ItemOfKey(owner, c);
  if (item == kNone) {
    MessageBeep(0);
    return;
  }
  Run(b, item, true, true);
}

// ---- keys of the whole thread ----------------------------------------------------------

// The window whose bar the engine tracks for keys sent to `hwnd`: its
// top-level window, where the engine lays that frame out.
HWND TrackedRoot(HWND hwnd) {
  if (!hwnd) return nullptr;
  HWND root = GetAncestor(hwnd, GA_ROOT);
  if (!root || !Bar::Of(root)) return nullptr;
  bool framed = (GetWindowLongW(root, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  return framed ? root : nullptr;
}

bool IsAlt(WPARAM key) { return key == VK_MENU || key == VK_LMENU || key == VK_RMENU; }

// The window's controls show their access keys and focus from now on, as
// the platform makes them on Alt or F10 where they are hidden until the
// keyboard is used: the keys taken here would otherwise never tell them.
void ShowKeyboardCues(HWND root) {
  SendMessageW(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL | UISF_HIDEFOCUS), 0);
}
bool Held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// Whether a key message about to be handled must not reach its window,
// whose default handling would start the platform's tracking of a bar
// it does not know; what it means is posted to the top-level window
// instead, as the platform's WM_SYSCOMMAND SC_KEYMENU. `removed` is false
// for a look that leaves the message queued: it will come again.
bool TakeKey(const MSG& msg, bool removed) {
  Keys& k = TheKeys();
  UINT m = msg.message;
  bool down = m == WM_KEYDOWN || m == WM_SYSKEYDOWN;
  bool up = m == WM_KEYUP || m == WM_SYSKEYUP;
  if (!down && !up && m != WM_SYSCHAR) return false;
  if (k.busy) return false;
  if (removed && down && !IsAlt(msg.wParam)) k.alt_alone = false;
  HWND root = TrackedRoot(msg.hwnd);
  if (!root) return false;
  bool has_bar = GetMenu(root) != nullptr;
  auto post = [&](wchar_t c) {
    if (removed) PostMessageW(root, WM_SYSCOMMAND, SC_KEYMENU, c);
  };
  if ((down || up) && IsAlt(msg.wParam)) {
    bool repeat = (msg.lParam & (KF_REPEAT << 16)) != 0;
    if (removed && down && !repeat) k.alt_alone = !Held(VK_CONTROL);  // not AltGr
    // Cheap when they show already, as they do from the second key on.
    if (removed && down && !Held(VK_CONTROL)) ShowKeyboardCues(root);
    if (up && k.alt_alone) {
      if (removed) k.alt_alone = false;
      post(0);
      return true;
    }
    // Where the bar is ours, Alt never reaches the platform.
    return has_bar;
  }
  if ((down || up) && msg.wParam == VK_F10) {
    // Shift+F10 (the context menu) and Ctrl+F10 are the window's: their
    // press reaches it; their release does not, where the platform would
    // make it the bar's key as for F10 alone.
    if (Held(VK_SHIFT) || Held(VK_CONTROL)) return up;
    if (removed && down) ShowKeyboardCues(root);
    if (up) post(0);
    return true;
  }
  if (m == WM_SYSCHAR) {
    wchar_t c = static_cast<wchar_t>(msg.wParam);
    // Alt+letter in a window without a bar may be a dialog's access key.
    if (c != L' ' && !has_bar) return false;
    post(c);
    return true;
  }
  return false;
}

LRESULT CALLBACK GetMessageProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (TakeKey(*msg, wp == PM_REMOVE)) msg->message = WM_NULL;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

void Attach(DWORD thread) {
  Keys& k = TheKeys();
  if (!k.hook) k.hook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageProc, nullptr, thread);
}

Bar::Bar(HWND owner, Host& host) : owner_(owner), host_(host) { TheKeys().bars.push_back(this); }

Bar::~Bar() {
  std::vector<Bar*>& bars = TheKeys().bars;
  bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
}

Bar* Bar::Of(HWND root) {
  for (Bar* bar : TheKeys().bars) {
    if (bar->owner_ == root) return bar->tracked_ ? bar : nullptr;
  }
  return nullptr;
}

void Bar::Track(bool on, int dpi) {
  tracked_ = on;
  dpi_ = dpi;
}

int Bar::Scaled(int pixels96) const { return MulDiv(pixels96, dpi_, 96); }

int Bar::Height() const {
  if (!GetMenu(owner_)) return 0;
  return std::max<int>(GetSystemMetrics(SM_CYMENU), TextHeight() + Scaled(kTextMargin));
}

RECT Bar::ItemRect(const RECT& bar, int pos) const {
  int count = Count(owner_);
  if (pos < 0 || pos >= count || IsRectEmpty(&bar)) return {};
  if (placed_) return PlacedItem(owner_, bar, pos);
  int padding = Scaled(kItemPadding);
  int left = bar.left;
  for (int i = 0; i < pos; i++) left += TextWidth(owner_, i) + 2 * padding;
  RECT rc = {left, bar.top, left + TextWidth(owner_, pos) + 2 * padding, bar.bottom};
  if (rc.left >= bar.right) return {};
  rc.right = std::min(rc.right, bar.right);
  return rc;
}

void Bar::Place(HDC dc, const RECT& bar) {
  HMENU menu = GetMenu(owner_);
  placed_ = false;
  if (!menu || IsRectEmpty(&bar) || Count(owner_) == 0) return;
  auto lies_on_bar = [&] {
    RECT now = PlatformBar(owner_);
    return now.left == bar.left && now.top == bar.top && now.right == bar.right;
  };
  if (!lies_on_bar()) LayPlatformBarOn(owner_, menu, dc, bar);
  placed_ = lies_on_bar();
}

void Bar::Paint(HDC dc, const RECT& bar) const {
  menus::PaintBar(
      owner_, dc, bar, [&](int pos) { return ItemRect(bar, pos); }, lit_, hover_, keys_);
}

void Bar::Show(int lit, bool keys) {
  lit = std::max(lit, -1);
  if (lit_ == lit && keys_ == keys) return;
  lit_ = lit;
  keys_ = keys;
  host_.Repaint();
}

void Bar::SetHover(int item) {
  item = std::max(item, -1);
  if (hover_ == item) return;
  hover_ = item;
  host_.Repaint();
}

void Bar::FollowPointer(UINT msg, WPARAM wp) {
  if (msg == WM_NCMOUSEMOVE) {
    POINT now;
    bool over = wp == HTMENU && draw::TrackLeave(owner_, TME_LEAVE | TME_NONCLIENT, &now);
    SetHover(over ? ItemAt(*this, now) : -1);
  } else if (msg == WM_NCMOUSELEAVE || msg == WM_MOUSEMOVE) {
    SetHover(-1);  // a move into the client area comes sooner than the leave
  }
}

bool Bar::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  Tracking& t = TheKeys().tracking;
  POINT screen = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  switch (msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wp == HTMENU) {
        int item = ItemAt(*this, screen);
        if (item >= 0) Run(*this, item, true, false);
      } else if (wp == HTSYSMENU && msg == WM_NCLBUTTONDOWN) {
        if (HasWindowMenu(owner_)) Run(*this, kWindowMenu, true, false);
      } else {
        return false;
      }
      *result = 0;
      return true;
    case WM_NCMOUSEMOVE:
    case WM_NCMOUSELEAVE:
    case WM_MOUSEMOVE:
      FollowPointer(msg, wp);
      return false;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) != SC_KEYMENU) return false;
      KeyMenu(*this, static_cast<wchar_t>(lp));
      *result = 0;
      return true;
    case WM_MENUSELECT:
      if (t.bar == this && t.open != kNone && !(HIWORD(wp) == 0xFFFF && !lp)) {
        t.selected = reinterpret_cast<HMENU>(lp);
        t.selected_opens = (HIWORD(wp) & MF_POPUP) != 0;
      }
      return false;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) return false;
      [[fallthrough]];
    case WM_CANCELMODE:
      // The bar selected from the keyboard lets go with the keyboard.
      if (t.bar == this && t.open == kNone) {
        t.leave = true;
        PostMessageW(owner_, WM_NULL, 0, 0);
      }
      return false;
  }
  return false;
}

}  // namespace dulib::menubar
