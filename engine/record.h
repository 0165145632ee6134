// The engine's record of a window that the skinner follows: one per
// window, made when the engine first meets it and freed with it, and kept
// in the skin procedure's data, where it is found without leaving the
// process (a window property is a wineserver round trip under Wine).
#pragma once

#include <windows.h>

#include <memory>

namespace dulib {

class FramedWindow;

// The window of a drop-down menu that a control opened for itself: the
// control answers for the menu's items while the window lives.
struct BorrowedMenu {
  HWND owner = nullptr;
  HMENU menu = nullptr;
  HWND pending_owner = nullptr;  // known before the window has its menu
};

struct Record {
  ~Record();           // where FramedWindow is known
  DWORD_PTR bits = 0;  // what the skin procedure does for the window
  // A top-level window with a caption: its frame, menu bar included.
  std::unique_ptr<FramedWindow> framed;
  BorrowedMenu borrowed;
  // The engine made the window layered; one the program made layered
  // itself is never touched when the effect goes off.
  bool layered = false;
};

// The record of a window the skinner follows, or null.
Record* RecordOf(HWND hwnd);

}  // namespace dulib
