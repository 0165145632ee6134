// What the tests need to look at windows: screen captures and dialogs
// built in memory.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace engine_test {

// A copy of part of the screen, as the user sees it; the part that lies
// off the screen is left out.
class Shot {
 public:
  explicit Shot(const RECT& screen_rect);
  // The screen once it has stopped changing: Wine copies a window's
  // drawing to the display a little after the program paints.
  static Shot Settled(const RECT& screen_rect);
  COLORREF At(int x, int y) const;  // screen coordinates, CLR_INVALID outside
  // Pixels within `tolerance` of `color` in each channel: text is
  // smoothed, so only the cores of its strokes have the exact colour.
  int CountNear(COLORREF color, int tolerance = 24) const;
  bool SavePpm(const std::wstring& path) const;
  const RECT& rect() const { return rect_; }
  const std::vector<uint32_t>& pixels() const { return pixels_; }  // 0x00RRGGBB, top-down
  bool operator==(const Shot& o) const {
    return EqualRect(&rect_, &o.rect_) && pixels_ == o.pixels_;
  }

 private:
  RECT rect_;
  std::vector<uint32_t> pixels_;  // 0x00RRGGBB, rows top-down
};

RECT ScreenRectOfClient(HWND hwnd);
RECT ScreenRectOfWindow(HWND hwnd);

// A colour as "#RRGGBB", so that a failed comparison reads well.
std::string Hex(COLORREF c);

// The first visible top-level window of the class in the calling thread, or null.
HWND FindVisibleOfClass(const wchar_t* cls);

// The visible message box (dialog class #32770) of the calling thread, or null.
HWND FindMessageBox();

// A dialog template put together at run time.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short cx, short cy, const wchar_t* title);
  // class_atom: 0x0080 button, 0x0081 edit, 0x0082 static, 0x0083 list box
  void Add(WORD class_atom, DWORD style, short x, short y, short cx, short cy, WORD id,
           const wchar_t* text);
  const DLGTEMPLATE* get();

 private:
  void Word(WORD w) { data_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const wchar_t* s);
  void AlignDword() {
    if (data_.size() % 2) Word(0);
  }

  std::vector<WORD> data_;
  size_t count_at_;
};

}  // namespace engine_test
