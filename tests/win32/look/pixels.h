// Reading what a user sees from screenshots: colours compared with the
// WCAG contrast formula, written out here so that no skin engine code has
// a say in what is measured.
#pragma once

#include <windows.h>

#include <vector>

namespace look {

// WCAG 2 relative luminance of an sRGB colour, and the contrast ratio of
// two colours (1 to 21).
double Luminance(COLORREF c);
double Contrast(COLORREF a, COLORREF b);

// A pixel this far from its background belongs to a stroke.
constexpr double kStroke = 1.5;

// Part of the screen, as the user sees it.
struct Picture {
  RECT rect = {};  // where on the screen
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;  // rows top-down
  COLORREF At(int x, int y) const { return pixels[size_t(y) * width + x]; }
  bool operator==(const Picture& o) const { return pixels == o.pixels; }
};

// The screen in `rect` (kept on the screen) once two looks 50 ms apart agree:
// Wine copies a window's drawing to the display a little after it paints.
Picture Look(RECT rect);
// The same once the most common colour is no longer `before`, or after
// `timeout_ms`: a hover or press repaints a moment after the pointer moves.
Picture LookOnceChanged(RECT rect, COLORREF before, int timeout_ms = 2000);

// The most common colour of the picture, or of its rows [top, bottom).
COLORREF Mode(const Picture& p);
COLORREF RowsMode(const Picture& p, int top, int bottom);

// Neighbouring rows whose backgrounds differ by less than this are one face.
constexpr double kSameFace = 1.1;

// One line of text: neighbouring rows with strokes.
struct TextLine {
  int top = 0, bottom = 0;  // rows [top, bottom)
  COLORREF background = 0;  // of its first row
  int strokes = 0;
  double median = 0;  // the strokes' median contrast against the background
};
// The text lines of a crop. A row's background is its most common colour,
// and each stroke is measured against its row's; rows form one face while
// each row's background stays within kSameFace of the row above (a face
// shaded top to bottom); a face less than 3 rows high is a drawn line (a
// separator, an edge) and no text; rows with strokes next to each other
// are one line, even across a step between two faces (a glossy band); at either side of a run of
// rows on one background, columns with strokes in nearly every row of it
// are an edge or a margin in another colour (a highlight that stops short
// of the menu's sides), no text.
std::vector<TextLine> TextLines(const Picture& p);

// Horizontal rules (separators): runs of at most 3 rows whose most common
// colour differs from the rows just above and below, which agree.
struct Rule {
  int top = 0;
  double contrast = 0;  // the strongest of its rows against the rows around
};
std::vector<Rule> Rules(const Picture& p);

// Stroke pixels of the picture, each against its row's background.
std::vector<POINT> Strokes(const Picture& p);

// How many clear pixels lie between a focus rectangle and the text it
// surrounds: `focused` and `unfocused` show the same control with and
// without its focus rectangle. -1 when no focus rectangle with text
// inside shows.
int FocusClearance(const Picture& focused, const Picture& unfocused);

// Saves the picture (PPM) for a look by eye.
void Save(const Picture& p, const wchar_t* path);

}  // namespace look
