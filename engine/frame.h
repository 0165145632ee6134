// The frames of this session, as a whole: whether a window manager draws
// them, the skin's frame sizes, and what every framed window asks of the
// system alike. Each window's own frame is a FramedWindow.
#pragma once

#include <windows.h>

#include "skin/she_file.h"

namespace dulib::frame {

// Whether a window manager draws this session's frames: under Wine with
// managed windows (its default) Wine draws no frame itself, and a caption
// of ours would appear a second time inside the window manager's.
bool ManagerDraws();

// The frame sizes of a newly attached skin. True when framed windows must
// be laid out again (FramedWindow::SkinChanged, given Previous()).
bool SetMetrics(const skin::Metrics& metrics);
const skin::Metrics& Metrics();
const skin::Metrics& Previous();

// Tells the desktop window manager (Windows Vista and later) whether to
// draw the window's frame: not where the engine paints it, and as the
// window's style says again where the engine leaves it to the platform.
void SetDwmFrame(HWND hwnd, bool on);

// What a maximised window of the engine's own frame fills on a monitor:
// its work area, less a strip where a task bar hides itself, so that it
// can still be revealed.
RECT OwnMaximisedRect(HMONITOR monitor);

// The DPI the window is drawn at: its own where the system can tell
// (Windows 10 1607 and later), else the screen's.
int WindowDpi(HWND hwnd);

}  // namespace dulib::frame
