// What the forms of a program share: its folder, the screen, message
// boxes and the event loop.
#pragma once

#include <string>

namespace toolkit {

// The folder that holds the program file, without a trailing separator.
std::wstring AppPath();

// The whole screen, in twips.
float ScreenWidth();
float ScreenHeight();

// A modal message box; style takes the platform's MB_* values. Returns the
// button pressed (IDOK, IDYES, ...).
int MsgBox(const std::wstring& prompt, unsigned style, const std::wstring& title);

// Dispatches events until no form is loaded any more.
void RunEventLoop();

// Handles the events waiting now, then returns.
void DoEvents();

}  // namespace toolkit
