#include "look/pixels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "support/screen.h"

namespace look {

namespace {

double Linear(int channel) {
  double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
  return v[v.size() / 2];
}

std::vector<COLORREF> RowBackgrounds(const Picture& p) {
  std::vector<COLORREF> b(p.height);
  for (int y = 0; y < p.height; y++) b[y] = RowsMode(p, y, y + 1);
  return b;
}

}  // namespace

double Luminance(COLORREF c) {
  return 0.2126 * Linear(GetRValue(c)) + 0.7152 * Linear(GetGValue(c)) +
         0.0722 * Linear(GetBValue(c));
}

double Contrast(COLORREF a, COLORREF b) {
  double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Picture Look(RECT rect) {
  RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  IntersectRect(&rect, &rect, &screen);
  auto take = [&] {
    Picture p;
    p.rect = rect;
    p.width = rect.right - rect.left;
    p.height = rect.bottom - rect.top;
    engine_test::Shot shot(rect);
    p.pixels.reserve(size_t(p.width) * p.height);
    for (int y = rect.top; y < rect.bottom; y++)
      for (int x = rect.left; x < rect.right; x++) p.pixels.push_back(shot.At(x, y));
    return p;
  };
  Picture last = take();
  for (int i = 0; i < 40; i++) {
    Sleep(50);
    Picture now = take();
    if (now == last) return now;
    last = std::move(now);
  }
  return last;
}

Picture LookOnceChanged(RECT rect, COLORREF before, int timeout_ms) {
  DWORD start = GetTickCount();
  Picture p = Look(rect);
  while (Mode(p) == before && GetTickCount() - start < DWORD(timeout_ms)) {
    Sleep(50);
    p = Look(rect);
  }
  return p;
}

COLORREF RowsMode(const Picture& p, int top, int bottom) {
  std::map<COLORREF, int> count;
  for (int y = std::max(top, 0); y < std::min(bottom, p.height); y++)
    for (int x = 0; x < p.width; x++) count[p.At(x, y)]++;
  auto most = std::max_element(count.begin(), count.end(),
                               [](const auto& a, const auto& b) { return a.second < b.second; });
  return most == count.end() ? CLR_INVALID : most->first;
}

COLORREF Mode(const Picture& p) { return RowsMode(p, 0, p.height); }

std::vector<TextLine> TextLines(const Picture& p) {
  std::vector<COLORREF> bg = RowBackgrounds(p);
  auto stroke = [&](int x, int y) { return Contrast(p.At(x, y), bg[y]) >= kStroke; };
  // Rows of one face: each row's background close to the row's above. A
  // face drawn from a picture may be shaded top to bottom (a gloss, or a
  // picture stretched with the DPI), its background changing a little
  // from row to row; a drawn line or another face stands out more.
  std::vector<int> face(p.height, 0);
  for (int y = 1; y < p.height; y++)
    face[y] = face[y - 1] + (Contrast(bg[y], bg[y - 1]) >= kSameFace);
  // Per row, the columns that may hold text: [from, to).
  std::vector<int> from(p.height, 0), to(p.height, 0);
  for (int y = 0; y < p.height;) {
    int end = y;
    while (end < p.height && face[end] == face[y]) end++;
    if (end - y >= 3) {
      // Columns at either side with strokes in nearly every row of the
      // run are edges or margins of another colour, not text.
      auto full = [&](int x) {
        int n = 0;
        for (int r = y; r < end; r++) n += stroke(x, r);
        return n * 10 >= (end - y) * 9;
      };
      int left = 0, right = p.width;
      while (left < right && full(left)) left++;
      while (right > left && full(right - 1)) right--;
      for (int r = y; r < end; r++) from[r] = left, to[r] = right;
    }
    y = end;
  }
  std::vector<TextLine> lines;
  std::vector<double> row, contrasts;
  auto finish = [&] {
    if (lines.empty() || contrasts.empty()) return;
    lines.back().strokes = int(contrasts.size());
    lines.back().median = Median(contrasts);
    contrasts.clear();
  };
  bool open = false;
  for (int y = 0; y < p.height; y++) {
    row.clear();
    for (int x = from[y]; x < to[y]; x++)
      if (stroke(x, y)) row.push_back(Contrast(p.At(x, y), bg[y]));
    bool has = !row.empty();
    if (has && !open) {
      finish();
      lines.push_back({y, y + 1, bg[y]});
    }
    if (has) {
      lines.back().bottom = y + 1;
      contrasts.insert(contrasts.end(), row.begin(), row.end());
    }
    open = has;
  }
  finish();
  return lines;
}

std::vector<Rule> Rules(const Picture& p) {
  std::vector<COLORREF> bg = RowBackgrounds(p);
  std::vector<Rule> rules;
  for (int y = 1; y < p.height; y++) {
    if (bg[y] == bg[y - 1]) continue;
    int end = y;
    while (end < p.height && end - y <= 3 && bg[end] != bg[y - 1]) end++;
    if (end - y > 3 || end >= p.height || bg[end] != bg[y - 1]) continue;
    Rule rule{y, 1};
    for (int r = y; r < end; r++)
      rule.contrast = std::max(rule.contrast, Contrast(bg[r], bg[y - 1]));
    rules.push_back(rule);
    y = end;
  }
  return rules;
}

std::vector<POINT> Strokes(const Picture& p) {
  std::vector<COLORREF> bg = RowBackgrounds(p);
  std::vector<POINT> s;
  for (int y = 0; y < p.height; y++)
    for (int x = 0; x < p.width; x++)
      if (Contrast(p.At(x, y), bg[y]) >= kStroke) s.push_back({x, y});
  return s;
}

int FocusClearance(const Picture& focused, const Picture& unfocused) {
  // The focus rectangle: what turns into strokes when the focus comes.
  std::vector<POINT> focus;
  std::vector<bool> was(size_t(unfocused.width) * unfocused.height, false);
  for (POINT t : Strokes(unfocused)) was[size_t(t.y) * unfocused.width + t.x] = true;
  RECT box = {focused.width, focused.height, 0, 0};
  for (POINT f : Strokes(focused)) {
    if (was[size_t(f.y) * focused.width + f.x]) continue;
    focus.push_back(f);
    box = {std::min(box.left, f.x), std::min(box.top, f.y), std::max(box.right, f.x + 1),
           std::max(box.bottom, f.y + 1)};
  }
  // The text it surrounds: strokes within it (not the control's own
  // edges or box, nor other items of a list).
  int nearest = -1;
  for (POINT t : Strokes(unfocused)) {
    if (t.x <= box.left || t.x >= box.right - 1 || t.y <= box.top || t.y >= box.bottom - 1)
      continue;
    for (POINT f : focus) {
      int d = std::max(std::abs(f.x - t.x), std::abs(f.y - t.y)) - 1;
      if (nearest < 0 || d < nearest) nearest = d;
    }
  }
  return nearest;
}

void Save(const Picture& p, const wchar_t* path) {
  FILE* f = _wfopen(path, L"wb");
  if (!f) return;
  fprintf(f, "P6\n%d %d\n255\n", p.width, p.height);
  for (COLORREF c : p.pixels) {
    unsigned char rgb[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
    fwrite(rgb, 1, 3, f);
  }
  fclose(f);
}

}  // namespace look
