#include "menus.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <functional>
#include <iterator>
#include <list>
#include <string>
#include <utility>

#include "draw.h"
#include "look.h"
#include "record.h"
#include "subclass.h"
#include "common/win_handles.h"
#include "skin/palette.h"

namespace dulib::menus {

namespace {

// An item that the engine made owner-drawn, with what it had before. The
// item's data holds the address of its record: that is how our items are
// told from the program's own owner-drawn ones, and how an item is found
// again after the program has added or removed others before it.
struct Item {
  HMENU menu = nullptr;
  ULONG_PTR data = 0;  // the program's item data, given back with the item
  UINT type = 0;       // the type before, MFT_STRING or MFT_SEPARATOR
  bool bar = false;    // a menu bar item: stays ours
  std::wstring text;   // as set when converted, for when the platform hides it
};

// List nodes stay where they are, so their addresses can be item data.
std::list<Item>& Items() {
  static auto* items = new std::list<Item>;
  return *items;
}

ULONG_PTR Tag(const Item& item) { return reinterpret_cast<ULONG_PTR>(&item); }

const Item* Ours(ULONG_PTR data) {
  for (const Item& item : Items()) {
    if (Tag(item) == data) return &item;
  }
  return nullptr;
}

ULONG_PTR DataAt(HMENU menu, int pos) {
  MENUITEMINFOW info = {sizeof info, MIIM_DATA};
  return GetMenuItemInfoW(menu, pos, TRUE, &info) ? info.dwItemData : 0;
}

// Where the item is in its menu now; -1 when it is gone.
int PositionOf(const Item& item) {
  int count = GetMenuItemCount(item.menu);
  for (int pos = 0; pos < count; pos++) {
    if (DataAt(item.menu, pos) == Tag(item)) return pos;
  }
  return -1;
}

std::wstring TextOf(HMENU menu, int pos) {
  MENUITEMINFOW info = {sizeof info, MIIM_STRING};
  if (!GetMenuItemInfoW(menu, pos, TRUE, &info) || info.cch == 0) return {};
  std::wstring text(info.cch + 1, L'\0');
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
  if (!GetMenuItemInfoW(menu, pos, TRUE, &info)) return {};
  text.resize(info.cch);
  return text;
}

// The text to draw: the menu's own when the platform still gives it.
std::wstring TextOf(const Item& item, int pos) {
  std::wstring text = pos >= 0 ? TextOf(item.menu, pos) : std::wstring();
  return text.empty() ? item.text : text;
}

// An item's text, split at its tab into the label and the shortcut shown
// on the right.
std::pair<std::wstring, std::wstring> LabelOf(const Item& item, int pos) {
  std::wstring text = TextOf(item, pos);
  const size_t tab = text.find(L'\t');
  if (tab == std::wstring::npos) return {text, {}};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

// Makes a text or separator item ours. Bitmaps and the program's own
// owner-drawn items are left as they are. True when it was converted.
bool Convert(HMENU menu, int pos, bool bar) {
  MENUITEMINFOW info = {sizeof info, MIIM_FTYPE | MIIM_DATA};
  if (!GetMenuItemInfoW(menu, pos, TRUE, &info)) return false;
  if (info.fType & (MFT_OWNERDRAW | MFT_BITMAP)) return false;  // ours already, or not text
  Items().push_back({menu, info.dwItemData, info.fType, bar, TextOf(menu, pos)});
  info.fType |= MFT_OWNERDRAW;
  info.dwItemData = Tag(Items().back());
  if (!SetMenuItemInfoW(menu, pos, TRUE, &info)) {
    Items().pop_back();
    return false;
  }
  return true;
}

void Revert(const Item& item) {
  int pos = PositionOf(item);
  if (pos < 0) return;
  MENUITEMINFOW info = {sizeof info, MIIM_FTYPE | MIIM_DATA};
  if (!GetMenuItemInfoW(item.menu, pos, TRUE, &info)) return;
  info.fType = (info.fType & ~MFT_OWNERDRAW) | (item.type & MFT_SEPARATOR);
  info.dwItemData = item.data;
  SetMenuItemInfoW(item.menu, pos, TRUE, &info);
}

// Gives back the items of open drop-down menus (one menu, or all for null).
void RevertPopups(HMENU only) {
  for (auto it = Items().begin(); it != Items().end();) {
    if (!it->bar && (!only || it->menu == only)) {
      Revert(*it);
      it = Items().erase(it);
    } else {
      ++it;
    }
  }
}

// Records of bar items whose menu, or which, the program has destroyed.
void ForgetDeadItems() {
  for (auto it = Items().begin(); it != Items().end();) {
    bool dead = it->bar && (!IsMenu(it->menu) || PositionOf(*it) < 0);
    it = dead ? Items().erase(it) : std::next(it);
  }
}

// ---- drawing ------------------------------------------------------------------

// Sizes of a drop-down menu's items at 96 DPI, scaled to the screen's.
constexpr int kCheckColumn = 22;     // the check marks' column, left of every item's text
constexpr int kArrowColumn = 16;     // the submenu arrow's column, at least
constexpr int kTextEnd = 12;         // right of the text (or the shortcut) of an item without arrow
constexpr int kShortcutGap = 24;     // between an item's text and its shortcut
constexpr int kItemMargin = 8;       // above and below an item's text, together
constexpr int kSeparatorWidth = 8;   // a separator's least width ...
constexpr int kSeparatorHeight = 7;  // ... and its height

int CheckColumn() { return draw::Scaled(kCheckColumn); }

// The arrow of an item that opens a submenu, in the right-most column.
int ArrowColumn() { return std::max(GetSystemMetrics(SM_CXMENUCHECK), draw::Scaled(kArrowColumn)); }

struct ItemLook {
  bool selected = false;
  bool hot = false;  // a bar item under the pointer, its menu not open
  bool disabled = false;
  bool checked = false;
  bool hide_prefix = false;
};

// The part and state of an item, worked out once.
look::States StatesOf(const ItemLook& item) {
  look::States s = look::kNormal;
  if (item.selected) s |= look::kHighlighted;
  if (item.disabled) s |= look::kDisabled;
  if (item.checked) s |= look::kChecked;
  return s;
}

// A bar item under the pointer lies between the bar at rest and an open
// item: the mix of the two that stands furthest from both, so that hover
// never looks like rest, nor like an open menu.
COLORREF HotBarBack() {
  constexpr double kSteps[] = {0.25, 0.35, 0.5};
  skin::Rgb rest = draw::Rgb(look::Back(look::Part::MenuBarItem, look::kNormal));
  skin::Rgb open = draw::Rgb(look::Back(look::Part::MenuBarItem, look::kHighlighted));
  skin::Rgb best = rest;
  double best_apart = 0;
  for (double t : kSteps) {
    skin::Rgb mix = skin::Mix(rest, open, t);
    double apart = std::min(skin::ContrastRatio(mix, rest), skin::ContrastRatio(mix, open));
    if (apart > best_apart) {
      best = mix;
      best_apart = apart;
    }
  }
  return draw::Ref(best);
}

void DrawItem(HDC dc, const Item& item, int pos, RECT rc, const ItemLook& state) {
  if (item.type & MFT_SEPARATOR) {
    look::Draw(dc, look::Part::MenuSeparator, look::kNormal, rc);
    return;
  }
  look::Part part = item.bar ? look::Part::MenuBarItem : look::Part::MenuItem;
  look::States s = StatesOf(state);
  // A disabled bar item is not lit: the bar shows nothing to open there.
  if (item.bar && state.disabled) s &= ~look::kHighlighted;
  int saved = SaveDC(dc);
  if (item.bar && state.hot && !(s & (look::kHighlighted | look::kDisabled))) {
    common::Brush hot(HotBarBack());
    FillRect(dc, &rc, hot.get());
  } else {
    look::Draw(dc, part, s, rc);
  }

  auto [text, accel] = LabelOf(item, pos);
  const bool opens_submenu = !item.bar && pos >= 0 && GetSubMenu(item.menu, pos);
  SelectObject(dc, look::Font(part));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look::TextColor(part, s));
  UINT prefix = state.hide_prefix ? DT_HIDEPREFIX : 0;
  if (item.bar) {
    DrawTextW(dc, text.c_str(), -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER | prefix);
  } else {
    if (state.checked) {
      look::Draw(dc, look::Part::MenuCheck, s,
                 {rc.left, rc.top, rc.left + CheckColumn(), rc.bottom});
    }
    RECT label = rc;
    label.left += CheckColumn();
    label.right -= opens_submenu ? ArrowColumn() : draw::Scaled(kTextEnd);
    DrawTextW(dc, text.c_str(), -1, &label, DT_SINGLELINE | DT_VCENTER | DT_LEFT | prefix);
    if (!accel.empty()) {
      DrawTextW(dc, accel.c_str(), -1, &label, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
  }
  if (opens_submenu) {
    look::Draw(dc, look::Part::MenuArrow, s,
               {rc.right - ArrowColumn(), rc.top, rc.right, rc.bottom});
  }
  RestoreDC(dc, saved);
  // The platform draws its own arrow after this, in the same DC and in
  // system colours: the column is taken out of what it may paint.
  if (opens_submenu) ExcludeClipRect(dc, rc.right - ArrowColumn(), rc.top, rc.right, rc.bottom);
}

SIZE TextSize(HDC dc, const std::wstring& text, UINT flags) {
  RECT rc = {0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
            DT_SINGLELINE | DT_CALCRECT | flags);
  return {rc.right - rc.left, rc.bottom - rc.top};
}

// A DC to measure text in, kept for the thread: taking the screen's DC
// asks the display server each time (Wine's X11 driver does), and the
// platform has items measured again whenever it lays a bar or menu out.
HDC MeasuringDc() {
  static HDC dc = CreateCompatibleDC(nullptr);
  return dc;
}

void Measure(const Item& item, MEASUREITEMSTRUCT* m) {
  if (item.type & MFT_SEPARATOR) {
    m->itemWidth = draw::Scaled(kSeparatorWidth);
    m->itemHeight = draw::Scaled(kSeparatorHeight);
    return;
  }
  const int pos = PositionOf(item);
  auto [text, accel] = LabelOf(item, pos);
  HDC dc = MeasuringDc();
  common::Selected font(dc, look::Font(item.bar ? look::Part::MenuBarItem : look::Part::MenuItem));
  SIZE label = TextSize(dc, text, 0);
  if (item.bar) {
    m->itemWidth = label.cx;  // the platform adds the spacing of bar items
    m->itemHeight = GetSystemMetrics(SM_CYMENU);
    return;
  }
  int width = CheckColumn() + label.cx + draw::Scaled(kTextEnd);
  if (pos >= 0 && GetSubMenu(item.menu, pos)) width += ArrowColumn();
  if (!accel.empty()) width += draw::Scaled(kShortcutGap) + TextSize(dc, accel, DT_NOPREFIX).cx;
  m->itemWidth = width;
  m->itemHeight = label.cy + draw::Scaled(kItemMargin);
}

// Owner-drawn items get no access-key handling from the platform on
// Windows: it asks the owner, and we answer from the item's text.
bool AnswerMenuChar(HMENU menu, wchar_t key, LRESULT* result) {
  int count = GetMenuItemCount(menu);
  for (int pos = 0; pos < count; pos++) {
    const Item* item = Ours(DataAt(menu, pos));
    if (!item) continue;
    wchar_t own = AccessKey(TextOf(*item, pos));
    if (own && towupper(own) == towupper(key)) {
      *result = MAKELRESULT(pos, MNC_EXECUTE);
      return true;
    }
  }
  return false;
}

bool HidesAccessKeys(HWND owner) {
  return (SendMessageW(owner, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
}

// A menu's edge: the ring between `outer` and `inner` in the menu colour,
// framed in the border colour. Leaves the DC clipped; callers restore it.
void FillEdge(HDC dc, const RECT& outer, const RECT& inner) {
  ExcludeClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
  look::Draw(dc, look::Part::MenuEdge, look::kNormal, outer);
}

// The edge of a drop-down menu. Wine draws it inside the client area,
// around the items, after them; Windows draws it in the non-client area
// and the items fill the client area, leaving nothing to do here.
void PaintPopupEdge(HWND popup, HDC dc, bool in_window) {
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
  RECT client;
  GetClientRect(popup, &client);
  RECT items = {};
  int count = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; i++) {
    RECT rc;
    if (GetMenuItemRect(nullptr, menu, i, &rc)) UnionRect(&items, &items, &rc);
  }
  MapWindowPoints(nullptr, popup, reinterpret_cast<POINT*>(&items), 2);
  if (IsRectEmpty(&items) || items.left <= client.left || items.top <= client.top) return;
  // In client coordinates; a printed picture is in window coordinates.
  int saved = SaveDC(dc);
  POINT origin = {};
  if (in_window) {
    RECT window;
    GetWindowRect(popup, &window);
    MapWindowPoints(popup, nullptr, &origin, 1);
    OffsetViewportOrgEx(dc, origin.x - window.left, origin.y - window.top, nullptr);
  }
  FillEdge(dc, client, items);
  if (saved) RestoreDC(dc, saved);
}

void PaintPopupEdge(HWND popup) {
  common::ClientDc dc(popup);
  if (dc.get()) PaintPopupEdge(popup, dc.get(), false);
}

// Into a DC in window coordinates; its clipping is given back as it was.
void PaintPopupNonClient(HWND popup, HDC dc) {
  RECT window;
  GetWindowRect(popup, &window);
  RECT client;
  GetClientRect(popup, &client);
  MapWindowPoints(popup, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  OffsetRect(&window, -window.left, -window.top);
  int saved = SaveDC(dc);
  FillEdge(dc, window, client);
  if (saved) RestoreDC(dc, saved);
}

void PaintPopupNonClient(HWND popup) {
  common::WindowDc dc(popup);
  if (dc.get()) PaintPopupNonClient(popup, dc.get());
}

// ---- menus of other windows ------------------------------------------------------

// A drop-down menu that a control opens for itself (an edit box's menu) is
// owned by that control, which answers no drawing messages and is sent no
// WM_INITMENUPOPUP: the menu is opened without notices. Its items become
// ours when its window is made (on Windows, which hands the window its
// menu later, before the window first shows), and the owner answers for
// them through a subclass that lasts as long as that window.

LRESULT CALLBACK BorrowedOwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  LRESULT result = 0;
  if ((msg == WM_MEASUREITEM || msg == WM_DRAWITEM || msg == WM_MENUCHAR) &&
      OnOwnerMessage(hwnd, msg, wp, lp, &result)) {
    return result;
  }
  if (msg == WM_NCDESTROY) subclass::Remove(hwnd, BorrowedOwnerProc, subclass::kMenuOwnerId);
  return subclass::CallNext(hwnd, msg, wp, lp);
}

// The popup's window is going: its items go back to the control's menu.
void ReleasePopup(HWND popup) {
  Record* record = RecordOf(popup);
  if (!record) return;
  BorrowedMenu borrowed = record->borrowed;
  record->borrowed = {};
  if (!borrowed.owner) return;
  RevertPopups(borrowed.menu);
  if (IsWindow(borrowed.owner)) {
    subclass::Remove(borrowed.owner, BorrowedOwnerProc, subclass::kMenuOwnerId);
  }
}

}  // namespace

void AdoptPopup(HWND popup, HWND owner) {
  Record* record = RecordOf(popup);
  if (!owner || !record || record->borrowed.owner) return;  // none, or taken already
  auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
  if (!menu || !IsMenu(menu)) {
    // Windows gives the window its menu only after making it: the menu
    // is taken before the window first shows (AdoptPendingPopup).
    record->borrowed.pending_owner = owner;
    return;
  }
  record->borrowed.pending_owner = nullptr;
  // Only a window of this thread can be subclassed from here.
  if (!subclass::Set(owner, BorrowedOwnerProc, subclass::kMenuOwnerId, 0)) return;
  record->borrowed.owner = owner;
  record->borrowed.menu = menu;
  PreparePopup(menu);
}

void AdoptPendingPopup(HWND popup) {
  Record* record = RecordOf(popup);
  if (record && record->borrowed.pending_owner) AdoptPopup(popup, record->borrowed.pending_owner);
}

void PrepareBar(HWND owner) {
  HMENU bar = GetMenu(owner);
  if (!bar || !IsMenu(bar)) return;
  ForgetDeadItems();
  bool changed = false;
  int count = GetMenuItemCount(bar);
  for (int pos = 0; pos < count; pos++) changed |= Convert(bar, pos, true);
  // The bar is laid out again with our sizes.
  if (changed) DrawMenuBar(owner);
}

void PaintBar(HWND owner, HDC dc, const RECT& bar, const std::function<RECT(int)>& item_rect,
              int lit, int hot, bool keys) {
  look::Draw(dc, look::Part::MenuBar, look::kNormal, bar);
  HMENU menu = GetMenu(owner);
  if (!menu) return;
  bool hide = !keys && HidesAccessKeys(owner);
  int count = GetMenuItemCount(menu);
  for (int pos = 0; pos < count; pos++) {
    const Item* item = Ours(DataAt(menu, pos));
    if (!item) continue;
    RECT rc = item_rect(pos);
    if (IsRectEmpty(&rc)) continue;
    MENUITEMINFOW state = {sizeof state, MIIM_STATE};
    GetMenuItemInfoW(menu, pos, TRUE, &state);
    ItemLook look;
    look.selected = pos == lit || (lit < 0 && (state.fState & MFS_HILITE));
    look.hot = pos == hot;
    look.disabled = state.fState & MFS_DISABLED;
    look.hide_prefix = hide;
    DrawItem(dc, *item, pos, rc, look);
  }
}

void PaintBar(HWND owner, HDC dc, const RECT& bar, int hot) {
  RECT window;
  GetWindowRect(owner, &window);
  PaintBar(
      owner, dc, bar,
      [&](int pos) {
        MENUBARINFO info = {sizeof info};
        if (!GetMenuBarInfo(owner, OBJID_MENU, pos + 1, &info)) return RECT{};
        OffsetRect(&info.rcBar, -window.left, -window.top);
        return info.rcBar;
      },
      -1, hot, false);
}

wchar_t AccessKey(const std::wstring& text) {
  for (size_t i = 0; i + 1 < text.size(); i++) {
    if (text[i] != L'&') continue;
    if (text[i + 1] != L'&') return text[i + 1];
    i++;
  }
  return 0;
}

std::wstring BarText(HWND owner, int pos) {
  HMENU menu = GetMenu(owner);
  if (!menu) return {};
  const Item* item = Ours(DataAt(menu, pos));
  return item ? TextOf(*item, pos) : TextOf(menu, pos);
}

void PreparePopup(HMENU popup) {
  if (!popup || !IsMenu(popup)) return;
  int count = GetMenuItemCount(popup);
  for (int pos = 0; pos < count; pos++) Convert(popup, pos, false);
}

bool OnOwnerMessage(HWND owner, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      const Item* item = m->CtlType == ODT_MENU ? Ours(m->itemData) : nullptr;
      if (!item) return false;
      Measure(*item, m);
      *result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      const Item* item = d->CtlType == ODT_MENU ? Ours(d->itemData) : nullptr;
      if (!item) return false;
      ItemLook look;
      look.selected = d->itemState & ODS_SELECTED;
      look.hot = d->itemState & ODS_HOTLIGHT;
      look.disabled = d->itemState & (ODS_GRAYED | ODS_DISABLED);
      look.checked = d->itemState & ODS_CHECKED;
      look.hide_prefix = d->itemState & ODS_NOACCEL;
      // Nothing to paint on (a bar laid out by the platform for its
      // layout only): nothing drawn.
      RECT clip;
      if (GetClipBox(d->hDC, &clip) != NULLREGION) {
        DrawItem(d->hDC, *item, PositionOf(*item), d->rcItem, look);
      }
      *result = TRUE;
      return true;
    }
    case WM_MENUCHAR:
      return AnswerMenuChar(reinterpret_cast<HMENU>(lp), LOWORD(wp), result);
    case WM_UNINITMENUPOPUP:
      RevertPopups(reinterpret_cast<HMENU>(wp));
      return false;
    case WM_EXITMENULOOP:
      RevertPopups(nullptr);
      return false;
  }
  (void)owner;
  return false;
}

bool OnPopupMessage(HWND popup, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_PAINT:
      *result = subclass::CallNext(popup, msg, wp, lp);
      PaintPopupEdge(popup);
      return true;
    case WM_NCPAINT:
      PaintPopupNonClient(popup);
      *result = 0;
      return true;
    case WM_PRINT:
      // Windows fades or slides a menu in from a picture it takes with
      // WM_PRINT, whose default draws the platform's border (Wine's lies
      // in the client area): ours goes over it, or the menu opens with a
      // border in system colours.
      *result = subclass::CallNext(popup, msg, wp, lp);
      if (wp && (lp & PRF_CLIENT)) PaintPopupEdge(popup, reinterpret_cast<HDC>(wp), true);
      if (wp && (lp & PRF_NONCLIENT)) PaintPopupNonClient(popup, reinterpret_cast<HDC>(wp));
      return true;
    case WM_NCDESTROY:
      ReleasePopup(popup);
      return false;
  }
  return false;
}

}  // namespace dulib::menus
