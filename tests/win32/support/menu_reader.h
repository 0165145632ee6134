// Reads a window's menu back from the system, as the user would see it,
// and gives the menu commands as a click on an item would.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wine_test {

struct MenuItem {
  std::wstring caption;  // with its "&", as stored
  UINT id = 0;
  UINT type = 0;   // MFT_*
  UINT state = 0;  // MFS_*
  HMENU submenu = nullptr;
  bool IsSeparator() const { return (type & MFT_SEPARATOR) != 0; }
};

std::vector<MenuItem> ReadMenu(HMENU menu);

// The item with this caption anywhere in the window's menu bar; an item
// with id 0 when there is none.
MenuItem FindMenuItem(HWND window, const std::wstring& caption);

// Sends the command of the item with this caption, as choosing it does.
// Returns false when the menu has no such item.
bool ChooseMenuItem(HWND window, const std::wstring& caption);

}  // namespace wine_test
