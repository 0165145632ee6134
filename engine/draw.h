// Small drawing helpers shared by the look: fills, lines, the dotted focus
// ring, the tick, arrows and caption glyphs, all drawn with rectangles in
// one colour so that they stay crisp at any scale; and the display's DPI.
#pragma once

#include <windows.h>

#include "skin/palette.h"

namespace dulib::draw {

// The display's DPI, read again by Refresh (settings or DPI changed).
int Dpi();
void Refresh();

// Pixels at 96 DPI to pixels on this display.
int Scaled(int pixels96);
// The width of a thin line: one pixel up to 191 DPI, as modern title bars.
int Hairline();

bool UnderWine();

inline COLORREF Ref(skin::Rgb c) { return RGB(c.r, c.g, c.b); }
inline skin::Rgb Rgb(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

void Fill(HDC dc, const RECT& rc, COLORREF color);
void Box(HDC dc, int left, int top, int right, int bottom, COLORREF color);
// A line `width` pixels wide just inside `rc`.
void Frame(HDC dc, const RECT& rc, COLORREF color, int width = 1);
// Every other pixel along the inside of `rc`, with all four corners set.
void DottedFrame(HDC dc, const RECT& rc, COLORREF color);
// The rectangle whose edge DottedFrame dots inside `rc`: `rc` less a
// column and a row where its width and height are even.
RECT DottedBounds(const RECT& rc);
// A tick filling most of `box`, strokes `stroke` pixels thick.
void Tick(HDC dc, const RECT& box, COLORREF color, int stroke);

enum class Arrow { Up, Down, Right };
// A solid triangle, `half` pixels from base middle to tip, centred in `rc`.
void DrawArrow(HDC dc, const RECT& rc, Arrow arrow, int half, COLORREF color);

enum class Glyph { Close, Maximize, Restore, Minimize };
// A caption button's glyph, `size` pixels square, centred on the point.
void CaptionGlyph(HDC dc, POINT centre, int size, Glyph glyph, COLORREF color);

}  // namespace dulib::draw
