// Where a framed window's frame lies: through the pure layout where the
// engine lays it out, read back from the platform where it does not; the
// hit-testing, maximised rectangle, minimum size and corners that follow.
#include <windows.h>

#include <algorithm>

#include "frame.h"
#include "framed_window.h"

namespace dulib {

using skin::frame::Mode;

namespace {

RECT ToRect(const skin::frame::Box& b) { return {b.left, b.top, b.right, b.bottom}; }

SIZE WindowSize(HWND hwnd) {
  RECT window;
  GetWindowRect(hwnd, &window);
  return {window.right - window.left, window.bottom - window.top};
}

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

}  // namespace

// The window as the pure layout sees it, with the style given (which may
// leave out the maximised and minimised states).
skin::frame::Window FramedWindow::PureWindow(LONG style, SIZE size) const {
  LONG ex = GetWindowLongW(hwnd_, GWL_EXSTYLE);
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

skin::frame::Sizes FramedWindow::PureSizes(const skin::Metrics& metrics) const {
  return {metrics.border_width, metrics.caption_height, bar_.Height(), dpi_};
}

// Where the engine lays the frame out itself, all of it follows from the
// window's rectangle and the skin's sizes.
skin::frame::Layout FramedWindow::PureLayout() const {
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  if (IsIconic(hwnd_)) style |= WS_MINIMIZE;
  return skin::frame::Lay(PureWindow(style, WindowSize(hwnd_)), PureSizes(frame::Metrics()),
                          GetSystemMetrics(SM_CXSMICON));
}

FrameRects FramedWindow::Rects() const {
  return skin::frame::Owned(mode_) ? OwnRects() : PlatformRects();
}

FrameRects FramedWindow::OwnRects() const {
  skin::frame::Layout pure = PureLayout();
  FrameRects r;
  r.size = WindowSize(hwnd_);
  r.caption = ToRect(pure.caption);
  r.bar = pure.bar.Empty() ? RECT{} : ToRect(pure.bar);
  r.client = ToRect(pure.client);
  for (int i = 0; i < FrameRects::kButtons; i++) r.buttons[i] = ToRect(pure.buttons[i]);
  return r;
}

// The platform keeps laying the frame out: we find where it put the
// client area and the menu bar, and the title band is what lies above.
FrameRects FramedWindow::PlatformRects() const {
  FrameRects r;
  RECT window;
  GetWindowRect(hwnd_, &window);
  r.size = {window.right - window.left, window.bottom - window.top};
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  LONG ex = GetWindowLongW(hwnd_, GWL_EXSTYLE);

  RECT edges = {};
  AdjustWindowRectEx(&edges, style, FALSE, ex);
  int border = -edges.left;
  GetClientRect(hwnd_, &r.client);
  MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r.client), 2);
  OffsetRect(&r.client, -window.left, -window.top);
  if (IsIconic(hwnd_) || IsRectEmpty(&r.client)) {
    SetRect(&r.client, border, r.size.cy - border, r.size.cx - border, r.size.cy - border);
  } else {
    border = r.client.left;
  }

  MENUBARINFO bar = {sizeof bar};
  if (GetMenu(hwnd_) && !IsIconic(hwnd_) && GetMenuBarInfo(hwnd_, OBJID_MENU, 0, &bar)) {
    r.bar = bar.rcBar;
    OffsetRect(&r.bar, -window.left, -window.top);
  }
  int caption_height = GetSystemMetrics((ex & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
  int caption_bottom = IsRectEmpty(&r.bar) ? r.client.top : r.bar.top;
  int caption_top = std::max(caption_bottom - caption_height, border);
  SetRect(&r.caption, border, caption_top, r.size.cx - border, caption_bottom);
  PlaceButtons(&r, style, ex);
  return r;
}

// Caption buttons, right to left: close, then maximise, then minimise,
// only those the window's style asks for, filling the platform's caption.
void FramedWindow::PlaceButtons(FrameRects* r, LONG style, LONG ex) const {
  if (!(style & WS_SYSMENU)) return;
  int inset = Scaled(skin::frame::kButtonInset);
  int height = r->caption.bottom - r->caption.top - 2 * inset;
  int width = height + height / 3;  // the platform's caption buttons are 4:3
  int right = r->caption.right - inset;
  int top = (r->caption.top + r->caption.bottom - height) / 2;
  bool tool = (ex & WS_EX_TOOLWINDOW) != 0;
  bool wanted[FrameRects::kButtons] = {true, !tool && (style & WS_MAXIMIZEBOX),
                                       !tool && (style & WS_MINIMIZEBOX)};
  for (int i = 0; i < FrameRects::kButtons; i++) {
    if (!wanted[i] || height <= 0) continue;
    SetRect(&r->buttons[i], right - width, top, right, top + height);
    right -= width + (i == 0 ? inset : 0);
  }
}

// The caption button under a point on the screen, as a hit-test code.
int FramedWindow::ButtonAt(POINT screen) const {
  RECT window;
  GetWindowRect(hwnd_, &window);
  POINT p = {screen.x - window.left, screen.y - window.top};
  FrameRects r = Rects();
  for (int i = 0; i < FrameRects::kButtons; i++) {
    if (PtInRect(&r.buttons[i], p)) return FrameRects::kCodes[i];
  }
  return 0;
}

// The widths of the frame around the client area of a window of this
// style, at the skin's sizes.
RECT FramedWindow::OwnInsets(LONG style) const {
  return ToRect(
      skin::frame::Insets(PureWindow(style, WindowSize(hwnd_)), PureSizes(frame::Metrics())));
}

LRESULT FramedWindow::OwnHitTest(POINT screen) const {
  RECT window;
  GetWindowRect(hwnd_, &window);
  POINT p = {screen.x - window.left, screen.y - window.top};
  if (p.x < 0 || p.y < 0 || p.x >= window.right - window.left || p.y >= window.bottom - window.top)
    return HTNOWHERE;
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  if (IsIconic(hwnd_)) style |= WS_MINIMIZE;
  skin::frame::Window w = PureWindow(style, WindowSize(hwnd_));
  skin::frame::Layout l = PureLayout();
  if (l.client.Contains(p.x, p.y)) return HTCLIENT;
  if (LRESULT edge = EdgeCode(skin::frame::EdgeAt(w, l, p.x, p.y, dpi_))) return edge;
  for (int i = 0; i < FrameRects::kButtons; i++) {
    if (l.buttons[i].Contains(p.x, p.y)) return FrameRects::kCodes[i];
  }
  if ((style & WS_SYSMENU) && l.icon.Contains(p.x, p.y)) return HTSYSMENU;
  if (l.caption.Contains(p.x, p.y)) return HTCAPTION;
  if (l.bar.Contains(p.x, p.y)) return HTMENU;
  return HTBORDER;
}

void FramedWindow::OwnClientArea(RECT* rc) const {
  RECT in = OwnInsets(GetWindowLongW(hwnd_, GWL_STYLE));
  rc->left += in.left;
  rc->top += in.top;
  rc->right -= in.right;
  rc->bottom -= in.bottom;
  if (rc->right < rc->left) rc->right = rc->left;
  if (rc->bottom < rc->top) rc->bottom = rc->top;
}

// A frame of the engine's own is at least as large as its borders, caption
// and menu bar, and wide enough for the caption buttons and the icon.
void FramedWindow::KeepFrameWhole(MINMAXINFO* info) const {
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  RECT in = OwnInsets(style & ~(WS_MAXIMIZE | WS_MINIMIZE));
  using namespace skin::frame;
  int buttons = kButtons * Scaled(kButtonWidth) + Scaled(2 * kButtonInset + kIconInset) +
                GetSystemMetrics(SM_CXSMICON) + Scaled(2 * kIconInset);
  info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, in.left + in.right + buttons);
  info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, in.top + in.bottom);
}

// A maximised window fills the work area of its monitor, and no more: a
// frame of ours has no border to hide past the screen's edges.
void FramedWindow::FitMaximised(MINMAXINFO* info) const {
  HMONITOR monitor = MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST);
  MONITORINFO mi = {sizeof mi};
  if (!GetMonitorInfoW(monitor, &mi)) return;
  info->ptMaxPosition = {mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top};
  info->ptMaxSize = {mi.rcWork.right - mi.rcWork.left, mi.rcWork.bottom - mi.rcWork.top};
}

// Windows reads the maximised size above for the primary
// monitor and, where it is at least that monitor's size, makes it larger
// by what the window's monitor is larger: on a larger second monitor the
// window would spill over onto its neighbour. Whatever the platform made
// of it, a maximised window is kept to the work area of its monitor.
void FramedWindow::KeepMaximisedInWorkArea(WINDOWPOS* pos) const {
  if ((pos->flags & SWP_NOSIZE) || !IsZoomed(hwnd_)) return;
  RECT proposed = {pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
  RECT target = frame::OwnMaximisedRect(MonitorFromRect(&proposed, MONITOR_DEFAULTTONEAREST));
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

// How much larger than its client area the window (neither minimised nor
// maximised) is in the frame of `mode` with `metrics`: worked out, not
// measured, so that a window too small for a frame, or one minimised or
// maximised now, gets the same answer, and every change of skin is undone
// exactly by the change back.
SIZE FramedWindow::NormalFrameSize(Mode mode, const skin::Metrics& metrics) const {
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE) & ~(WS_MAXIMIZE | WS_MINIMIZE);
  if (skin::frame::Owned(mode)) {
    skin::frame::Box in =
        skin::frame::Insets(PureWindow(style, WindowSize(hwnd_)), PureSizes(metrics));
    return {in.left + in.right, in.top + in.bottom};
  }
  RECT r = {};
  AdjustWindowRectEx(&r, style, GetMenu(hwnd_) != nullptr, GetWindowLongW(hwnd_, GWL_EXSTYLE));
  return {r.right - r.left, r.bottom - r.top};
}

// The rectangle of the maximised window on its monitor: the work area in a
// frame of ours; in the platform's, the work area with the sizing border
// past its edges, where the platform puts it (the caption's lower line
// is not part of that border).
RECT FramedWindow::MaximisedRect() const {
  HMONITOR monitor = MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST);
  if (skin::frame::Owned(mode_)) return frame::OwnMaximisedRect(monitor);
  MONITORINFO mi = {sizeof mi};
  GetMonitorInfoW(monitor, &mi);
  RECT r = mi.rcWork;
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE) & ~(WS_MAXIMIZE | WS_MINIMIZE);
  if ((style & WS_CAPTION) == WS_CAPTION) style &= ~WS_BORDER;
  RECT border = {};
  AdjustWindowRectEx(&border, style, FALSE, GetWindowLongW(hwnd_, GWL_EXSTYLE));
  r.left += border.left;
  r.top += border.top;
  r.right += border.right;
  r.bottom += border.bottom;
  return r;
}

// A window that cannot be resized was laid out for its client size: its
// controls would be cut off by a taller caption or wider borders. It grows
// by what its frame grew (and shrinks back), keeping its top left corner.
// A resizable window keeps its outer size, which its program or its user
// chose.
void FramedWindow::KeepClientSize(SIZE grown) {
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  if ((style & (WS_THICKFRAME | WS_MAXIMIZE | WS_MINIMIZE)) || (grown.cx == 0 && grown.cy == 0))
    return;
  SIZE size = WindowSize(hwnd_);
  SetWindowPos(hwnd_, nullptr, 0, 0, size.cx + grown.cx, size.cy + grown.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A minimised or maximised window that cannot be resized will come back
// to a normal rectangle that holds its client area in the new frame.
void FramedWindow::KeepNormalClientSize(SIZE grown) {
  if ((GetWindowLongW(hwnd_, GWL_STYLE) & WS_THICKFRAME) || (grown.cx == 0 && grown.cy == 0))
    return;
  WINDOWPLACEMENT place = {sizeof place};
  if (!GetWindowPlacement(hwnd_, &place)) return;
  place.rcNormalPosition.right += grown.cx;
  place.rcNormalPosition.bottom += grown.cy;
  // Shown as it is: no activation, no restoring.
  place.showCmd = IsIconic(hwnd_) ? SW_SHOWMINNOACTIVE : SW_SHOWMAXIMIZED;
  place.flags &= ~WPF_SETMINPOSITION;
  SetWindowPlacement(hwnd_, &place);
}

// The frame changed from the one of `before_mode` with `before`: the
// window is laid out again, keeping its client area where it cannot be
// resized, and filling the work area as the new frame does where it is
// maximised.
void FramedWindow::Relayout(Mode before_mode, const skin::Metrics& before) {
  SIZE old_frame = NormalFrameSize(before_mode, before);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShapeCorners();
  SIZE new_frame = NormalFrameSize(mode_, frame::Metrics());
  SIZE grown = {new_frame.cx - old_frame.cx, new_frame.cy - old_frame.cy};
  if (IsZoomed(hwnd_)) {
    RECT r = MaximisedRect();
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    KeepNormalClientSize(grown);
  } else if (IsIconic(hwnd_)) {
    KeepNormalClientSize(grown);
  } else {
    KeepClientSize(grown);
  }
}

// The radius of the window's rounded corners; 0 for square ones, as
// maximised and minimised windows have.
int FramedWindow::CornerRadius() const {
  if (!skin::frame::Owned(mode_) || IsZoomed(hwnd_) || IsIconic(hwnd_)) return 0;
  return Scaled(frame::Metrics().corner_radius);
}

HRGN FramedWindow::CornerRegion(SIZE size, int radius) {
  // The region functions leave out the right and bottom edges they are given.
  return CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, 2 * radius, 2 * radius);
}

// Rounded corners, through a window region made again for each new size,
// and only then: setting a region lays the frame out again, which comes
// back here.
void FramedWindow::ShapeCorners() {
  int radius = CornerRadius();
  if (radius == 0) {
    if (shape_.radius == 0) return;
    shape_ = {};
    SetWindowRgn(hwnd_, nullptr, TRUE);
    return;
  }
  SIZE size = WindowSize(hwnd_);
  if (size.cx == shape_.size.cx && size.cy == shape_.size.cy && radius == shape_.radius) return;
  shape_ = {size, radius};
  // The system owns the region once it is set.
  HRGN region = CornerRegion(size, radius);
  if (region && !SetWindowRgn(hwnd_, region, TRUE)) {
    DeleteObject(region);
    shape_ = {};
  }
}

}  // namespace dulib
