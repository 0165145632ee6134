// The frame the engine lays out itself, worked out for stated windows and
// sizes; every expected number is written out here.
#include "skin/frame_layout.h"

#include <gtest/gtest.h>

#include <ostream>

namespace skin::frame {

std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "{" << b.left << "," << b.top << "," << b.right << "," << b.bottom << "}";
}

namespace {

constexpr int kIcon = 16;

Window Main(int width, int height) {
  Window w;
  w.width = width;
  w.height = height;
  w.sizable = w.sysmenu = w.max_box = w.min_box = true;
  return w;
}

struct LayoutCase {
  const char* name;
  Window window;
  Sizes sizes;
  Box caption, bar, client, close, maximise, minimise, icon;
};

TEST(FrameLayoutTest, PlacesCaptionBarClientButtonsAndIcon) {
  Window maximised = Main(1920, 1040);
  maximised.maximised = true;
  Window minimised = Main(160, 28);
  minimised.minimised = true;
  Window tool = Main(300, 200);
  tool.tool = true;
  tool.sizable = false;
  const LayoutCase cases[] = {
      {"96 DPI, no bar",
       Main(480, 320),
       {6, 40, 0, 96},
       {6, 6, 474, 46},
       {},
       {6, 46, 474, 314},
       {426, 11, 472, 41},
       {378, 11, 424, 41},
       {332, 11, 378, 41},
       {10, 18, 26, 34}},
      {"144 DPI with a bar",
       Main(480, 320),
       {6, 40, 20, 144},
       {9, 9, 471, 69},
       {9, 69, 471, 89},
       {9, 89, 471, 311},
       {399, 16, 468, 61},
       {327, 16, 396, 61},
       {258, 16, 327, 61},
       {15, 31, 31, 47}},
      {"maximised: no border",
       maximised,
       {6, 40, 0, 96},
       {0, 0, 1920, 40},
       {},
       {0, 40, 1920, 1040},
       {1872, 5, 1918, 35},
       {1824, 5, 1870, 35},
       {1778, 5, 1824, 35},
       {4, 12, 20, 28}},
      {"minimised: all caption, no bar",
       minimised,
       {6, 40, 19, 96},
       {0, 0, 160, 28},
       {},
       {0, 28, 160, 28},
       {112, 2, 158, 26},
       {64, 2, 110, 26},
       {18, 2, 64, 26},
       {4, 6, 20, 22}},
      {"too short for the caption",
       Main(480, 30),
       {6, 40, 0, 96},
       {6, 6, 474, 24},
       {},
       {6, 24, 474, 24},
       {444, 8, 472, 22},
       {414, 8, 442, 22},
       {386, 8, 414, 22},
       {10, 7, 26, 23}},
      {"tool window: close only",
       tool,
       {4, 24, 0, 96},
       {4, 4, 296, 28},
       {},
       {4, 28, 296, 196},
       {254, 6, 294, 26},
       {},
       {},
       {8, 8, 24, 24}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    Layout l = Lay(c.window, c.sizes, kIcon);
    EXPECT_EQ(l.caption, c.caption);
    EXPECT_EQ(l.bar.Empty() ? Box{} : l.bar, c.bar);
    EXPECT_EQ(l.client, c.client);
    EXPECT_EQ(l.buttons[kClose], c.close);
    EXPECT_EQ(l.buttons[kMaximise], c.maximise);
    EXPECT_EQ(l.buttons[kMinimise], c.minimise);
    EXPECT_EQ(l.icon, c.icon);
  }
}

TEST(FrameLayoutTest, InsetsAreTheBordersCaptionAndBar) {
  Window w = Main(480, 320);
  EXPECT_EQ(Insets(w, {6, 40, 19, 96}), (Box{6, 65, 6, 6}));
  EXPECT_EQ(Insets(w, {6, 40, 0, 144}), (Box{9, 69, 9, 9}));
  w.maximised = true;
  EXPECT_EQ(Insets(w, {6, 40, 19, 96}), (Box{0, 59, 0, 0}));
}

// Corners reach 16 pixels along each edge (24 at 144 DPI), from outside
// the border's square; the border itself is 6 (9) wide.
TEST(FrameLayoutTest, SizingEdgesAndCornersReachAlongTheEdges) {
  struct Case {
    int dpi, x, y;
    Edge edge;
  };
  const Case cases[] = {
      {96, 3, 15, kTopLeft},        {96, 3, 16, kLeft},
      {96, 15, 3, kTopLeft},        {96, 16, 3, kTop},
      {96, 464, 3, kTopRight},      {96, 463, 3, kTop},
      {96, 476, 316, kBottomRight}, {96, 3, 304, kBottomLeft},
      {96, 3, 303, kLeft},          {96, 479, 200, kRight},
      {96, 240, 5, kTop},           {96, 240, 6, kNoEdge},
      {96, 6, 100, kNoEdge},        {96, 240, 314, kBottom},
      {144, 4, 23, kTopLeft},       {144, 4, 24, kLeft},
      {144, 23, 4, kTopLeft},       {144, 8, 200, kLeft},
      {144, 9, 200, kNoEdge},
  };
  Window w = Main(480, 320);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dpi << " DPI at " << c.x << "," << c.y);
    Layout l = Lay(w, {6, 40, 0, c.dpi}, kIcon);
    EXPECT_EQ(EdgeAt(w, l, c.x, c.y, c.dpi), c.edge);
  }
  Window fixed = w;
  fixed.sizable = false;
  EXPECT_EQ(EdgeAt(fixed, Lay(fixed, {6, 40, 0, 96}, kIcon), 3, 3, 96), kNoEdge);
  Window maximised = w;
  maximised.maximised = true;
  EXPECT_EQ(EdgeAt(maximised, Lay(maximised, {6, 40, 0, 96}, kIcon), 0, 0, 96), kNoEdge);
}

// A maximised window leaves a 2-pixel strip where a task bar hides itself
// at the monitor's edge, so that the pointer can still reveal it.
TEST(FrameLayoutTest, AMaximisedWindowLeavesAHiddenTaskBarItsRevealStrip) {
  struct Case {
    const char* name;
    Box work, monitor;
    AutoHide autohide;
    Box expected;
  };
  const Box screen = {0, 0, 1920, 1080};
  const Case cases[] = {
      {"a task bar that stays", {0, 0, 1920, 1040}, screen, {}, {0, 0, 1920, 1040}},
      {"hidden at the bottom", screen, screen, {false, false, false, true}, {0, 0, 1920, 1078}},
      {"hidden on the left", screen, screen, {true, false, false, false}, {2, 0, 1920, 1080}},
      {"hidden at the top", screen, screen, {false, true, false, false}, {0, 2, 1920, 1080}},
      {"hidden at the top, another bar there",
       {0, 40, 1920, 1080},
       screen,
       {false, true, false, false},
       {0, 40, 1920, 1080}},
      {"second monitor, hidden on the right",
       {1920, 0, 3840, 1080},
       {1920, 0, 3840, 1080},
       {false, false, true, false},
       {1920, 0, 3838, 1080}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MaximisedBox(c.work, c.monitor, c.autohide), c.expected);
  }
}

}  // namespace
}  // namespace skin::frame
