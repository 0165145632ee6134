// The dialog beside the main window: opened from its menu, at most once,
// and outliving it.
#include "main_window/frmMain.h"
#include "skin_dialog_support.h"
#include "toolkit/app.h"

using namespace wine_test;

namespace skin_dialog_test {
namespace {

// The id of the main window's menu item with this caption, 0 if none.
UINT MenuItemId(HMENU menu, const std::wstring& caption) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      if (UINT id = MenuItemId(sub, caption)) return id;
      continue;
    }
    wchar_t text[64] = {};
    GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
    if (caption == text) return GetMenuItemID(menu, i);
  }
  return 0;
}

BOOL CALLBACK CountDialog(HWND h, LPARAM count) {
  wchar_t caption[64] = {};
  GetWindowTextW(h, caption, 64);
  if (IsWindowVisible(h) && std::wstring(caption) == L"Morvanta\u00B72014 更换主题")
    ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int VisibleDialogs() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountDialog, reinterpret_cast<LPARAM>(&count));
  return count;
}

class SkinDialogWithMainWindowTest : public SkinDialogTest {
 protected:
  void SetUp() override {
    SkinDialogTest::SetUp();
    main = toolkit::CreateForm<FrmMain>();
    main->Show();
    Pump(50);
    changeTheme = MenuItemId(GetMenu(main->Hwnd()), L"更换主题");
  }
  void TearDown() override {
    if (main && main->IsLoaded()) main->Unload();
    main.reset();
    SkinDialogTest::TearDown();
  }
  void ChooseChangeTheme() {
    SendMessageW(main->Hwnd(), WM_COMMAND, MAKEWPARAM(changeTheme, 0), 0);
    Pump(30);
  }

  std::unique_ptr<FrmMain> main;
  UINT changeTheme = 0;
};

TEST_F(SkinDialogWithMainWindowTest, TheMenuCommandShowsOneDialogAtMost) {
  ASSERT_NE(0u, changeTheme);
  ChooseChangeTheme();
  ASSERT_FALSE(frmSkin.IsEmpty());
  FrmSkin* dialog = &frmSkin.Get();
  ASSERT_TRUE(dialog->IsLoaded());
  EXPECT_NE(main->Hwnd(), GetWindow(dialog->Hwnd(), GW_OWNER));
  Type(dialog->Text1, L"12");
  AddSkins({L"Blue.she"});

  ChooseChangeTheme();
  EXPECT_EQ(dialog, &frmSkin.Get());
  EXPECT_EQ(1, VisibleDialogs());
  EXPECT_EQ(L"12", dialog->Text1.Text());
  // The list is not rebuilt either.
  EXPECT_EQ(0, dialog->List1.ListCount());
  EXPECT_EQ(2, toolkit::LoadedFormCount());
}

TEST_F(SkinDialogWithMainWindowTest, ClosingTheMainWindowLeavesTheDialogOpen) {
  ChooseChangeTheme();
  HWND dialog = frmSkin->Hwnd();
  SendMessageW(main->Hwnd(), WM_CLOSE, 0, 0);
  Pump(30);
  EXPECT_FALSE(main->IsLoaded());
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(1, toolkit::LoadedFormCount());

  SendMessageW(dialog, WM_CLOSE, 0, 0);
  Pump(30);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(frmSkin.IsEmpty());
  EXPECT_EQ(0, toolkit::LoadedFormCount());
}

}  // namespace
}  // namespace skin_dialog_test
