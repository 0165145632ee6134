// Driving the skin dialog as a user does: through its real controls.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "skins/frmSkin.h"
#include "support/wine_test.h"

namespace skin_dialog_test {

// Each test starts with no Skin folder, no config.ini, an empty engine
// trace and no dialog, and leaves the same behind.
class SkinDialogTest : public testing::Test {
 protected:
  void SetUp() override { CleanUp(); }
  void TearDown() override { CleanUp(); }

  static void CleanUp() {
    if (!frmSkin.IsEmpty()) {
      if (frmSkin->IsLoaded()) frmSkin->Unload();
      frmSkin.Reset();
    }
    wine_test::Pump(20);
    wine_test::RemoveTree(wine_test::InApp(L"Skin"));
    DeleteFileW(wine_test::InApp(L"config.ini").c_str());
    wine_test::ClearEngineTrace();
  }

  static std::wstring SkinPath(const std::wstring& name) {
    return wine_test::InApp(L"Skin\\" + name);
  }

  static void AddSkins(std::initializer_list<std::wstring> names) {
    CreateDirectoryW(wine_test::InApp(L"Skin").c_str(), nullptr);
    for (const auto& name : names) wine_test::WriteBytes(SkinPath(name), "skin");
  }

  // Shows the dialog as the menu command does and lets it settle.
  static FrmSkin& Open() {
    frmSkin->Show();
    wine_test::Pump(30);
    return frmSkin.Get();
  }

  static std::vector<std::wstring> Items(FrmSkin& dialog) {
    std::vector<std::wstring> items;
    for (int i = 0; i < dialog.List1.ListCount(); ++i) items.push_back(dialog.List1.List(i));
    return items;
  }

  // Selects an item the way the list box reports a user's choice.
  static void Select(FrmSkin& dialog, int index) {
    HWND list = dialog.List1.Hwnd();
    SendMessageW(list, LB_SETCURSEL, index, 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  }

  static void Type(const toolkit::TextBox& box, const std::wstring& text) {
    SendMessageW(box.Hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }

  static void Click(const toolkit::Control& button) {
    SendMessageW(button.Hwnd(), BM_CLICK, 0, 0);
    wine_test::Pump(20);
  }

  // The config.ini value of a key in section Options, "<absent>" if none.
  static std::wstring Stored(const wchar_t* key) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(L"Options", key, L"<absent>", value, 256,
                             wine_test::InApp(L"config.ini").c_str());
    return value;
  }

  static std::string AttachLine(const std::wstring& skinName) {
    return "SkinH_AttachEx|" + wine_test::Gbk(SkinPath(skinName + L".she")) + "|";
  }
};

}  // namespace skin_dialog_test
