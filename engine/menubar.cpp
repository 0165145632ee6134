#include "menubar.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "draw.h"
#include "frame.h"
#include "look.h"
#include "menus.h"
#include "record.h"
#include "common/win_handles.h"

namespace dulib::menubar {

namespace {

using draw::Scaled;

// Space left and right of an item's text.
int ItemPadding() { return Scaled(8); }

int TextWidth(HWND owner, int pos) {
  std::wstring text = menus::BarText(owner, pos);
  common::ClientDc screen(nullptr);
  common::Selected font(screen.get(), look::Font(look::Part::MenuBarItem));
  RECT rc = {};
  DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &rc,
            DT_SINGLELINE | DT_CALCRECT);
  return rc.right - rc.left;
}

int ItemAt(HWND owner, POINT screen) {
  RECT window;
  GetWindowRect(owner, &window);
  POINT p = {screen.x - window.left, screen.y - window.top};
  RECT bar = frame::MenuBarRect(owner);
  int count = GetMenuItemCount(GetMenu(owner));
  for (int pos = 0; pos < count; pos++) {
    RECT rc = ItemRect(owner, bar, pos);
    if (PtInRect(&rc, p)) return pos;
  }
  return -1;
}

void SetOpen(HWND owner, int pos) {
  Record* record = RecordOf(owner);
  if (!record || record->frame.menu_open == pos) return;
  record->frame.menu_open = pos;
  frame::Repaint(owner);
}

RECT ScreenRect(HWND owner, RECT rc) {
  RECT window;
  GetWindowRect(owner, &window);
  OffsetRect(&rc, window.left, window.top);
  return rc;
}

// Opens the drop-down menu of item `pos` below it and returns when it closes.
void Open(HWND owner, int pos) {
  HMENU bar = GetMenu(owner);
  HMENU menu = GetSubMenu(bar, pos);
  if (!menu) {
    // An item without a menu of its own is a command.
    UINT id = GetMenuItemID(bar, pos);
    if (id != UINT(-1)) PostMessageW(owner, WM_COMMAND, id, 0);
    return;
  }
  RECT item = ScreenRect(owner, ItemRect(owner, frame::MenuBarRect(owner), pos));
  SetOpen(owner, pos);
  TPMPARAMS params = {sizeof params, item};
  TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON, item.left,
                   item.bottom, owner, &params);
  SetOpen(owner, -1);
}

}  // namespace

int Height(HWND owner) {
  if (!GetMenu(owner)) return 0;
  common::ClientDc screen(nullptr);
  common::Selected font(screen.get(), look::Font(look::Part::MenuBarItem));
  TEXTMETRICW metrics = {};
  GetTextMetricsW(screen.get(), &metrics);
  return std::max<int>(GetSystemMetrics(SM_CYMENU), metrics.tmHeight + Scaled(6));
}

RECT ItemRect(HWND owner, const RECT& bar, int pos) {
  HMENU menu = GetMenu(owner);
  int count = menu ? GetMenuItemCount(menu) : 0;
  if (pos < 0 || pos >= count || IsRectEmpty(&bar)) return {};
  int left = bar.left;
  for (int i = 0; i < pos; i++) left += TextWidth(owner, i) + 2 * ItemPadding();
  RECT rc = {left, bar.top, left + TextWidth(owner, pos) + 2 * ItemPadding(), bar.bottom};
  if (rc.left >= bar.right) return {};
  rc.right = std::min(rc.right, bar.right);
  return rc;
}

void Paint(HWND owner, HDC dc, const RECT& bar) {
  Record* record = RecordOf(owner);
  int open = record ? record->frame.menu_open : -1;
  menus::PaintBar(
      owner, dc, bar, [&](int pos) { return ItemRect(owner, bar, pos); }, open);
}

void TrackMouse(HWND owner, POINT screen) {
  int pos = ItemAt(owner, screen);
  if (pos >= 0) Open(owner, pos);
}

void TrackSystemMenu(HWND owner) {
  HMENU menu = GetSystemMenu(owner, FALSE);
  if (!menu) return;
  RECT window;
  GetWindowRect(owner, &window);
  RECT bar = frame::MenuBarRect(owner);
  int y = window.top + (IsRectEmpty(&bar) ? frame::CaptionBottom(owner) : bar.top);
  UINT command =
      TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_LEFTBUTTON,
                       window.left + Scaled(2), y, owner, nullptr);
  if (command) PostMessageW(owner, WM_SYSCOMMAND, command, 0);
}

}  // namespace dulib::menubar
