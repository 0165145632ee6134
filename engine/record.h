// The engine's record of a window that the skinner follows: one per
// window, made when the engine first meets it and freed with it, and kept
// in the skin procedure's data, where it is found without leaving the
// process (a window property is a wineserver round trip under Wine).
#pragma once

#include <windows.h>

namespace dulib {

// What the user is doing with a framed window's caption buttons.
struct FrameState {
  bool known = false;  // `active` has been read
  bool active = false;
  int hover = 0;    // HTCLOSE, HTMAXBUTTON, HTMINBUTTON or 0
  int pressed = 0;  // the button held down, 0 for none
  bool pressed_inside = false;
};

struct Record {
  DWORD_PTR bits = 0;  // what the skin procedure does for the window
  FrameState frame;
};

// The record of a window the skinner follows, or null.
Record* RecordOf(HWND hwnd);

}  // namespace dulib
