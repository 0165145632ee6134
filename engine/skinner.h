// The window side of the skin engine: it follows every window of the GUI
// thread that attached it and paints them with the current palette.
#pragma once

#include <windows.h>

#include <string>

#include "skin/palette.h"

namespace dulib {

// Starts skinning: existing windows of the calling thread now, later ones
// as they are created. Repeated calls change nothing. False when Windows
// refused the creation hook.
bool Attach();

// Entry points do their work only on the thread that attached the engine
// (or on any thread before that): windows can be subclassed only by the
// thread that owns them.
bool OnEngineThread();

// Replaces the skin with the one in a file; a missing, unreadable or bad
// file keeps the current skin and returns false.
bool LoadSkinFile(const std::wstring& path);

// Whether the engine follows a window: children of such a window are the
// program's controls, not those of a hosted library.
bool IsSkinned(HWND hwnd);

void SetAdjustment(const skin::Adjustment& adjustment);
void SetAeroLevel(int level);
void SetAero(bool on);

}  // namespace dulib
