// The engine's own vertical scroll bar for list boxes and multi-line edit
// boxes.
//
// A native scroll bar cannot be recoloured: Wine redraws it after every
// scroll, whatever was painted over it. So the list is created without
// WS_VSCROLL, and this bar lives in a strip of the list's non-client area
// that it reserves itself, is drawn in the skin's colours and follows the
// mouse (arrows, track, thumb drag) on its own. Wheel and keys still go to
// the control, which scrolls itself; the bar just follows. A list is
// scrolled with LB_SETTOPINDEX, an edit box with EM_LINESCROLL: Wine's list box ignores the
// position that SB_THUMBTRACK carries.
#pragma once

#include <windows.h>

namespace dulib::scrollbar {

// Gives a list box, created without WS_VSCROLL, the engine's bar. Called
// from the creation hook; `always` keeps the bar shown (greyed) when there
// is nothing to scroll, as LBS_DISABLENOSCROLL asks.
void FollowList(HWND list, bool always);

// The same for a multi-line edit box created without WS_VSCROLL.
void FollowEdit(HWND edit);

}  // namespace dulib::scrollbar
