// A top-level window with a caption, as the engine frames it: one object
// per window, made when the skinner first classifies it and owned by its
// record. It holds the frame's mode (decided when the engine starts
// following the window, after each change of skin and when the window's
// program takes its caption away or gives it back), lays the frame out
// through the pure layout, paints it, answers its messages, and owns the
// window's menu bar.
//
// Its work lies in one file per concern: framed_window.cpp (mode, skin
// changes), frame_geometry.cpp (layout, hit-testing, maximised and
// corners), frame_paint.cpp (painting) and frame_messages.cpp (messages).
#pragma once

#include <windows.h>

#include "look.h"
#include "menubar.h"
#include "skin/frame_layout.h"
#include "skin/frame_mode.h"
#include "skin/she_file.h"

namespace dulib {

// Where everything of the frame lies, in window coordinates (0, 0 is the
// window's top left corner).
struct FrameRects {
  static constexpr int kButtons = 3;
  static constexpr int kCodes[kButtons] = {HTCLOSE, HTMAXBUTTON, HTMINBUTTON};
  SIZE size = {};
  RECT client = {};
  RECT bar = {};      // menu bar; empty when there is none
  RECT caption = {};  // title band inside the borders
  RECT buttons[kButtons] = {};
};

class FramedWindow : private menubar::Host {
 public:
  explicit FramedWindow(HWND hwnd);
  FramedWindow(const FramedWindow&) = delete;
  FramedWindow& operator=(const FramedWindow&) = delete;

  skin::frame::Mode mode() const { return mode_; }
  int dpi() const { return dpi_; }

  // The window has just been followed: made now (`existing` false) or
  // made before the engine was attached. Where the engine lays the frame
  // out, a window that cannot be resized keeps the client size its program
  // gave it, and grows by the difference of the frames; so it does in
  // SkinChanged.
  void Prepare(bool existing);
  // The skin's frame sizes were `before` and are now the session's: the
  // mode is decided again and the window laid out again.
  void SkinChanged(const skin::Metrics& before);
  // The window's program changed its style: where it took the caption away
  // or gave it back, the mode is decided again.
  void StyleChanged(const STYLESTRUCT& change);
  // The messages that concern the frame. True when the message was
  // answered, with the answer in *result.
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

 private:
  // What the user is doing with the caption buttons.
  struct Buttons {
    int hover = 0;    // HTCLOSE, HTMAXBUTTON, HTMINBUTTON or 0
    int pressed = 0;  // the button held down, 0 for none
    bool pressed_inside = false;
  };
  // The window region given for rounded corners: the window size and
  // radius it was made for; empty and 0 for none.
  struct Shape {
    SIZE size = {};
    int radius = 0;
  };

  // framed_window.cpp
  void Decide();
  int Scaled(int pixels96) const;

  // menubar::Host
  RECT BarRect() override { return Rects().bar; }
  int MenuTop() override { return Rects().caption.bottom; }
  void Repaint() override { Paint(); }

  // frame_geometry.cpp
  skin::frame::Window PureWindow(LONG style, SIZE size) const;
  skin::frame::Sizes PureSizes(const skin::Metrics& metrics) const;
  skin::frame::Layout PureLayout() const;
  FrameRects Rects() const;
  FrameRects OwnRects() const;
  FrameRects PlatformRects() const;
  void PlaceButtons(FrameRects* r, LONG style, LONG ex) const;
  int ButtonAt(POINT screen) const;
  RECT OwnInsets(LONG style) const;
  LRESULT OwnHitTest(POINT screen) const;
  void OwnClientArea(RECT* rc) const;
  void FitMaximised(MINMAXINFO* info) const;
  void KeepFrameWhole(MINMAXINFO* info) const;
  void KeepMaximisedInWorkArea(WINDOWPOS* pos) const;
  SIZE NormalFrameSize(skin::frame::Mode mode, const skin::Metrics& metrics) const;
  RECT MaximisedRect() const;
  void KeepClientSize(SIZE grown);
  void KeepNormalClientSize(SIZE grown);
  void Relayout(skin::frame::Mode before_mode, const skin::Metrics& before);
  int CornerRadius() const;
  static HRGN CornerRegion(SIZE size, int radius);
  void ShapeCorners();

  // frame_paint.cpp
  look::States Band() const;
  void Paint();
  void PaintBand(HDC dc, const FrameRects& r);
  void PaintBorders(HDC screen, const FrameRects& r) const;
  void PaintCaption(HDC dc, const FrameRects& r) const;
  void DrawEdge(HDC dc, SIZE size, look::States band) const;
  void PaintBarOnly();
  bool ButtonEnabled(int code) const;
  look::States ButtonStates(int code) const;

  // frame_messages.cpp
  bool OnManagedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
  bool OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
  bool OnPaintedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
  bool OnButtonMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
  LRESULT Unpainted(UINT msg, WPARAM wp, LPARAM lp);
  void SetHover(int code);
  void Press(int code);
  void Release(POINT screen);

  HWND hwnd_;
  skin::frame::Mode mode_ = skin::frame::Mode::kPlatform;
  int dpi_ = 96;
  // Whether the window is active, read when first needed (it is not yet
  // when the object is made) and then followed from WM_NCACTIVATE.
  mutable bool active_known_ = false;
  mutable bool active_ = false;
  Buttons buttons_;
  Shape shape_;
  menubar::Bar bar_;
};

}  // namespace dulib
