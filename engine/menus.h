// Menu bars and drop-down menus drawn by the engine. Menu bar items are
// made owner-drawn for good; the items of a drop-down menu only while it
// is open, so that the program reads its menus back as it made them.
// Every converted item keeps its text, id and state.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace dulib::menus {

// Makes the items of the window's menu bar ours; cheap when they already are.
void PrepareBar(HWND owner);

// Paints the whole menu bar into `dc` (window coordinates) at `bar`, its
// items where the platform laid them out; `hot` is the item under the
// pointer, or -1.
void PaintBar(HWND owner, HDC dc, const RECT& bar, int hot = -1);
// The same for a bar the engine lays out: item `pos` at `item_rect(pos)`
// (skipped when empty); `lit` is the item drawn selected (its menu open),
// or -1; `hot` the item under the pointer, or -1; `keys` underlines the
// access keys even where the window hides them.
void PaintBar(HWND owner, HDC dc, const RECT& bar, const std::function<RECT(int)>& item_rect,
              int lit, int hot, bool keys);

// The text of the bar's item `pos`, access-key '&' included.
std::wstring BarText(HWND owner, int pos);

// The access key of an item's text: the character after a single '&', or 0.
wchar_t AccessKey(const std::wstring& text);

// A drop-down menu of `owner` is about to open.
void PreparePopup(HMENU popup);

// The window of a drop-down menu has just been made for an owner that is
// not a framed window of ours (a control's own menu): its items become
// ours until the window goes.
void AdoptPopup(HWND popup, HWND owner);

// The window of such a menu is about to show for the first time: a menu
// that was not yet there when its window was made is taken now.
void AdoptPendingPopup(HWND popup);

// The menu messages of a window that owns menus: measuring and drawing
// our items, access keys, and giving items back when a menu closes. True
// when the message was answered, with the answer in *result.
bool OnOwnerMessage(HWND owner, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

// The messages of a drop-down menu's own window (class "#32768").
bool OnPopupMessage(HWND popup, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

}  // namespace dulib::menus
