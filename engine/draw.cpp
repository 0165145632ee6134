#include "draw.h"

#include <algorithm>

#include "common/win_handles.h"

namespace dulib::draw {

namespace {

int ReadDpi() {
  common::ClientDc screen(nullptr);
  int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
}

int& TheDpi() {
  static int dpi = ReadDpi();
  return dpi;
}

}  // namespace

int Dpi() { return TheDpi(); }
void Refresh() { TheDpi() = ReadDpi(); }
int Scaled(int pixels96) { return MulDiv(pixels96, Dpi(), 96); }
int Hairline() { return std::max(1, Dpi() / 96); }

bool UnderWine() {
  static const bool wine = [] {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
  }();
  return wine;
}

bool TrackLeave(HWND hwnd, DWORD flags, POINT* now) {
  TRACKMOUSEEVENT track = {sizeof track, flags, hwnd, 0};
  TrackMouseEvent(&track);
  if (!GetCursorPos(now)) return false;
  HWND under = WindowFromPoint(*now);
  return under && (under == hwnd || IsChild(hwnd, under));
}

void Fill(HDC dc, const RECT& rc, COLORREF color) {
  COLORREF old = SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

void Box(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
  if (right <= left || bottom <= top) return;
  RECT rc = {left, top, right, bottom};
  Fill(dc, rc, color);
}

void Frame(HDC dc, const RECT& rc, COLORREF color, int width) {
  Box(dc, rc.left, rc.top, rc.right, rc.top + width, color);
  Box(dc, rc.left, rc.bottom - width, rc.right, rc.bottom, color);
  Box(dc, rc.left, rc.top, rc.left + width, rc.bottom, color);
  Box(dc, rc.right - width, rc.top, rc.right, rc.bottom, color);
}

RECT DottedBounds(const RECT& rc) {
  // An odd width and height put a dot on every corner.
  RECT dotted = rc;
  if ((rc.right - rc.left) % 2 == 0) dotted.right--;
  if ((rc.bottom - rc.top) % 2 == 0) dotted.bottom--;
  return dotted;
}

void DottedFrame(HDC dc, const RECT& rc, COLORREF color) {
  RECT d = DottedBounds(rc);
  if (d.right - d.left < 3 || d.bottom - d.top < 3) return;
  for (int x = d.left; x < d.right; x += 2) {
    SetPixelV(dc, x, d.top, color);
    SetPixelV(dc, x, d.bottom - 1, color);
  }
  for (int y = d.top + 2; y < d.bottom - 1; y += 2) {
    SetPixelV(dc, d.left, y, color);
    SetPixelV(dc, d.right - 1, y, color);
  }
}

void Tick(HDC dc, const RECT& box, COLORREF color, int stroke) {
  int size = std::min(box.right - box.left, box.bottom - box.top);
  int left = box.left + (box.right - box.left - size) / 2;
  int bottom = box.top + (box.bottom - box.top + size) / 2;
  int third = size / 3;
  for (int i = 0; i <= third; i++) {  // the short stroke, down to the right
    Box(dc, left + i, bottom - third + i - stroke - 1, left + i + 1, bottom - third + i - 1, color);
  }
  for (int i = 0; i <= size - third - 1; i++) {  // the long one, up to the right
    Box(dc, left + third + i, bottom - i - stroke - 1, left + third + i + 1, bottom - i - 1, color);
  }
}

void DrawArrow(HDC dc, const RECT& rc, Arrow arrow, int half, COLORREF color) {
  int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
  for (int i = 0; i < half; i++) {  // rows or columns narrowing to the tip
    int reach = half - i;
    switch (arrow) {
      case Arrow::Right:
        Box(dc, cx - half / 2 + i, cy - reach, cx - half / 2 + i + 1, cy + reach, color);
        break;
      case Arrow::Up:
        Box(dc, cx - reach, cy + half / 2 - i, cx + reach, cy + half / 2 - i + 1, color);
        break;
      case Arrow::Down:
        Box(dc, cx - reach, cy - half / 2 + i, cx + reach, cy - half / 2 + i + 1, color);
        break;
    }
  }
}

void CaptionGlyph(HDC dc, POINT centre, int size, Glyph glyph, COLORREF color) {
  int line = Hairline();
  int left = centre.x - size / 2, top = centre.y - size / 2;
  int right = left + size, bottom = top + size;
  switch (glyph) {
    case Glyph::Close:
      // Two diagonals of `size` pixels, exactly corner to corner.
      for (int i = 0; i < size; i++) {
        Box(dc, left + i, top + i, left + i + line, top + i + line, color);
        Box(dc, right - line - i, top + i, right - i, top + i + line, color);
      }
      break;
    case Glyph::Maximize:
      Frame(dc, {left, top, right, bottom}, color, line);
      break;
    case Glyph::Restore: {
      // Two squares, the one behind showing its top and right edges.
      int step = std::max(2, size / 5);
      Frame(dc, {left, top + step, right - step, bottom}, color, line);
      Box(dc, left + step, top, right, top + line, color);
      Box(dc, right - line, top, right, bottom - step, color);
      break;
    }
    case Glyph::Minimize:
      Box(dc, left, centre.y, right, centre.y + line, color);
      break;
  }
}

}  // namespace dulib::draw
