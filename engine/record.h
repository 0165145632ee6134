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
  // Where the engine tracks the menu bar: the item drawn selected (its menu
  // open, or chosen from the keyboard), the item under the mouse, and
  // whether the access keys are underlined for the keyboard.
  int menu_open = -1;
  int menu_hover = -1;
  bool menu_keys = false;
  // The window region the engine gave the window for rounded corners: the
  // window size and radius it was made for; empty and 0 for none.
  SIZE shaped = {};
  int shaped_radius = 0;
};

// The window of a drop-down menu that a control opened for itself: the
// control answers for the menu's items while the window lives.
struct BorrowedMenu {
  HWND owner = nullptr;
  HMENU menu = nullptr;
  HWND pending_owner = nullptr;  // known before the window has its menu
};

struct Record {
  DWORD_PTR bits = 0;  // what the skin procedure does for the window
  FrameState frame;
  BorrowedMenu borrowed;
  // The engine made the window layered; one the program made layered
  // itself is never touched when the effect goes off.
  bool layered = false;
};

// The record of a window the skinner follows, or null.
Record* RecordOf(HWND hwnd);

}  // namespace dulib
