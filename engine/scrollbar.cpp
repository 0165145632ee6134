#include "scrollbar.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "skinner.h"
#include "win_handles.h"

namespace dulib::scrollbar {

namespace {

using skin::Role;

constexpr UINT_PTR kSubclassId = 0x534B;
constexpr UINT_PTR kRepeatTimer = 0x534B;
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 60;

enum class Part { None, UpArrow, PageUp, Thumb, PageDown, DownArrow };

// Where the list stands, as the bar shows it.
struct Position {
  int count = 0;  // items
  int page = 1;   // items that fit in the list
  int top = 0;    // first item shown
  bool operator==(const Position& o) const {
    return count == o.count && page == o.page && top == o.top;
  }
  int last_top() const { return std::max(0, count - page); }
};

struct Bar {
  bool always = false;  // LBS_DISABLENOSCROLL
  bool created = false;
  bool shown = false;
  bool syncing = false;
  Position shows;
  Part pressed = Part::None;
  int grab = 0;  // thumb drag: pointer's distance from the thumb's top
};

// The bar's pieces, in screen coordinates.
struct Layout {
  RECT bar, up, down, thumb;
  int track_top, track_length, thumb_length;
};

Position ReadPosition(HWND list) {
  Position p;
  LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  LRESULT height = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
  RECT client;
  GetClientRect(list, &client);
  p.count = count == LB_ERR ? 0 : int(count);
  p.top = top == LB_ERR ? 0 : int(top);
  p.page = height > 0 && height != LB_ERR ? std::max(1, int(client.bottom / height)) : 1;
  return p;
}

int Width() { return GetSystemMetrics(SM_CXVSCROLL); }

Layout LayoutOf(HWND list, const Position& p) {
  Layout l;
  RECT client;
  GetClientRect(list, &client);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
  l.bar = {client.right, client.top, client.right + Width(), client.bottom};
  int height = int(l.bar.bottom - l.bar.top);
  int arrow = std::min(Width(), height / 2);
  l.up = {l.bar.left, l.bar.top, l.bar.right, l.bar.top + arrow};
  l.down = {l.bar.left, l.bar.bottom - arrow, l.bar.right, l.bar.bottom};
  l.track_top = l.up.bottom;
  l.track_length = std::max(0, int(l.down.top - l.up.bottom));
  l.thumb = {};
  l.thumb_length = 0;
  if (p.count > p.page && l.track_length > 0) {
    int min_thumb = std::min(l.track_length, Width() / 2);
    l.thumb_length = std::max(min_thumb, MulDiv(l.track_length, p.page, p.count));
    int travel = l.track_length - l.thumb_length;
    int offset = MulDiv(travel, std::min(p.top, p.last_top()), p.last_top());
    l.thumb = {l.bar.left, l.track_top + offset, l.bar.right,
               l.track_top + offset + l.thumb_length};
  }
  return l;
}

Part PartAt(const Layout& l, POINT pt) {
  if (!PtInRect(&l.bar, pt)) return Part::None;
  if (PtInRect(&l.up, pt)) return Part::UpArrow;
  if (PtInRect(&l.down, pt)) return Part::DownArrow;
  if (IsRectEmpty(&l.thumb)) return Part::None;
  if (pt.y < l.thumb.top) return Part::PageUp;
  if (pt.y >= l.thumb.bottom) return Part::PageDown;
  return Part::Thumb;
}

Bar& BarOf(DWORD_PTR data) { return *reinterpret_cast<Bar*>(data); }

// ---- drawing -------------------------------------------------------------

void DrawArrow(HDC dc, const RECT& r, bool up, bool pressed, bool enabled) {
  Role back = pressed ? Role::ScrollThumb : Role::ScrollTrack;
  Role glyph = pressed ? Role::ScrollTrack : Role::ScrollThumb;
  FillRect(dc, &r, SkinBrush(back));
  if (!enabled) glyph = Role::Border;
  int w = r.right - r.left, h = r.bottom - r.top;
  int half = std::max(2, std::min(w, h) / 4);
  int cx = r.left + w / 2, cy = r.top + h / 2;
  int tip = up ? cy - half / 2 - 1 : cy + half / 2 + 1;
  int base = up ? tip + half : tip - half;
  POINT points[] = {{cx, tip}, {cx - half, base}, {cx + half, base}};
  Pen pen(PS_SOLID, 1, SkinColor(glyph));
  Selected p(dc, pen.get());
  Selected b(dc, SkinBrush(glyph));
  Polygon(dc, points, 3);
}

// In window coordinates of the list, off-screen, in one copy.
void Draw(HWND list, const Bar& bar) {
  if (!bar.shown || !IsWindowVisible(list)) return;
  Position p = ReadPosition(list);
  Layout l = LayoutOf(list, p);
  RECT window;
  GetWindowRect(list, &window);
  auto to_window = [&](RECT r) {
    OffsetRect(&r, -window.left, -window.top);
    return r;
  };
  WindowDc target(list);
  if (!target.get()) return;
  RECT area = to_window(l.bar);
  OffscreenDc dc(target.get(), area);
  FillRect(dc.get(), &area, SkinBrush(Role::ScrollTrack));
  bool enabled = p.count > p.page && IsWindowEnabled(list);
  DrawArrow(dc.get(), to_window(l.up), true, bar.pressed == Part::UpArrow, enabled);
  DrawArrow(dc.get(), to_window(l.down), false, bar.pressed == Part::DownArrow, enabled);
  if (!IsRectEmpty(&l.thumb)) {
    RECT thumb = to_window(l.thumb);
    InflateRect(&thumb, -std::max(1, Width() / 8), 0);
    FillRect(dc.get(), &thumb,
             SkinBrush(bar.pressed == Part::Thumb ? Role::Border : Role::ScrollThumb));
  }
}

// ---- keeping up with the list ---------------------------------------------------

// Shows or hides the bar as the list fills and empties, and redraws it
// when the list has scrolled.
void Sync(HWND list, Bar& bar) {
  if (!bar.created || bar.syncing) return;
  bar.syncing = true;
  Position p = ReadPosition(list);
  bool shown = bar.always || p.count > p.page;
  if (shown != bar.shown) {
    bar.shown = shown;
    bar.shows = p;
    SetWindowPos(list, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (!(p == bar.shows)) {
    bar.shows = p;
    Draw(list, bar);
  }
  bar.syncing = false;
}

void ScrollTo(HWND list, Bar& bar, int top) {
  Position p = ReadPosition(list);
  top = std::clamp(top, 0, p.last_top());
  if (top != p.top) SendMessageW(list, LB_SETTOPINDEX, top, 0);
  Sync(list, bar);
}

// One step of the part held down: an arrow scrolls one item, the track a
// page, and only while the pointer is still over the part it started on.
void Step(HWND list, Bar& bar) {
  Position p = ReadPosition(list);
  POINT pt;
  GetCursorPos(&pt);
  if (PartAt(LayoutOf(list, p), pt) != bar.pressed) return;
  switch (bar.pressed) {
    case Part::UpArrow:
      ScrollTo(list, bar, p.top - 1);
      break;
    case Part::DownArrow:
      ScrollTo(list, bar, p.top + 1);
      break;
    case Part::PageUp:
      ScrollTo(list, bar, p.top - p.page);
      break;
    case Part::PageDown:
      ScrollTo(list, bar, p.top + p.page);
      break;
    default:
      break;
  }
}

void Press(HWND list, Bar& bar, POINT pt) {
  Position p = ReadPosition(list);
  Layout l = LayoutOf(list, p);
  bar.pressed = PartAt(l, pt);
  if (bar.pressed == Part::None) return;
  SetCapture(list);
  if (bar.pressed == Part::Thumb) {
    bar.grab = pt.y - l.thumb.top;
  } else {
    Step(list, bar);
    SetTimer(list, kRepeatTimer, kFirstRepeatMs, nullptr);
  }
  Draw(list, bar);
}

void Drag(HWND list, Bar& bar, POINT pt) {
  Position p = ReadPosition(list);
  Layout l = LayoutOf(list, p);
  int travel = l.track_length - l.thumb_length;
  if (travel <= 0) return;
  int offset = std::clamp(int(pt.y - bar.grab - l.track_top), 0, travel);
  ScrollTo(list, bar, (offset * p.last_top() + travel / 2) / travel);
}

void Release(HWND list, Bar& bar) {
  if (bar.pressed == Part::None) return;
  bar.pressed = Part::None;
  KillTimer(list, kRepeatTimer);
  Draw(list, bar);
}

// Messages whose answers are read, not actions: no reason to look at the
// list again after them, and the bar itself sends some of them.
bool OnlyReads(UINT msg) {
  switch (msg) {
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETFONT:
    case WM_GETDLGCODE:
    case WM_NCPAINT:
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_NCCALCSIZE:
    case LB_GETCOUNT:
    case LB_GETTOPINDEX:
    case LB_GETITEMHEIGHT:
    case LB_GETTEXT:
    case LB_GETTEXTLEN:
    case LB_GETCURSEL:
    case LB_GETITEMRECT:
    case LB_GETITEMDATA:
      return true;
  }
  return false;
}

LRESULT CALLBACK BarProc(HWND list, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  Bar& bar = BarOf(data);
  switch (msg) {
    case WM_CREATE: {
      LRESULT result = DefSubclassProc(list, msg, wp, lp);
      bar.created = result != -1;
      Sync(list, bar);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, BarProc, kSubclassId);
      delete &bar;
      return DefSubclassProc(list, msg, wp, lp);
    case WM_NCCALCSIZE: {
      LRESULT result = DefSubclassProc(list, msg, wp, lp);
      if (bar.shown) {
        RECT* r = reinterpret_cast<RECT*>(lp);  // the first rectangle in both forms
        r->right = std::max(r->left, r->right - Width());
      }
      return result;
    }
    case WM_NCPAINT: {
      LRESULT result = DefSubclassProc(list, msg, wp, lp);
      Draw(list, bar);
      return result;
    }
    case WM_NCHITTEST:
      if (bar.shown) {
        POINT pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        RECT r = LayoutOf(list, ReadPosition(list)).bar;
        if (PtInRect(&r, pt)) return HTVSCROLL;
      }
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wp == HTVSCROLL) {
        Press(list, bar, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (bar.pressed == Part::Thumb) {
        POINT pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(list, &pt);
        Drag(list, bar, pt);
      }
      if (bar.pressed != Part::None) return 0;
      break;
    case WM_LBUTTONUP:
      if (bar.pressed != Part::None) {
        Release(list, bar);
        ReleaseCapture();
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      Release(list, bar);
      break;
    case WM_TIMER:
      if (wp == kRepeatTimer) {
        SetTimer(list, kRepeatTimer, kRepeatMs, nullptr);
        Step(list, bar);
        return 0;
      }
      break;
    case WM_ENABLE:
    case WM_SIZE: {
      LRESULT result = DefSubclassProc(list, msg, wp, lp);
      Sync(list, bar);
      Draw(list, bar);
      return result;
    }
  }
  LRESULT result = DefSubclassProc(list, msg, wp, lp);
  if (!OnlyReads(msg) && IsWindow(list)) Sync(list, bar);
  return result;
}

}  // namespace

void FollowList(HWND list, bool always) {
  auto* bar = new Bar;
  bar->always = always;
  bar->shown = always;
  if (!SetWindowSubclass(list, BarProc, kSubclassId, reinterpret_cast<DWORD_PTR>(bar))) delete bar;
}

}  // namespace dulib::scrollbar
