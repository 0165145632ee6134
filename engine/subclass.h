// Window subclassing for the engine, with the contract of comctl32's
// SetWindowSubclass family: several procedures per window, each known by
// procedure and id, each passing a message on with CallNext.
//
// comctl32 keeps each window's chain in a window property and reads it on
// every message and every DefSubclassProc. Under Wine a property lives in
// the wineserver, so that is a round trip between processes each time: a
// skin change sent about 470 of them. Here the chains are kept in the
// engine's own table, read without leaving the process. All windows are
// the engine thread's, so the table is that thread's alone.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace dulib::subclass {

// The id of each of the engine's procedures, all here so that no two
// parts of the engine pick the same one.
enum Id : UINT_PTR {
  kSkinId = 0x5348,       // skinner: what each followed window gets
  kControlId = 0x5349,    // controls: a control's own painting
  kListOwnerId = 0x534A,  // controls: WM_DRAWITEM for the lists a window owns
  kScrollBarId = 0x534B,  // scrollbar: the engine's bar of a list or edit box
  kMenuOwnerId = 0x534C,  // menus: a control that owns an open menu
};

// Adds `proc` on top of the window's chain, or gives it new data if it is
// there already. False if the window cannot be subclassed.
bool Set(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);

// True, with its data, if `proc` with `id` is in the window's chain.
bool Get(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR* data);

// Takes `proc` out of the chain. Safe from inside `proc` itself: a message
// it is handling still goes on to the procedures below it.
void Remove(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id);

// Passes a message to the next procedure below the one handling it, and
// from the last one to the window's own procedure.
LRESULT CallNext(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace dulib::subclass
