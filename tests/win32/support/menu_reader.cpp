#include "support/menu_reader.h"

namespace wine_test {

std::vector<MenuItem> ReadMenu(HMENU menu) {
  std::vector<MenuItem> items;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t caption[256] = {};
    MENUITEMINFOW info = {sizeof info};
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = caption;
    info.cch = 256;
    if (!GetMenuItemInfoW(menu, i, TRUE, &info)) continue;
    MenuItem item;
    item.caption = caption;
    item.id = info.wID;
    item.type = info.fType;
    item.state = info.fState;
    item.submenu = info.hSubMenu;
    items.push_back(item);
  }
  return items;
}

static MenuItem Find(HMENU menu, const std::wstring& caption) {
  for (const MenuItem& item : ReadMenu(menu)) {
    if (item.caption == caption) return item;
    if (item.submenu) {
      MenuItem inner = Find(item.submenu, caption);
      if (inner.id || inner.submenu) return inner;
    }
  }
  return {};
}

MenuItem FindMenuItem(HWND window, const std::wstring& caption) {
  return Find(GetMenu(window), caption);
}

bool ChooseMenuItem(HWND window, const std::wstring& caption) {
  const MenuItem item = FindMenuItem(window, caption);
  if (!item.id || item.submenu) return false;
  // What the menu sends when an item is chosen: the id, notification 0, no control.
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(item.id, 0), 0);
  return true;
}

}  // namespace wine_test
