// The menu bar of a window whose frame the engine lays out itself (a skin
// that sets frame sizes): the platform would look for the bar where its
// own frame metrics put it, so the engine lays the bar out, draws it and
// tracks it, with the mouse and the keyboard. The program sees the same
// messages as with the platform's bar: WM_INITMENUPOPUP, WM_MENUSELECT,
// WM_COMMAND for the items it chooses, WM_SYSCOMMAND for the window menu.
#pragma once

#include <windows.h>

namespace dulib::menubar {

// Watches the keyboard of the engine's thread: the keys that would start
// the platform's own tracking of a bar (Alt, F10, Alt+letter, Alt+Space)
// are taken where the window's frame is laid out by the engine.
void Attach(DWORD thread);

// Height of the window's menu bar on one row; 0 when it has none.
int Height(HWND owner);

// The rectangle of the bar's item `pos`, in window coordinates, for a bar
// at `bar`; empty when there is no such item or it lies past the bar's end.
RECT ItemRect(HWND owner, const RECT& bar, int pos);

// Paints the bar at `bar` (window coordinates) into `dc`.
void Paint(HWND owner, HDC dc, const RECT& bar);

// A mouse button went down on the bar at `screen`: opens the item under
// it and tracks the menus until they close.
void TrackMouse(HWND owner, POINT screen);

// The window menu, opened from a click on the caption's icon.
void TrackSystemMenu(HWND owner);

// Messages of a window whose frame the engine lays out: clicks on the bar
// and the icon, hover, the keyboard's menu commands. True when handled.
bool OnMessage(HWND owner, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

}  // namespace dulib::menubar
