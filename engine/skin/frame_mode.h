// How much of a framed window's frame is the engine's: decided when the
// engine starts following the window and again after each change of skin
// or of the window's caption, from plain facts, so that no caller has to
// work it out again.
#pragma once

namespace skin::frame {

enum class Mode {
  kPlatform,  // the platform's frame, untouched: the window has no caption to draw
  kManaged,   // a window manager draws the frame; only the menu bar's paint is ours
  kPainted,   // the platform lays the frame out, the engine paints it
  kOwned,     // the engine lays the frame out (the skin's sizes) and paints it
};

struct ModeFacts {
  bool captioned = false;      // the window has a whole caption (title bar and border)
  bool manager_draws = false;  // a window manager draws this session's frames
  bool skin_sizes = false;     // the skin gives frame sizes
};

Mode DecideMode(const ModeFacts& facts);

// Whether the engine paints the frame / lays it out in a mode.
inline bool Painted(Mode mode) { return mode == Mode::kPainted || mode == Mode::kOwned; }
inline bool Owned(Mode mode) { return mode == Mode::kOwned; }

// The DPI a window is drawn at: the window's own where the system tells it
// (0 where it cannot), else the screen's, else 96.
int ChooseDpi(int window_dpi, int screen_dpi);

}  // namespace skin::frame
