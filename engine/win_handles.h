// Owners for the few Windows handles the engine keeps or borrows.
#pragma once

#include <windows.h>

namespace dulib {

// A GDI brush, deleted with its owner.
class Brush {
 public:
  Brush() = default;
  explicit Brush(COLORREF color) : brush_(CreateSolidBrush(color)) {}
  ~Brush() {
    if (brush_) DeleteObject(brush_);
  }
  Brush(Brush&& other) noexcept : brush_(other.brush_) { other.brush_ = nullptr; }
  Brush& operator=(Brush&& other) noexcept {
    if (this != &other) {
      if (brush_) DeleteObject(brush_);
      brush_ = other.brush_;
      other.brush_ = nullptr;
    }
    return *this;
  }
  Brush(const Brush&) = delete;
  Brush& operator=(const Brush&) = delete;

  HBRUSH get() const { return brush_; }

 private:
  HBRUSH brush_ = nullptr;
};

// The whole-window DC of a window, released on scope exit.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetWindowDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// The client-area DC of a window, released on scope exit.
class ClientDc {
 public:
  explicit ClientDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~ClientDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  ClientDc(const ClientDc&) = delete;
  ClientDc& operator=(const ClientDc&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint and EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~PaintDc() { EndPaint(hwnd_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_ = {};
  HDC dc_;
};

// A GDI pen, deleted with its owner.
class Pen {
 public:
  Pen(int style, int width, COLORREF color) : pen_(CreatePen(style, width, color)) {}
  ~Pen() {
    if (pen_) DeleteObject(pen_);
  }
  Pen(const Pen&) = delete;
  Pen& operator=(const Pen&) = delete;

  HPEN get() const { return pen_; }

 private:
  HPEN pen_;
};

// An object selected into a DC until scope exit; a null object selects nothing.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~Selected() {
    if (old_) SelectObject(dc_, old_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Drawing off-screen: paint into dc(), in the coordinates of `rect` on the
// target, and the whole rectangle reaches the target in one copy at scope
// exit, so that no half-drawn state ever shows.
class OffscreenDc {
 public:
  OffscreenDc(HDC target, const RECT& rect)
      : target_(target), rect_(rect), dc_(CreateCompatibleDC(target)) {
    bitmap_ = CreateCompatibleBitmap(target, Width(), Height());
    if (dc_ && bitmap_) {
      old_ = SelectObject(dc_, bitmap_);
      SetWindowOrgEx(dc_, rect.left, rect.top, nullptr);
    }
  }
  ~OffscreenDc() {
    if (old_) {
      SetWindowOrgEx(dc_, 0, 0, nullptr);
      BitBlt(target_, rect_.left, rect_.top, Width(), Height(), dc_, 0, 0, SRCCOPY);
      SelectObject(dc_, old_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  OffscreenDc(const OffscreenDc&) = delete;
  OffscreenDc& operator=(const OffscreenDc&) = delete;

  // Falls back to the target itself when the bitmap could not be made.
  HDC get() const { return old_ ? dc_ : target_; }

 private:
  int Width() const { return rect_.right - rect_.left; }
  int Height() const { return rect_.bottom - rect_.top; }

  HDC target_;
  RECT rect_;
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// A file handle, closed on scope exit.
class File {
 public:
  explicit File(HANDLE handle) : handle_(handle) {}
  ~File() {
    if (ok()) CloseHandle(handle_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool ok() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// A GDI font, deleted with its owner.
class Font {
 public:
  Font() = default;
  explicit Font(const LOGFONTW& lf) : font_(CreateFontIndirectW(&lf)) {}
  ~Font() {
    if (font_) DeleteObject(font_);
  }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  HFONT get() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

// An off-screen bitmap with its memory DC, grown on demand and kept for
// the next paint: drawing there and copying once means no flicker.
class Canvas {
 public:
  Canvas() = default;
  ~Canvas() { Free(); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // A DC at least cx by cy pixels large, like `like`; null when out of memory.
  // It grows in steps, so that a window resized pixel by pixel does not
  // make a new bitmap every time.
  HDC Get(HDC like, int cx, int cy) {
    if (dc_ && cx <= cx_ && cy <= cy_) return dc_;
    Free();
    cx_ = (cx > 0 ? cx : 1) + kStep - 1;
    cy_ = (cy > 0 ? cy : 1) + kStep - 1;
    cx_ -= cx_ % kStep;
    cy_ -= cy_ % kStep;
    dc_ = CreateCompatibleDC(like);
    bitmap_ = CreateCompatibleBitmap(like, cx_, cy_);
    if (!dc_ || !bitmap_) {
      Free();
      return nullptr;
    }
    old_ = SelectObject(dc_, bitmap_);
    return dc_;
  }

 private:
  void Free() {
    if (dc_ && old_) SelectObject(dc_, old_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    old_ = nullptr;
    cx_ = cy_ = 0;
  }

  static constexpr int kStep = 256;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  int cx_ = 0;
  int cy_ = 0;
};

}  // namespace dulib
