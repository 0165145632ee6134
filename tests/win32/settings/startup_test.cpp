// The main window's start-up applies the stored skin settings before the
// window is first shown, without creating the skin dialog's window.
#include <gtest/gtest.h>
#include <windows.h>

#include "main_window/frmMain.h"
#include "settings_files.h"
#include "skins/frmSkin.h"
#include "support/wine_test.h"
#include "toolkit/form.h"

using namespace wine_test;
using namespace settings_test;

namespace {

// The number of engine calls made when the main window is first shown.
size_t gCallsWhenShown = 0;
bool gShown = false;

LRESULT CALLBACK WatchShow(int code, WPARAM wp, LPARAM lp) {
  auto* msg = reinterpret_cast<CWPRETSTRUCT*>(lp);
  wchar_t caption[128] = {};
  GetWindowTextW(msg->hwnd, caption, 128);
  if (code == HC_ACTION && msg->message == WM_SHOWWINDOW && msg->wParam && !gShown &&
      std::wstring(caption).rfind(L"Morvanta\u00B72014 - ", 0) == 0) {
    gShown = true;
    gCallsWhenShown = EngineTrace().size();
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

TEST(StartUp, AppliesTheStoredSkinSettingsBeforeTheWindowIsShown) {
  RemoveTree(InApp(L"Skin"));
  const std::wstring skin = MakeSkin(L"蓝色");
  WriteConfig("[Options]\r\nSkinName=" + Gbk(L"蓝色") + "\r\nSkinAlpha=120\r\nSkinHue=45\r\n");
  ClearEngineTrace();

  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, WatchShow, nullptr, GetCurrentThreadId());
  auto form = toolkit::CreateForm<FrmMain>();
  form->Show();
  Pump(100);
  UnhookWindowsHookEx(hook);

  const std::vector<std::string> expected = {"SkinH_Attach", "SkinH_AttachEx|" + Gbk(skin) + "|",
                                             "SkinH_AdjustAero|120|120|10|8|0|0|0|0|0",
                                             "SkinH_AdjustHSV|45|0|0"};
  EXPECT_EQ(expected, EngineTrace());
  EXPECT_TRUE(gShown);
  EXPECT_EQ(expected.size(), gCallsWhenShown);

  // The load ran on the dialog object alone: its window was never made.
  EXPECT_EQ(nullptr, FindWindowW(nullptr, L"Morvanta\u00B72014 更换主题"));
  ASSERT_FALSE(frmSkin.IsEmpty());
  EXPECT_FALSE(frmSkin->IsLoaded());

  form->Unload();
  form.reset();
  frmSkin.Reset();
  Pump(50);
  RemoveConfig();
  RemoveTree(InApp(L"Skin"));
}
