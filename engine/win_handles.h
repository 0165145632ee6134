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

}  // namespace dulib
