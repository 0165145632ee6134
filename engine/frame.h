// The frame of top-level windows with a caption, drawn by the engine:
// borders, title bar with icon and text, and the caption buttons with
// their hover and pressed states. Where the skin gives frame sizes, the
// engine also lays the frame out (client area, hit-testing, the menu bar's
// place, rounded corners); otherwise the platform keeps the geometry.
#pragma once

#include <windows.h>

#include "skin/she_file.h"

namespace dulib::frame {

// Whether this session draws frames at all. Not where a window manager
// draws them: under Wine with managed windows (its default) Wine draws no
// frame itself, and a caption of ours would appear a second time inside
// the window manager's.
bool Drawn();

// The frame sizes of a newly attached skin. True when framed windows must
// be laid out again (FrameChanged).
bool SetMetrics(const skin::Metrics& metrics);
void FrameChanged(HWND hwnd);

// Whether the engine lays out the frames (and so the menu bars) itself.
bool OwnsGeometry(HWND hwnd);
// In window coordinates: the menu bar (empty when none) and the bottom of
// the title band.
RECT MenuBarRect(HWND hwnd);
int CaptionBottom(HWND hwnd);
// Paints the frame again now, as it is.
void Repaint(HWND hwnd);

// A framed window has just been followed: made now (`existing` false) or
// made before the engine was attached. Where the engine lays frames out,
// a window that cannot be resized keeps the client size its program gave
// it, and grows by the difference of the frames; so it does in
// FrameChanged.
void Prepare(HWND hwnd, bool existing);

// The framed window's messages that concern its frame. True when the
// message was answered, with the answer in *result.
bool OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

}  // namespace dulib::frame
