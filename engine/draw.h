// Small drawing helpers shared by the look: fills, lines, the dotted focus
// ring, the tick, arrows and caption glyphs, all drawn with rectangles in
// one colour so that they stay crisp at any scale; the display's DPI, and
// the pointer's leaving of what it lights.
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

// Asks for the leave message of `flags` (TME_LEAVE, with TME_NONCLIENT for
// the frame) and tells where the pointer is now when it is still over the
// window or its children. A move can be handled after the pointer has gone
// on (a window shown under it, a busy thread); no leave comes for that
// one, so what lights up follows the pointer as it is now, not the point
// the message carries.
bool TrackLeave(HWND hwnd, DWORD flags, POINT* now);

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
