// Menu bars and drop-down menus drawn by the engine. Menu bar items are
// made owner-drawn for good; the items of a drop-down menu only while it
// is open, so that the program reads its menus back as it made them.
// Every converted item keeps its text, id and state.
#pragma once

#include <windows.h>

namespace dulib::menus {

// Makes the items of the window's menu bar ours; cheap when they already are.
void PrepareBar(HWND owner);

// Paints the whole menu bar into `dc` (window coordinates) at `bar`.
void PaintBar(HWND owner, HDC dc, const RECT& bar);

// A drop-down menu of `owner` is about to open.
void PreparePopup(HMENU popup);

// The menu messages of a window that owns menus: measuring and drawing
// our items, access keys, and giving items back when a menu closes. True
// when the message was answered, with the answer in *result.
bool OnOwnerMessage(HWND owner, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

// The messages of a drop-down menu's own window (class "#32768").
bool OnPopupMessage(HWND popup, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

}  // namespace dulib::menus
