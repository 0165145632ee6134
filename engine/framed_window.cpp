#include "framed_window.h"

#include "frame.h"
#include "menus.h"

namespace dulib {

using skin::frame::Mode;

FramedWindow::FramedWindow(HWND hwnd) : hwnd_(hwnd), bar_(hwnd, *this) { Decide(); }

// The mode follows from the window's style and this session's frames; the
// DPI is read with it, and the bar is told whether it is ours to track.
void FramedWindow::Decide() {
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  mode_ = skin::frame::DecideMode(
      {(style & WS_CAPTION) == WS_CAPTION, frame::ManagerDraws(), frame::Metrics().given});
  dpi_ = frame::WindowDpi(hwnd_);
  bar_.Track(skin::frame::Owned(mode_), dpi_);
}

int FramedWindow::Scaled(int pixels96) const { return skin::frame::Scale(pixels96, dpi_); }

void FramedWindow::Prepare(bool existing) {
  if (!skin::frame::Painted(mode_)) return;
  frame::SetDwmFrame(hwnd_, false);
  if (!skin::frame::Owned(mode_)) return;
  if (existing) {
    Relayout(Mode::kPainted, skin::Metrics{});  // laid out by the platform until now
    return;
  }
  // A new window was given the outer size that holds the client size its
  // program asked for in the platform's frame.
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  RECT platform = {};
  AdjustWindowRectEx(&platform, style & ~(WS_MAXIMIZE | WS_MINIMIZE), GetMenu(hwnd_) != nullptr,
                     GetWindowLongW(hwnd_, GWL_EXSTYLE));
  RECT window, client;
  GetWindowRect(hwnd_, &window);
  GetClientRect(hwnd_, &client);
  SIZE own = {window.right - window.left - client.right,
              window.bottom - window.top - client.bottom};
  ShapeCorners();
  KeepClientSize(
      {own.cx - (platform.right - platform.left), own.cy - (platform.bottom - platform.top)});
}

void FramedWindow::SkinChanged(const skin::Metrics& before) {
  Mode before_mode = mode_;
  Decide();
  Relayout(before_mode, before);
}

// The window keeps its rectangle, as in the platform's frame; the frame
// follows at the next layout, which the program asks for with
// SWP_FRAMECHANGED as it must for the platform's frame too.
void FramedWindow::StyleChanged(const STYLESTRUCT& change) {
  if (((change.styleOld ^ change.styleNew) & WS_CAPTION) == 0) return;
  const Mode before = mode_;
  Decide();
  if (mode_ == before) return;
  frame::SetDwmFrame(hwnd_, !skin::frame::Painted(mode_));
  ShapeCorners();  // no round corners outside the engine's own frame
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

}  // namespace dulib
