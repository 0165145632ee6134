// A framed window's messages that concern its frame, by mode: under a
// window manager only the bar's paint; in a frame the engine paints, the
// caption's paint, its buttons and hit-testing; in one it lays out too,
// the client area, sizing, maximising, and the menu bar's tracking.
#include <windows.h>

#include "draw.h"
#include "frame.h"
#include "framed_window.h"
#include "subclass.h"

namespace dulib {

namespace {

// Undocumented messages with which themed Windows draws the caption and
// frame itself, around WM_NCPAINT; a self-drawn frame must swallow them.
constexpr UINT kUahDrawCaption = 0xAE;
constexpr UINT kUahDrawFrame = 0xAF;
// Opens the window menu at a point on the screen (in lParam); undocumented
// too, sent by the task bar, handled by the default window procedure.
constexpr UINT kPopupSystemMenu = 0x313;

bool IsButtonCode(WPARAM code) {
  return code == HTCLOSE || code == HTMAXBUTTON || code == HTMINBUTTON;
}

POINT ScreenPoint(LPARAM lp) {
  return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

POINT ClientToScreenPoint(HWND hwnd, LPARAM lp) {
  POINT p = ScreenPoint(lp);
  ClientToScreen(hwnd, &p);
  return p;
}

}  // namespace

bool FramedWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (msg == WM_DPICHANGED) {  // moved to a monitor of another DPI
    dpi_ = frame::WindowDpi(hwnd_);
    bar_.Track(bar_.tracked(), dpi_);
  }
  if (msg == WM_STYLECHANGED && wp == WPARAM(GWL_STYLE)) {
    StyleChanged(*reinterpret_cast<const STYLESTRUCT*>(lp));
  }
  switch (mode_) {
    case skin::frame::Mode::kPlatform:
      return false;
    case skin::frame::Mode::kManaged:
      return OnManagedMessage(msg, wp, lp, result);
    case skin::frame::Mode::kOwned:
      if (OnOwnMessage(msg, wp, lp, result)) return true;
      break;
    case skin::frame::Mode::kPainted:
      bar_.FollowPointer(msg, wp);
      break;
  }
  return OnPaintedMessage(msg, wp, lp, result) || OnButtonMessage(msg, wp, lp, result);
}

// Where the window manager draws frames, the platform's frame stays, and
// only the menu bar is painted over it.
bool FramedWindow::OnManagedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  // Each of these makes the platform draw the menu bar again.
  if (msg == WM_NCPAINT || msg == WM_NCACTIVATE || msg == WM_SETTEXT || msg == WM_SETICON) {
    *result = subclass::CallNext(hwnd_, msg, wp, lp);
    PaintBarOnly();
    return true;
  }
  return false;
}

bool FramedWindow::OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (bar_.OnMessage(msg, wp, lp, result)) return true;
  switch (msg) {
    case WM_NCCALCSIZE: {
      if (IsIconic(hwnd_)) return false;  // the platform's, like a minimised caption
      RECT* rc =
          wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
      OwnClientArea(rc);
      *result = 0;
      return true;
    }
    case WM_NCHITTEST:
      *result = OwnHitTest(ScreenPoint(lp));
      return true;
    case WM_GETMINMAXINFO:
      *result = subclass::CallNext(hwnd_, msg, wp, lp);
      FitMaximised(reinterpret_cast<MINMAXINFO*>(lp));
      KeepFrameWhole(reinterpret_cast<MINMAXINFO*>(lp));
      return true;
    case WM_WINDOWPOSCHANGING:
      KeepMaximisedInWorkArea(reinterpret_cast<WINDOWPOS*>(lp));
      return false;
    case WM_WINDOWPOSCHANGED:
      if (!(reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_NOSIZE)) ShapeCorners();
      return false;
    case WM_NCLBUTTONDBLCLK:
      // A click on the bar or the icon opens its menu (the bar's messages);
      // a double click on the icon closes the window, as the platform's does.
      if (wp != HTSYSMENU) return false;
      PostMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, lp);
      *result = 0;
      return true;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
      // A right click on the caption opens the window menu where it was
      // made. The platform would decide that by its own caption's height
      // (Wine hit-tests internally there), so the engine asks for the
      // menu itself, by the message the task bar uses for it.
      if (wp != HTCAPTION && wp != HTSYSMENU) return false;
      if (msg == WM_NCRBUTTONUP) SendMessageW(hwnd_, kPopupSystemMenu, 0, lp);
      *result = 0;
      return true;
  }
  return false;
}

// What any frame the engine paints answers: the paint itself, and the
// messages with which the platform would draw its own caption over ours.
bool FramedWindow::OnPaintedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_NCPAINT:
      Paint();
      *result = 0;
      return true;
    case WM_NCACTIVATE:
      // -1 tells the platform not to draw the caption in its new state;
      // with a visual style Windows ignores it and draws its own caption,
      // so the window also looks hidden to it meanwhile.
      active_known_ = true;
      active_ = wp != FALSE;
      *result = Unpainted(msg, wp, -1);
      return true;
    case WM_SETTEXT:
    case WM_SETICON:
      *result = Unpainted(msg, wp, lp);
      return true;
    case WM_EXITMENULOOP:   // the platform marks its window menu button while that menu is open
    case WM_UPDATEUISTATE:  // access keys shown or hidden in the menu bar
      *result = subclass::CallNext(hwnd_, msg, wp, lp);
      Paint();
      return true;
    case kUahDrawCaption:
    case kUahDrawFrame:
      *result = 0;
      return true;
    case WM_NCHITTEST: {
      LRESULT hit = subclass::CallNext(hwnd_, msg, wp, lp);
      int ours = ButtonAt(ScreenPoint(lp));
      if (ours) {
        hit = ours;
      } else if (IsButtonCode(hit)) {
        hit = HTCAPTION;  // where the platform's buttons were
      }
      *result = hit;
      return true;
    }
  }
  return false;
}

// The caption buttons, hovered, pressed and released with the mouse.
bool FramedWindow::OnButtonMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_NCMOUSEMOVE: {
      POINT now;
      bool over = IsButtonCode(wp) && draw::TrackLeave(hwnd_, TME_LEAVE | TME_NONCLIENT, &now);
      SetHover(over ? ButtonAt(now) : 0);
      if (!IsButtonCode(wp)) return false;
      *result = 0;
      return true;
    }
    case WM_NCMOUSELEAVE:
      SetHover(0);
      return false;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (!IsButtonCode(wp)) return false;
      if (ButtonEnabled(static_cast<int>(wp))) Press(static_cast<int>(wp));
      *result = 0;
      return true;
    case WM_NCLBUTTONUP:
      if (!IsButtonCode(wp)) return false;
      *result = 0;
      return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
      if (!buttons_.pressed || GetCapture() != hwnd_) return false;
      POINT p = ClientToScreenPoint(hwnd_, lp);
      if (msg == WM_LBUTTONUP) {
        Release(p);
      } else if (buttons_.pressed_inside != (ButtonAt(p) == buttons_.pressed)) {
        buttons_.pressed_inside = !buttons_.pressed_inside;
        Paint();
      }
      *result = 0;
      return true;
    }
    case WM_CAPTURECHANGED:
      if (buttons_.pressed) {
        buttons_.pressed = 0;
        buttons_.pressed_inside = false;
        Paint();
      }
      return false;
  }
  return false;
}

// Runs the platform's handling of a message that would draw its own
// caption, with the window looking hidden to it, then draws ours.
LRESULT FramedWindow::Unpainted(UINT msg, WPARAM wp, LPARAM lp) {
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  bool visible = style & WS_VISIBLE;
  if (visible) SetWindowLongW(hwnd_, GWL_STYLE, style & ~WS_VISIBLE);
  LRESULT result = subclass::CallNext(hwnd_, msg, wp, lp);
  if (visible) SetWindowLongW(hwnd_, GWL_STYLE, GetWindowLongW(hwnd_, GWL_STYLE) | WS_VISIBLE);
  Paint();
  return result;
}

void FramedWindow::SetHover(int code) {
  if (code && !ButtonEnabled(code)) code = 0;  // a disabled button does not light up
  if (buttons_.hover == code) return;
  buttons_.hover = code;
  Paint();
}

// A caption button pressed: tracked with the mouse captured, so that
// releasing it elsewhere does nothing, as with the platform's buttons.
void FramedWindow::Press(int code) {
  buttons_.pressed = code;
  buttons_.pressed_inside = true;
  SetCapture(hwnd_);
  Paint();
}

void FramedWindow::Release(POINT screen) {
  int code = buttons_.pressed;
  bool inside = ButtonAt(screen) == code;
  buttons_ = {inside ? code : 0, 0, false};
  ReleaseCapture();
  Paint();
  if (!inside) return;
  WPARAM command = SC_CLOSE;
  if (code == HTMAXBUTTON) command = IsZoomed(hwnd_) ? SC_RESTORE : SC_MAXIMIZE;
  if (code == HTMINBUTTON) command = IsIconic(hwnd_) ? SC_RESTORE : SC_MINIMIZE;
  SendMessageW(hwnd_, WM_SYSCOMMAND, command, MAKELPARAM(screen.x, screen.y));
}

}  // namespace dulib
