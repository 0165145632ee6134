// Where everything of a frame the engine lays out itself lies: a pure
// function of the window's size and style, the skin's frame sizes and the
// DPI, with no <windows.h>, so that every case can be tested natively with
// stated numbers. Coordinates are the window's (0, 0 its top left corner).
#pragma once

namespace skin::frame {

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const Box& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// Sizes at 96 DPI, scaled to the window's DPI. A caption button keeps a
// modern title bar's size in a caption of the skin's height, so a tall
// caption does not make the buttons into blocks.
constexpr int kButtonWidth = 46;
constexpr int kButtonHeight = 30;
constexpr int kButtonInset = 2;   // between the buttons and the caption's ends and edges
constexpr int kCornerReach = 16;  // how far a sizing corner reaches along each edge
constexpr int kIconInset = 4;     // the icon from the caption's left end; the title from it
// A task bar that hides itself is revealed by the pointer at the screen's
// edge: a maximised window leaves it this strip, in pixels at any DPI.
constexpr int kRevealStrip = 2;

// n pixels at 96 DPI at `dpi`, rounded to the nearest.
int Scale(int n, int dpi);

struct Window {
  int width = 0, height = 0;
  bool sizable = false;  // has a sizing border
  bool sysmenu = false;  // has caption buttons at all (close at least)
  bool max_box = false;  // maximise button wanted
  bool min_box = false;  // minimise button wanted
  bool tool = false;     // a tool window: close only
  bool maximised = false;
  bool minimised = false;
};

struct Sizes {
  int border = 0;  // at 96 DPI, as the skin gives them
  int caption = 0;
  int bar = 0;  // the menu bar's height in pixels, 0 for none
  int dpi = 96;
};

enum Button { kClose, kMaximise, kMinimise, kButtons };

struct Layout {
  int border = 0;  // the sizing border, in pixels (0 maximised or minimised)
  Box caption;     // the title band inside the borders
  Box bar;         // the menu bar, empty when none
  Box client;
  Box buttons[kButtons];
  Box icon;  // where the small icon goes (`icon_size` square)
};

Layout Lay(const Window& window, const Sizes& sizes, int icon_size);

// How far the client area lies inside the window on each side.
Box Insets(const Window& window, const Sizes& sizes);

// The sizing edge or corner under (x, y), or kNoEdge: only in the border
// of a sizable window that is neither maximised nor minimised. Corners
// reach kCornerReach (scaled) along each edge.
enum Edge { kNoEdge, kLeft, kRight, kTop, kTopLeft, kTopRight, kBottom, kBottomLeft, kBottomRight };
Edge EdgeAt(const Window& window, const Layout& layout, int x, int y, int dpi);

// The rectangle a maximised window fills: the work area, less the reveal
// strip on each edge where a task bar hides itself and the work area
// reaches the monitor's edge. `autohide` holds one flag per edge.
struct AutoHide {
  bool left = false, top = false, right = false, bottom = false;
};
Box MaximisedBox(const Box& work, const Box& monitor, const AutoHide& autohide);

}  // namespace skin::frame
