// Scoped owners for the Windows handles that the program and its skin
// engine open: each is released exactly once, when its owner goes, so a
// step that fails half-way leaks nothing.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <string_view>
#include <utility>

namespace common {

// A kernel handle (a file, most often), closed on scope exit.
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

// A directory search: FindFirstFileW on creation, FindClose on scope exit.
class FindHandle {
 public:
  FindHandle(const std::wstring& pattern, WIN32_FIND_DATAW* data)
      : handle_(FindFirstFileW(pattern.c_str(), data)) {}
  ~FindHandle() {
    if (ok()) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;

  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool next(WIN32_FIND_DATAW* data) { return FindNextFileW(handle_, data) != FALSE; }

 private:
  HANDLE handle_;
};

// A GDI object (brush, font, bitmap, ...), deleted with its owner.
template <typename H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H object) : object_(object) {}
  ~GdiObject() { reset(); }
  GdiObject(GdiObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  H get() const { return object_; }
  void reset() {
    if (object_) DeleteObject(std::exchange(object_, nullptr));
  }

 private:
  H object_ = nullptr;
};

// A solid brush of one colour.
class Brush : public GdiObject<HBRUSH> {
 public:
  Brush() = default;
  explicit Brush(COLORREF color) : GdiObject(CreateSolidBrush(color)) {}
};

// A DC borrowed from a window, given back on scope exit. GetDC gives the
// client area (the whole screen for a null window), GetWindowDC the whole
// window with its frame.
template <HDC(WINAPI* Borrow)(HWND)>
class BorrowedDc {
 public:
  explicit BorrowedDc(HWND hwnd) : hwnd_(hwnd), dc_(Borrow(hwnd)) {}
  ~BorrowedDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  BorrowedDc(const BorrowedDc&) = delete;
  BorrowedDc& operator=(const BorrowedDc&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};
using ClientDc = BorrowedDc<GetDC>;
using WindowDc = BorrowedDc<GetWindowDC>;

// A font made from a description.
class Font : public GdiObject<HFONT> {
 public:
  Font() = default;
  explicit Font(const LOGFONTW& lf) : GdiObject(CreateFontIndirectW(&lf)) {}
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

// A pen of one style, width and colour.
class Pen : public GdiObject<HPEN> {
 public:
  Pen(int style, int width, COLORREF color) : GdiObject(CreatePen(style, width, color)) {}
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

// A bitmap to draw in off-screen before one copy to the screen. A DIB
// section lives in our own memory: a bitmap compatible with a window's DC
// is, under Wine, a pixmap on the X server, and making one costs a round
// trip (about 0.3 ms, more than painting a button). Copying either to a
// window costs the same.
inline HBITMAP CreateDrawingBitmap(int cx, int cy) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = cx;
  info.bmiHeader.biHeight = -cy;  // top-down, as a window's pixels
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// Drawing off-screen: paint into get(), in the coordinates of `rect` on the
// target, and the whole rectangle reaches the target in one copy at scope
// exit, so that no half-drawn state ever shows.
class OffscreenDc {
 public:
  OffscreenDc(HDC target, const RECT& rect)
      : target_(target), rect_(rect), dc_(CreateCompatibleDC(target)) {
    bitmap_ = CreateDrawingBitmap(Width(), Height());
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
  // make a new bitmap every time. The steps are small in height: what is
  // drawn here is a band (a title bar, a row of icons) a few dozen pixels
  // high, and a wide bitmap of full-step height cost a megabyte for nothing.
  HDC Get(HDC like, int cx, int cy) {
    if (dc_ && cx <= cx_ && cy <= cy_) return dc_;
    Free();
    cx_ = RoundUp(cx, kWidthStep);
    cy_ = RoundUp(cy, kHeightStep);
    dc_ = CreateCompatibleDC(like);
    bitmap_ = CreateDrawingBitmap(cx_, cy_);
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

  static int RoundUp(int n, int step) {
    n = (n > 0 ? n : 1) + step - 1;
    return n - n % step;
  }

  static constexpr int kWidthStep = 256;
  static constexpr int kHeightStep = 16;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  int cx_ = 0;
  int cy_ = 0;
};

// A BSTR copy of a text, freed on scope exit.
class Bstr {
 public:
  explicit Bstr(std::wstring_view text)
      : bstr_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~Bstr() { SysFreeString(bstr_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  bool ok() const { return bstr_ != nullptr; }
  BSTR get() const { return bstr_; }
  // For an argument passed by reference: the callee may free the string
  // and put another in its place; whatever is there is freed here.
  BSTR* slot() { return &bstr_; }

 private:
  BSTR bstr_;
};

// OLE for the calling thread, from creation to scope exit; needed before
// any OLE control is hosted.
class OleSession {
 public:
  OleSession() : result_(OleInitialize(nullptr)) {}
  ~OleSession() {
    if (ok()) OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

  bool ok() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

}  // namespace common
