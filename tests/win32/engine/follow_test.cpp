// The skin dialog previews a skin again as its file is edited: the real
// engine and the program's event loop, a file written while the dialog is
// open, and the new colour read from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "skins/SkinH.h"
#include "skins/frmSkin.h"
#include "support/screen.h"
#include "support/wine_test.h"
#include "test_skins.h"
#include "toolkit/app.h"
#include "toolkit/watch.h"

namespace {

using namespace engine_test;
using wine_test::InApp;
using wine_test::Pump;
using wine_test::WriteBytes;

constexpr int kFollowWithinMs = 1000;
const std::string kBroken = "she = 1\nname = broken\nface = #12\n";

std::wstring Edited() { return InApp(L"Skin\\Edited.she"); }

// A pixel of the dialog's own surface, just inside its client area.
COLORREF DialogFace(HWND dialog) {
  POINT p = {3, 3};
  ClientToScreen(dialog, &p);
  return Shot({p.x, p.y, p.x + 1, p.y + 1}).At(p.x, p.y);
}

// Milliseconds until the dialog's surface shows `color`, read from the
// screen; -1 when it has not within `limit_ms`.
int MsUntil(HWND dialog, COLORREF color, int limit_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    const int elapsed = static_cast<int>(GetTickCount() - start);
    if (DialogFace(dialog) == color) return elapsed;
    if (elapsed > limit_ms) return -1;
    Sleep(20);
  }
}

// The dialog open with Edited.she picked in its list by a click.
HWND OpenOnEdited() {
  frmSkin->Show();
  SetForegroundWindow(frmSkin->Hwnd());
  Pump(200);
  HWND list = frmSkin->List1.Hwnd();
  int index = -1;
  for (int i = 0; i < frmSkin->List1.ListCount(); i++) {
    if (frmSkin->List1.List(i) == L"Edited") index = i;
  }
  RECT item = {};
  SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  POINT p = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(list, &p);
  SetCursorPos(p.x, p.y);
  for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
    Pump(60);
  }
  Pump(200);
  return frmSkin->Hwnd();
}

// One real scenario: the file edited while the program's own event loop
// waits, another thread acting as the skin maker and reading the screen.
TEST(FollowTest, AnEditedSkinIsPreviewedAgainWithTheHueKept) {
  CreateDirectoryW(InApp(L"Skin").c_str(), nullptr);
  WriteBytes(Edited(), SkinText(kLight));
  WriteBytes(InApp(L"Skin\\Other.she"), SkinText(kDark));
  SkinH::SkinH_Attach();
  HWND dialog = OpenOnEdited();
  ASSERT_EQ(frmSkin->List1.Text(), L"Edited");
  ASSERT_EQ(DialogFace(dialog), kLight[face]);
  // A hue set before stays on every preview.
  SkinH::SkinH_AdjustHSV(120, 0, 0);
  Pump(200);
  ASSERT_EQ(DialogFace(dialog), HueTurned120(kLight[face]));

  // Another skin attached meanwhile; a picture written into the edited
  // skin's folder previews the edited skin again.
  SkinH::SkinH_AttachEx(InApp(L"Skin\\Other.she"), L"");
  Pump(200);
  ASSERT_EQ(DialogFace(dialog), HueTurned120(kDark[face]));
  CreateDirectoryW(InApp(L"Skin\\Edited").c_str(), nullptr);
  WriteBytes(InApp(L"Skin\\Edited\\button.png"), "not read by a she = 1 skin");
  EXPECT_TRUE(wine_test::PumpUntil([&] { return DialogFace(dialog) == HueTurned120(kLight[face]); },
                                   kFollowWithinMs));

  std::atomic<int> to_dark{-2}, broken_kept{-2}, back_to_light{-2};
  std::thread maker([&] {
    Sleep(300);
    WriteBytes(Edited(), SkinText(kDark));
    to_dark = MsUntil(dialog, HueTurned120(kDark[face]), 3000);
    // A file that now fails keeps the last good look.
    WriteBytes(Edited(), kBroken);
    Sleep(1500);
    broken_kept = DialogFace(dialog) == HueTurned120(kDark[face]);
    WriteBytes(Edited(), SkinText(kLight));
    back_to_light = MsUntil(dialog, HueTurned120(kLight[face]), 3000);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  });
  toolkit::RunEventLoop();
  maker.join();

  EXPECT_GE(to_dark, 0);
  EXPECT_LE(to_dark, kFollowWithinMs);
  EXPECT_EQ(broken_kept, 1);
  EXPECT_GE(back_to_light, 0);
  EXPECT_LE(back_to_light, kFollowWithinMs);
  // Closed, the dialog follows nothing.
  EXPECT_TRUE(toolkit::WatchedHandles().empty());
  SkinH::SkinH_AdjustHSV(0, 0, 0);
}

}  // namespace
