// The one place that knows how the engine's parts look. A painter works
// out which part it draws and in which state, once, and asks the look to
// draw it, for its text colour and for its font; no painter chooses a
// colour itself. Every part is drawn here from the skin's colours and the
// state rules of skin/states.h; a skin that brings pictures would draw a
// part from one in Draw, and no painter would change.
#pragma once

#include <windows.h>

#include "draw.h"
#include "skin/palette.h"

namespace dulib::look {

enum class Part {
  Surface,       // window, dialog and message box bodies, labels
  CaptionBand,   // the title bar and the borders around the client area
  CaptionClose,  // the four caption buttons
  CaptionMaximize,
  CaptionRestore,
  CaptionMinimize,
  FrameEdge,  // the outer line of a frame
  MenuBar,    // the bar behind its items
  MenuBarItem,
  MenuItem,  // an item of a drop-down menu
  MenuSeparator,
  MenuCheck,    // the tick of a checked item, in the item's rectangle
  MenuArrow,    // the arrow of an item that opens a submenu, in its column
  MenuEdge,     // the ring around a drop-down menu's items
  PushButton,   // push buttons, the default one and push-like check boxes
  CheckBox,     // the box, in its rectangle
  RadioButton,  // the circle, in its rectangle
  CheckLabel,   // the text beside a check box or radio button
  GroupBox,     // a frame's line, and its caption
  EditEdge,     // the flat edge of edit and list boxes
  Edit,         // the content of edit boxes and lists
  ListItem,
  ScrollTrack,
  ScrollThumb,
  ScrollArrowUp,
  ScrollArrowDown,
};

// States, combined.
enum State : unsigned {
  kNormal = 0,
  kHover = 1,
  kPressed = 2,
  kFocused = 4,
  kDisabled = 8,
  kDefault = 16,  // the push button Enter presses
  kChecked = 32,
  kMixed = 64,         // a three-state check box's third state
  kHighlighted = 128,  // a menu item or a selected list item
  kInactive = 256,     // a frame of a window that is not the active one
};
using States = unsigned;

// A new palette: the state colours are worked out again.
void Rebuild(const skin::Palette& palette);
// Fonts, metrics and DPI are read again (settings, DPI or theme changed).
void SettingsChanged();

// What a part fills its rectangle with in a state.
COLORREF Back(Part part, States states);
// A brush of that colour, for WM_CTLCOLOR answers and menu backgrounds;
// it lives until the palette after next, so that a menu or a control
// holding it can be given the new one first.
HBRUSH Brush(Part part, States states);
// The colour of the part's text (and of its glyphs) in a state.
COLORREF TextColor(Part part, States states);
// The font of the parts whose text the engine chooses the font of (the
// caption, menus); null for the others, which draw in their control's.
HFONT Font(Part part);
// The font to draw a control's own font with: the same font with solid
// strokes where the platform would thin them (Wine's greyscale smoothing),
// else the font itself. Lives until the next SettingsChanged.
HFONT Solid(HFONT font);

// Draws the part in its state into `rc`: its fill, lines and glyph.
void Draw(HDC dc, Part part, States states, const RECT& rc);
// The focus ring around a text drawn at `text`: dotted, a pixel clear of it.
void DrawFocus(HDC dc, Part part, States states, const RECT& text);
// What the ring DrawFocus draws around `text` leaves clear inside it.
RECT FocusInside(const RECT& text);

// Sizes the parts are drawn at, scaled to the display.
int CaptionGlyphSize();
// A list row for a font `font_height` pixels high (its cell, tmHeight):
// the row's focus ring keeps a clear pixel above and below that cell.
int ListItemHeight(int font_height);

}  // namespace dulib::look
