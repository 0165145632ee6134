// Under Wine with a window manager drawing the frames (Wine's "Managed"
// option, set here for this program alone), the engine must leave the
// frame to it: no second caption inside the window. The menu bar is
// still the engine's.
#include <windows.h>

#include <gtest/gtest.h>

#include "skins/SkinH.h"
#include "support/screen.h"
#include "support/wine_test.h"
#include "test_skins.h"

namespace {

using namespace engine_test;

const wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\engine_managed_frame_test.exe\\X11 Driver";

TEST(ManagedFrameTest, WindowManagerFramesAreLeftAloneAndMenusStillSkinned) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"Y"), 4);
  RegCloseKey(key);

  // The engine decides when it is first attached, after the value is set.
  ASSERT_EQ(SkinH::SkinH_Attach(), 1);
  ASSERT_EQ(SkinH::SkinH_AttachEx(WriteSkin(kLight), L""), 1);

  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"\u5e38\u89c4(&N)");
  HWND hwnd = CreateWindowExW(0, L"Static", L"Managed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                              400, 240, nullptr, bar, nullptr, nullptr);
  ASSERT_TRUE(hwnd);
  SetForegroundWindow(hwnd);
  wine_test::Pump(500);
  MENUBARINFO info = {sizeof info};
  ASSERT_TRUE(GetMenuBarInfo(hwnd, OBJID_MENU, 0, &info));
  RECT window = ScreenRectOfWindow(hwnd), client = ScreenRectOfClient(hwnd);

  // The same skin with frame sizes of its own: under a window manager they
  // change nothing, neither the rectangles nor where the bar is painted.
  wine_test::WriteBytes(wine_test::InApp(L"Skin\\Sized.she"),
                        SkinText(kLight) + "caption_height = 40\nborder_width = 6\n");
  for (const std::wstring& skin : {kLight.File(), std::wstring(L"Skin\\Sized.she")}) {
    SCOPED_TRACE(wine_test::Utf8(skin));
    ASSERT_EQ(SkinH::SkinH_AttachEx(wine_test::InApp(skin), L""), 1);
    wine_test::Pump(300);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    wine_test::Pump(300);
    RECT window_now = ScreenRectOfWindow(hwnd), client_now = ScreenRectOfClient(hwnd);
    EXPECT_TRUE(EqualRect(&window, &window_now));
    EXPECT_TRUE(EqualRect(&client, &client_now));
    // Whatever draws the frame here (a window manager, or none under
    // Xvfb), the skin's caption colours appear nowhere above the menu bar.
    RECT above = {window.left, window.top, window.right, info.rcBar.top};
    if (!IsRectEmpty(&above)) {
      Shot shot(above);
      EXPECT_EQ(shot.CountNear(kLight[caption_active], 0), 0);
      EXPECT_EQ(shot.CountNear(kLight[caption_inactive], 0), 0);
    }
    // The whole bar in the skin's menu colour, past its one item's text
    // and to its end; the item's text and nothing of the bar below it.
    Shot strip(info.rcBar);
    POINT bar_end = {info.rcBar.right - 3, info.rcBar.bottom - 3};
    EXPECT_COLOR(strip.At(bar_end.x, bar_end.y), kLight[menu]);
    int area = (info.rcBar.right - info.rcBar.left) * (info.rcBar.bottom - info.rcBar.top);
    EXPECT_GT(strip.CountNear(kLight[menu], 0), area * 9 / 10);
    RECT below = {client.left, client.top, client.right, client.top + 60};
    EXPECT_EQ(Shot(below).CountNear(kLight[menu], 0), 0) << "a bar painted in the client area";
    // A new title makes the platform draw its frame and menu bar again.
    SetWindowTextW(hwnd, L"Renamed");
    wine_test::Pump(100);
    EXPECT_COLOR(Shot(info.rcBar).At(bar_end.x, bar_end.y), kLight[menu]);
  }

  DestroyWindow(hwnd);
  RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
}

}  // namespace
