// The real Morvanta.exe, started in a folder and seen from outside as a
// user sees it: its windows found by title and class, and its menus closed
// with the keyboard.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wine_test {

std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd);
RECT RectOf(HWND hwnd);  // the window's rectangle on the screen

// The first visible top-level window of process `pid` that `match` accepts,
// waiting up to `timeout_ms` for it to show.
HWND FindTopLevel(DWORD pid, std::function<bool(HWND)> match, int timeout_ms = 5000);
HWND FindChild(HWND parent, std::function<bool(HWND)> match);

// The window with the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window);
// A key pressed and released, as the keyboard sends it to the foreground window.
void PressKey(WORD key);

// The shipped skins' names, sorted, from the copies of their files that the
// test's folder holds in "shipped".
std::vector<std::wstring> ShippedSkins();

// The program's commands, as its menu sends them.
constexpr WORD kKeepOnTopCommand = 104;
constexpr WORD kChangeSkinCommand = 105;

class Program {
 public:
  // Starts folder\Morvanta.exe and waits for its main window.
  explicit Program(const std::wstring& folder);
  ~Program();  // closes its windows, as a user would
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  DWORD pid() const { return pi_.dwProcessId; }
  HWND main() const { return main_; }

  // Waits until the program has handled everything sent to it so far.
  void Sync() const;

  HWND Dialog(int timeout_ms = 5000) const;            // the skin dialog
  HWND MessageBoxWindow(int timeout_ms = 5000) const;  // a dialog with text in static 0xFFFF
  HWND DropDown(int timeout_ms = 5000) const;          // an open menu
  // Escape twice, as a user leaves a menu and then the menu bar; true once
  // no drop-down is open any more.
  bool CloseMenus() const;

 private:
  PROCESS_INFORMATION pi_ = {};
  bool started_ = false;
  HWND main_ = nullptr;
};

}  // namespace wine_test
