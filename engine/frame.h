// The frame of top-level windows with a caption, drawn by the engine:
// borders, title bar with icon and text, and the caption buttons with
// their hover and pressed states. The platform keeps the geometry (the
// client area keeps its size); only the pixels are ours.
#pragma once

#include <windows.h>

namespace dulib::frame {

// Whether this session draws frames at all. Not where a window manager
// draws them: under Wine with managed windows (its default) Wine draws no
// frame itself, and a caption of ours would appear a second time inside
// the window manager's.
bool Drawn();

// A framed window has just been followed.
void Prepare(HWND hwnd);

// The framed window's messages that concern its frame. True when the
// message was answered, with the answer in *result.
bool OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

}  // namespace dulib::frame
