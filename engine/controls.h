// The client area of the program's controls, drawn by the engine: push
// buttons, check boxes and radio buttons, frames (group boxes), the
// items of list boxes and the selected text of edit boxes. Each control keeps its own behaviour
// (clicks, keys, BM_GETCHECK, the dialog manager's default button); only the pixels are the
// engine's.
#pragma once

#include <windows.h>

#include "classify.h"

namespace dulib::controls {

// From the creation hook, before the window has had any message. A list
// box becomes owner-drawn and gets the engine's scroll bar, which needs
// changes to the creation styles, so only lists created after the engine
// was attached get them.
void FollowCreating(HWND hwnd, CREATESTRUCTW* cs, Kind kind);

// A window that existed before the engine was attached.
void FollowExisting(HWND hwnd, Kind kind);

// Whether the engine draws this control (rather than the program or
// another library).
bool IsFollowed(HWND hwnd);

}  // namespace dulib::controls
