#include "scrollbar.h"

#include <windowsx.h>

#include <algorithm>

#include "look.h"
#include "subclass.h"
#include "common/win_handles.h"

namespace dulib::scrollbar {

namespace {

using look::Part;

constexpr UINT_PTR kRepeatTimer = 0x534B;
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 60;

enum class BarPart { None, UpArrow, PageUp, Thumb, PageDown, DownArrow };

// Where the control stands, as the bar shows it.
struct Position {
  int count = 0;  // items or lines
  int page = 1;   // items or lines that fit in the control
  int top = 0;    // first one shown
  bool operator==(const Position& o) const {
    return count == o.count && page == o.page && top == o.top;
  }
  int last_top() const { return std::max(0, count - page); }
};

struct Bar {
  bool edit = false;    // a multi-line edit box rather than a list box
  bool always = false;  // LBS_DISABLENOSCROLL
  bool created = false;
  bool shown = false;
  bool syncing = false;
  Position shows;
  int cut = 0;  // rows under a list's last whole row, kept out of its client area
  BarPart pressed = BarPart::None;
  int grab = 0;  // thumb drag: pointer's distance from the thumb's top
};

// The bar's pieces, in screen coordinates.
struct Layout {
  RECT bar, up, down, thumb;
  int track_top, track_length, thumb_length;
};

int LineHeight(HWND edit) {
  common::ClientDc dc(edit);
  if (!dc.get()) return 0;
  common::Selected f(dc.get(), reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm = {};
  return GetTextMetricsW(dc.get(), &tm) ? int(tm.tmHeight) : 0;
}

Position ReadEditPosition(HWND edit) {
  Position p;
  p.count = int(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
  p.top = int(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
  RECT text = {};
  SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
  int height = LineHeight(edit);
  p.page = height > 0 ? std::max(1, int(text.bottom - text.top) / height) : 1;
  return p;
}

Position ReadPosition(HWND hwnd, const Bar& bar) {
  if (bar.edit) return ReadEditPosition(hwnd);
  Position p;
  LRESULT count = SendMessageW(hwnd, LB_GETCOUNT, 0, 0);
  LRESULT top = SendMessageW(hwnd, LB_GETTOPINDEX, 0, 0);
  LRESULT height = SendMessageW(hwnd, LB_GETITEMHEIGHT, 0, 0);
  RECT client;
  GetClientRect(hwnd, &client);
  p.count = count == LB_ERR ? 0 : int(count);
  p.top = top == LB_ERR ? 0 : int(top);
  p.page = height > 0 && height != LB_ERR ? std::max(1, int(client.bottom / height)) : 1;
  return p;
}

int Width() { return GetSystemMetrics(SM_CXVSCROLL); }

// The bar runs down the whole inside of the control's edge, past the
// rows a list keeps out of its client area.
Layout LayoutOf(HWND hwnd, const Bar& bar, const Position& p) {
  Layout l;
  RECT client;
  GetClientRect(hwnd, &client);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  l.bar = {client.right, client.top, client.right + Width(), client.bottom + bar.cut};
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

BarPart PartAt(const Layout& l, POINT pt) {
  if (!PtInRect(&l.bar, pt)) return BarPart::None;
  if (PtInRect(&l.up, pt)) return BarPart::UpArrow;
  if (PtInRect(&l.down, pt)) return BarPart::DownArrow;
  if (IsRectEmpty(&l.thumb)) return BarPart::None;
  if (pt.y < l.thumb.top) return BarPart::PageUp;
  if (pt.y >= l.thumb.bottom) return BarPart::PageDown;
  return BarPart::Thumb;
}

Bar& BarOf(DWORD_PTR data) { return *reinterpret_cast<Bar*>(data); }

// ---- drawing -------------------------------------------------------------

// In window coordinates of the control, off-screen, in one copy.
void Draw(HWND hwnd, const Bar& bar) {
  if (!bar.shown || !IsWindowVisible(hwnd)) return;
  Position p = ReadPosition(hwnd, bar);
  Layout l = LayoutOf(hwnd, bar, p);
  RECT window;
  GetWindowRect(hwnd, &window);
  auto to_window = [&](RECT r) {
    OffsetRect(&r, -window.left, -window.top);
    return r;
  };
  common::WindowDc target(hwnd);
  if (!target.get()) return;
  RECT area = to_window(l.bar);
  common::OffscreenDc dc(target.get(), area);
  bool enabled = p.count > p.page && IsWindowEnabled(hwnd);
  look::States normal = enabled ? look::kNormal : look::kDisabled;
  auto held = [&](BarPart part) { return bar.pressed == part ? normal | look::kPressed : normal; };
  look::Draw(dc.get(), Part::ScrollTrack, normal, area);
  look::Draw(dc.get(), Part::ScrollArrowUp, held(BarPart::UpArrow), to_window(l.up));
  look::Draw(dc.get(), Part::ScrollArrowDown, held(BarPart::DownArrow), to_window(l.down));
  if (!IsRectEmpty(&l.thumb)) {
    RECT thumb = to_window(l.thumb);
    InflateRect(&thumb, -std::max(1, Width() / 8), 0);
    look::Draw(dc.get(), Part::ScrollThumb, held(BarPart::Thumb), thumb);
  }
}

// A list shows whole rows only, as a list box without
// LBS_NOINTEGRALHEIGHT would: what would show of a last, cut row is taken
// out of its client area (the window keeps its size) and drawn empty.
int PartRow(HWND list, int height) {
  LRESULT row = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
  if (row == LB_ERR || row <= 0 || height < row) return 0;
  return height % int(row);
}

void DrawBelowRows(HWND hwnd) {
  RECT client, window;
  GetClientRect(hwnd, &client);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  GetWindowRect(hwnd, &window);
  LONG ex = GetWindowLongW(hwnd, GWL_EXSTYLE);
  int edge = (ex & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CYEDGE) : 0;
  if (GetWindowLongW(hwnd, GWL_STYLE) & WS_BORDER) edge = std::max(edge, 1);
  // Beside the bar, which draws its own length.
  RECT below = {client.left, client.bottom, client.right, window.bottom - edge};
  if (below.bottom <= below.top) return;
  OffsetRect(&below, -window.left, -window.top);
  common::WindowDc dc(hwnd);
  if (dc.get()) look::Draw(dc.get(), Part::Edit, look::kNormal, below);
}

// ---- keeping up with the control ---------------------------------------------------

// Shows or hides the bar as the control fills and empties, and redraws
// it when the control has scrolled.
void Sync(HWND hwnd, Bar& bar) {
  if (!bar.created || bar.syncing) return;
  bar.syncing = true;
  Position p = ReadPosition(hwnd, bar);
  bool shown = bar.always || p.count > p.page;
  if (shown != bar.shown) {
    bar.shown = shown;
    bar.shows = p;
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (!(p == bar.shows)) {
    bar.shows = p;
    Draw(hwnd, bar);
  }
  bar.syncing = false;
}

void ScrollTo(HWND hwnd, Bar& bar, int top) {
  Position p = ReadPosition(hwnd, bar);
  top = std::clamp(top, 0, p.last_top());
  if (top != p.top) {
    if (bar.edit) {
      SendMessageW(hwnd, EM_LINESCROLL, 0, top - p.top);
    } else {
      SendMessageW(hwnd, LB_SETTOPINDEX, top, 0);
    }
  }
  Sync(hwnd, bar);
}

// One step of the part held down: an arrow scrolls one item, the track a
// page, and only while the pointer is still over the part it started on.
void Step(HWND hwnd, Bar& bar) {
  Position p = ReadPosition(hwnd, bar);
  POINT pt;
  GetCursorPos(&pt);
  if (PartAt(LayoutOf(hwnd, bar, p), pt) != bar.pressed) return;
  switch (bar.pressed) {
    case BarPart::UpArrow:
      ScrollTo(hwnd, bar, p.top - 1);
      break;
    case BarPart::DownArrow:
      ScrollTo(hwnd, bar, p.top + 1);
      break;
    case BarPart::PageUp:
      ScrollTo(hwnd, bar, p.top - p.page);
      break;
    case BarPart::PageDown:
      ScrollTo(hwnd, bar, p.top + p.page);
      break;
    default:
      break;
  }
}

void Press(HWND hwnd, Bar& bar, POINT pt) {
  Position p = ReadPosition(hwnd, bar);
  Layout l = LayoutOf(hwnd, bar, p);
  bar.pressed = PartAt(l, pt);
  if (bar.pressed == BarPart::None) return;
  SetCapture(hwnd);
  if (bar.pressed == BarPart::Thumb) {
    bar.grab = pt.y - l.thumb.top;
  } else {
    Step(hwnd, bar);
    SetTimer(hwnd, kRepeatTimer, kFirstRepeatMs, nullptr);
  }
  Draw(hwnd, bar);
}

void Drag(HWND hwnd, Bar& bar, POINT pt) {
  Position p = ReadPosition(hwnd, bar);
  Layout l = LayoutOf(hwnd, bar, p);
  int travel = l.track_length - l.thumb_length;
  if (travel <= 0) return;
  int offset = std::clamp(int(pt.y - bar.grab - l.track_top), 0, travel);
  ScrollTo(hwnd, bar, (offset * p.last_top() + travel / 2) / travel);
}

void Release(HWND hwnd, Bar& bar) {
  if (bar.pressed == BarPart::None) return;
  bar.pressed = BarPart::None;
  KillTimer(hwnd, kRepeatTimer);
  Draw(hwnd, bar);
}

// Messages whose answers are read, not actions: no reason to look at the
// control again after them, and the bar itself sends some of them.
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
    case EM_GETLINECOUNT:
    case EM_GETFIRSTVISIBLELINE:
    case EM_GETRECT:
    case EM_GETSEL:
    case EM_LINELENGTH:
    case EM_LINEINDEX:
    case EM_GETLINE:
    case EM_GETMODIFY:
      return true;
  }
  return false;
}

LRESULT CALLBACK BarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  Bar& bar = BarOf(data);
  switch (msg) {
    case WM_NCCREATE: {
      // The edit box keeps the style of its creation data, which the hook
      // could not change for it: the copy it gets has no native bar.
      CREATESTRUCTW cs = *reinterpret_cast<CREATESTRUCTW*>(lp);
      cs.style &= ~WS_VSCROLL;
      return subclass::CallNext(hwnd, msg, wp, reinterpret_cast<LPARAM>(&cs));
    }
    case WM_CREATE: {
      CREATESTRUCTW cs = *reinterpret_cast<CREATESTRUCTW*>(lp);
      cs.style &= ~WS_VSCROLL;
      LRESULT result = subclass::CallNext(hwnd, msg, wp, reinterpret_cast<LPARAM>(&cs));
      bar.created = result != -1;
      Sync(hwnd, bar);
      return result;
    }
    case WM_NCDESTROY:
      subclass::Remove(hwnd, BarProc, subclass::kScrollBarId);
      delete &bar;
      return subclass::CallNext(hwnd, msg, wp, lp);
    case WM_NCCALCSIZE: {
      LRESULT result = subclass::CallNext(hwnd, msg, wp, lp);
      RECT* r = reinterpret_cast<RECT*>(lp);  // the first rectangle in both forms
      if (bar.shown) r->right = std::max(r->left, r->right - Width());
      bar.cut = bar.created && !bar.edit ? PartRow(hwnd, r->bottom - r->top) : 0;
      r->bottom -= bar.cut;
      return result;
    }
    case WM_NCPAINT: {
      LRESULT result = subclass::CallNext(hwnd, msg, wp, lp);
      DrawBelowRows(hwnd);
      Draw(hwnd, bar);
      return result;
    }
    case WM_NCHITTEST:
      if (bar.shown) {
        POINT pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        RECT r = LayoutOf(hwnd, bar, ReadPosition(hwnd, bar)).bar;
        if (PtInRect(&r, pt)) return HTVSCROLL;
      }
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wp == HTVSCROLL) {
        Press(hwnd, bar, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (bar.pressed == BarPart::Thumb) {
        POINT pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(hwnd, &pt);
        Drag(hwnd, bar, pt);
      }
      if (bar.pressed != BarPart::None) return 0;
      break;
    case WM_LBUTTONUP:
      if (bar.pressed != BarPart::None) {
        Release(hwnd, bar);
        ReleaseCapture();
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      Release(hwnd, bar);
      break;
    case WM_TIMER:
      if (wp == kRepeatTimer) {
        SetTimer(hwnd, kRepeatTimer, kRepeatMs, nullptr);
        Step(hwnd, bar);
        return 0;
      }
      break;
    case WM_ENABLE:
    case WM_SIZE: {
      LRESULT result = subclass::CallNext(hwnd, msg, wp, lp);
      Sync(hwnd, bar);
      Draw(hwnd, bar);
      return result;
    }
  }
  LRESULT result = subclass::CallNext(hwnd, msg, wp, lp);
  if (!OnlyReads(msg) && IsWindow(hwnd)) Sync(hwnd, bar);
  return result;
}

void Follow(HWND hwnd, bool edit, bool always) {
  auto* bar = new Bar;
  bar->edit = edit;
  bar->always = always;
  bar->shown = always;
  if (!subclass::Set(hwnd, BarProc, subclass::kScrollBarId, reinterpret_cast<DWORD_PTR>(bar)))
    delete bar;
}

}  // namespace

void FollowList(HWND hwnd, bool always) { Follow(hwnd, false, always); }

void FollowEdit(HWND edit) { Follow(edit, true, false); }

}  // namespace dulib::scrollbar
