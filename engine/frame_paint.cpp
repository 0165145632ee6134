// Painting a framed window's frame: the title band with icon, title and
// caption buttons, the menu bar, the borders and the outer edge.
#include <windows.h>

#include "framed_window.h"
#include "menus.h"
#include "common/win_handles.h"

namespace dulib {

namespace {

using look::Part;

constexpr int kTitleLength = 256;  // what a caption shows of a title, at most

common::Canvas& TheCanvas() {
  static auto* canvas = new common::Canvas;
  return *canvas;
}

// The icon the platform shows in the title bar: the window's own, else its
// class's, else the standard one, except on dialogs with a modal frame,
// which show only an icon they were given.
HICON IconOf(HWND hwnd) {
  constexpr UINT kIconTimeoutMs = 200;  // a hung window shows no icon rather than hang us
  LONG ex = GetWindowLongW(hwnd, GWL_EXSTYLE);
  if ((ex & WS_EX_TOOLWINDOW) || !(GetWindowLongW(hwnd, GWL_STYLE) & WS_SYSMENU)) return nullptr;
  for (WPARAM kind : {ICON_SMALL, ICON_BIG}) {
    DWORD_PTR icon = 0;
    if (SendMessageTimeoutW(hwnd, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, kIconTimeoutMs, &icon) &&
        icon) {
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

Part ButtonPart(HWND hwnd, int code) {
  if (code == HTCLOSE) return Part::CaptionClose;
  if (code == HTMINBUTTON) return Part::CaptionMinimize;
  return IsZoomed(hwnd) ? Part::CaptionRestore : Part::CaptionMaximize;
}

// The title, cut short with an ellipsis only where it does not fit:
// cutting measures it again and again.
void DrawTitle(HWND hwnd, HDC dc, const RECT& text, look::States band) {
  wchar_t title[kTitleLength];
  int length = GetWindowTextW(hwnd, title, kTitleLength);
  if (length <= 0) return;
  common::Selected font(dc, look::Font(Part::CaptionBand));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look::TextColor(Part::CaptionBand, band));
  SIZE extent = {};
  GetTextExtentPoint32W(dc, title, length, &extent);
  if (extent.cx <= text.right - text.left) {
    ExtTextOutW(dc, text.left, (text.top + text.bottom - extent.cy) / 2, ETO_CLIPPED, &text, title,
                length, nullptr);
  } else {
    RECT rc = text;
    DrawTextW(dc, title, length, &rc,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_LEFT);
  }
}

}  // namespace

look::States FramedWindow::Band() const {
  if (!active_known_) {
    active_known_ = true;
    active_ = GetActiveWindow() == hwnd_;
  }
  return active_ ? look::kNormal : look::kInactive;
}

// Whether a caption button does anything. Close follows the window
// menu's Close item, which a program greys or removes to refuse closing
// (a message box with Yes and No does); the other buttons are there only
// where the style asks for them.
bool FramedWindow::ButtonEnabled(int code) const {
  if (code != HTCLOSE) return true;
  HMENU menu = GetSystemMenu(hwnd_, FALSE);
  UINT close = menu ? GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) : UINT(-1);
  return close != UINT(-1) && !(close & (MF_GRAYED | MF_DISABLED));
}

look::States FramedWindow::ButtonStates(int code) const {
  look::States s = Band();
  if (!ButtonEnabled(code)) return s | look::kDisabled;
  if (buttons_.pressed == code && buttons_.pressed_inside) return s | look::kPressed;
  if (!buttons_.pressed && buttons_.hover == code) return s | look::kHover;
  return s;
}

void FramedWindow::PaintCaption(HDC dc, const FrameRects& r) const {
  const look::States band = Band();
  int inset = Scaled(skin::frame::kIconInset);
  int x = r.caption.left + inset;
  int caption_height = r.caption.bottom - r.caption.top;

  if (HICON icon = IconOf(hwnd_)) {
    int size = GetSystemMetrics(SM_CXSMICON);
    DrawIcon(dc, x, r.caption.top + (caption_height - size) / 2, icon, size,
             look::Back(Part::CaptionBand, band));
    x += size + inset;
  }

  int text_right = r.caption.right;
  for (const RECT& b : r.buttons) {
    if (!IsRectEmpty(&b) && b.left < text_right) text_right = b.left;
  }
  DrawTitle(hwnd_, dc, {x, r.caption.top, text_right - inset, r.caption.bottom}, band);

  for (int i = 0; i < FrameRects::kButtons; i++) {
    if (IsRectEmpty(&r.buttons[i])) continue;
    int code = FrameRects::kCodes[i];
    look::Draw(dc, ButtonPart(hwnd_, code), ButtonStates(code), r.buttons[i]);
  }
}

// The outer line of the frame, along the rounded corners where the window
// has them: the region's own outline, so the line is where the window ends.
void FramedWindow::DrawEdge(HDC dc, SIZE size, look::States band) const {
  if (shape_.radius) {
    common::GdiObject<HRGN> region(CornerRegion(size, shape_.radius));
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
void FramedWindow::Paint() {
  if (!skin::frame::Painted(mode_) || !IsWindowVisible(hwnd_)) return;
  FrameRects r = Rects();
  common::WindowDc target(hwnd_);
  if (!target.get()) return;
  HDC dc = TheCanvas().Get(target.get(), r.size.cx, r.client.top);
  if (!dc) return;
  PaintBand(dc, r);
  BitBlt(target.get(), 0, 0, r.size.cx, r.client.top, dc, 0, 0, SRCCOPY);
  PaintBorders(target.get(), r);
}

// The band above the client area: title band, caption, menu bar, edge.
void FramedWindow::PaintBand(HDC dc, const FrameRects& r) {
  const look::States band = Band();
  int top = r.client.top;
  if (skin::frame::Owned(mode_) && !IsRectEmpty(&r.bar)) bar_.Place(dc, r.bar);
  // The band ends at the menu bar, so that a band drawn from a picture
  // shows its bottom edge above the bar; beside the bar lie the borders.
  int band_bottom = IsRectEmpty(&r.bar) ? top : r.bar.top;
  look::Draw(dc, Part::CaptionBand, band, {0, 0, r.size.cx, band_bottom});
  if (band_bottom < top) {
    look::Draw(dc, Part::CaptionBand, band, {0, band_bottom, r.bar.left, top});
    look::Draw(dc, Part::CaptionBand, band, {r.bar.right, band_bottom, r.size.cx, top});
  }
  PaintCaption(dc, r);
  if (!IsRectEmpty(&r.bar)) {
    if (skin::frame::Owned(mode_)) {
      bar_.Paint(dc, r.bar);
    } else {
      menus::PaintBar(hwnd_, dc, r.bar, bar_.hover());
    }
  }
  DrawEdge(dc, r.size, band);  // its bottom line falls outside the copy
}

// The borders beside and below the client area, and the edge along them.
void FramedWindow::PaintBorders(HDC screen, const FrameRects& r) const {
  const look::States band = Band();
  int top = r.client.top;
  // Nothing of the frame falls on the client area, where a maximised
  // window, which has no border, would get the edge line down its sides.
  int saved_client = SaveDC(screen);
  ExcludeClipRect(screen, r.client.left, r.client.top, r.client.right, r.client.bottom);
  look::Draw(screen, Part::CaptionBand, band, {1, top, r.client.left, r.size.cy - 1});
  look::Draw(screen, Part::CaptionBand, band, {r.client.right, top, r.size.cx - 1, r.size.cy - 1});
  look::Draw(screen, Part::CaptionBand, band,
             {r.client.left, r.client.bottom, r.client.right, r.size.cy - 1});
  // The edge again, below the band only.
  int saved = SaveDC(screen);
  ExcludeClipRect(screen, 0, 0, r.size.cx, top);
  DrawEdge(screen, r.size, band);
  if (saved) RestoreDC(screen, saved);
  if (saved_client) RestoreDC(screen, saved_client);
}

// Where a window manager draws the frame, the platform paints the
// non-client area; only the menu bar is ours.
void FramedWindow::PaintBarOnly() {
  FrameRects r = PlatformRects();
  if (IsRectEmpty(&r.bar)) return;
  common::WindowDc target(hwnd_);
  if (!target.get()) return;
  menus::PaintBar(hwnd_, target.get(), r.bar);
}

}  // namespace dulib
