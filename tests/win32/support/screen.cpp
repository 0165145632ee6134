#include "screen.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace engine_test {

Shot::Shot(const RECT& area) : rect_(area) {
  RECT bounds = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (!IntersectRect(&rect_, &area, &bounds)) SetRectEmpty(&rect_);
  const RECT& r = rect_;
  int w = r.right - r.left;
  int h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(mem, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap) {
    HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    pixels_.assign(p, p + size_t(w) * h);
    for (uint32_t& px : pixels_) px &= 0xFFFFFF;
    SelectObject(mem, old);
    DeleteObject(bitmap);
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

Shot Shot::Settled(const RECT& area) {
  Shot last(area);
  for (int i = 0; i < 30; i++) {
    Sleep(50);
    Shot now(area);
    if (now == last) return now;
    last = std::move(now);
  }
  return last;
}

COLORREF Shot::At(int x, int y) const {
  int w = rect_.right - rect_.left;
  int col = x - rect_.left;
  int row = y - rect_.top;
  if (col < 0 || row < 0 || col >= w || size_t(row) * w + col >= pixels_.size()) {
    return CLR_INVALID;
  }
  uint32_t p = pixels_[size_t(row) * w + col];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Shot::CountNear(COLORREF color, int tolerance) const {
  auto close_to = [tolerance](int a, int b) { return a - b <= tolerance && b - a <= tolerance; };
  int n = 0;
  for (uint32_t p : pixels_) {
    n += close_to((p >> 16) & 0xFF, GetRValue(color)) &&
         close_to((p >> 8) & 0xFF, GetGValue(color)) && close_to(p & 0xFF, GetBValue(color));
  }
  return n;
}

bool Shot::SavePpm(const std::wstring& path) const {
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return false;
  int w = rect_.right - rect_.left;
  int h = pixels_.empty() ? 0 : rect_.bottom - rect_.top;
  fprintf(f, "P6\n%d %d\n255\n", w, h);
  for (uint32_t p : pixels_) {
    unsigned char rgb[3] = {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
    fwrite(rgb, 1, 3, f);
  }
  fclose(f);
  return true;
}

RECT ScreenRectOfClient(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

RECT ScreenRectOfWindow(HWND hwnd) {
  RECT rc;
  GetWindowRect(hwnd, &rc);
  return rc;
}

DialogTemplate::DialogTemplate(DWORD style, short cx, short cy, const wchar_t* title) {
  Dword(style | DS_SETFONT);
  Dword(0);  // extended style
  count_at_ = data_.size();
  Word(0);  // number of items, counted by Add
  Word(0);
  Word(0);
  Word(cx);
  Word(cy);
  Word(0);  // no menu
  Word(0);  // the dialog class
  Text(title);
  Word(9);
  Text(L"MS Shell Dlg");
}

void DialogTemplate::Add(WORD class_atom, DWORD style, short x, short y, short cx, short cy,
                         WORD id, const wchar_t* text) {
  AlignDword();
  Dword(style | WS_CHILD | WS_VISIBLE);
  Dword(0);
  Word(x);
  Word(y);
  Word(cx);
  Word(cy);
  Word(id);
  Word(0xFFFF);
  Word(class_atom);
  Text(text);
  Word(0);  // no creation data
  data_[count_at_]++;
}

const DLGTEMPLATE* DialogTemplate::get() { return reinterpret_cast<DLGTEMPLATE*>(data_.data()); }

void DialogTemplate::Text(const wchar_t* s) {
  while (*s) Word(*s++);
  Word(0);
}

std::string Hex(COLORREF c) {
  char text[16];
  snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

namespace {

struct ClassSearch {
  const wchar_t* cls;
  HWND found;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<ClassSearch*>(lp);
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  if (lstrcmpW(cls, search->cls) == 0 && IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindVisibleOfClass(const wchar_t* cls) {
  ClassSearch search = {cls, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindMessageBox() { return FindVisibleOfClass(L"#32770"); }

}  // namespace engine_test
