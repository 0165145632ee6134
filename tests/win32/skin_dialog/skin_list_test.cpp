// The skin list: what the Skin folder gives, and the preview on selection.
#include <algorithm>

#include "skin_dialog_support.h"
#include "common/ansi.h"

using namespace wine_test;

namespace skin_dialog_test {
namespace {

using Names = std::vector<std::wstring>;

Names Sorted(Names names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(SkinDialogTest, ListsOnlyNormalFilesEndingInLowerCaseShe) {
  AddSkins({L"Blue.she", L"red.SHE", L"Green.she.bak", L"Grey.she"});
  SetFileAttributesW(SkinPath(L"Grey.she").c_str(), FILE_ATTRIBUTE_HIDDEN);
  CreateDirectoryW(SkinPath(L"Old.she").c_str(), nullptr);

  FrmSkin& d = Open();
  EXPECT_EQ(Names({L"Blue"}), Items(d));
  EXPECT_EQ(-1, d.List1.ListIndex());
  EXPECT_TRUE(EngineTrace().empty());
}

TEST_F(SkinDialogTest, AFileNamedJustSheGivesAnEmptyEntryThatPreviewsIt) {
  AddSkins({L".she", L"Blue.she"});
  FrmSkin& d = Open();
  const Names items = Items(d);
  EXPECT_EQ(Names({L"", L"Blue"}), Sorted(items));

  const int empty = static_cast<int>(std::find(items.begin(), items.end(), L"") - items.begin());
  Select(d, empty);
  EXPECT_EQ(std::vector<std::string>({AttachLine(L"")}), EngineTrace());
}

TEST_F(SkinDialogTest, ChineseNamesPreviewWithTheirPathInCodePage936) {
  AddSkins({L"蓝色经典.she"});
  FrmSkin& d = Open();
  ASSERT_EQ(Names({L"蓝色经典"}), Items(d));
  Select(d, 0);
  const auto trace = EngineTrace();
  ASSERT_EQ(1u, trace.size());
  EXPECT_EQ(AttachLine(L"蓝色经典"), trace[0]);
  // 蓝色 in GBK.
  EXPECT_NE(std::string::npos, trace[0].find("\xC0\xB6\xC9\xAB"));
}

TEST_F(SkinDialogTest, NamesTheAnsiCodePageCannotHoldAreLeftOut) {
  const std::wstring thai = L"\u0E01\u0E02";
  ASSERT_FALSE(common::FitsAnsi(thai));
  AddSkins({thai + L".she", L"Blue.she", L"\u00E9t\u00E9.she"});
  FrmSkin& d = Open();
  // é is in code page 936 (a pinyin letter); Thai is not.
  EXPECT_EQ(Names({L"Blue", L"\u00E9t\u00E9"}), Sorted(Items(d)));
}

TEST_F(SkinDialogTest, KeyboardAndMouseSelectionsPreviewTheSkin) {
  AddSkins({L"Blue.she", L"Green.she", L"Red.she"});
  FrmSkin& d = Open();
  const Names items = Items(d);
  ASSERT_EQ(3u, items.size());
  HWND list = d.List1.Hwnd();
  ASSERT_EQ(list, GetFocus());

  PostMessageW(list, WM_KEYDOWN, VK_HOME, 1);
  Pump(30);
  PostMessageW(list, WM_KEYDOWN, VK_END, 1);
  Pump(30);
  RECT item = {};
  SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  Pump(50);

  EXPECT_EQ(
      std::vector<std::string>({AttachLine(items[0]), AttachLine(items[2]), AttachLine(items[1])}),
      EngineTrace());
  EXPECT_EQ(items[1], d.List1.Text());
}

TEST_F(SkinDialogTest, ASkinDeletedAfterListingIsStillPassedOnQuietly) {
  AddSkins({L"Blue.she"});
  FrmSkin& d = Open();
  ASSERT_EQ(1, d.List1.ListCount());
  DeleteFileW(SkinPath(L"Blue.she").c_str());
  MessageBoxAnswerer answerer(IDOK);
  Select(d, 0);
  Pump(100);
  EXPECT_EQ(std::vector<std::string>({AttachLine(L"Blue")}), EngineTrace());
  EXPECT_TRUE(answerer.Seen().empty());
  EXPECT_TRUE(d.IsLoaded());
}

TEST_F(SkinDialogTest, MissingSkinFolderGivesAnEmptyListAndSaveStoresNoName) {
  MessageBoxAnswerer answerer(IDOK);
  FrmSkin& d = Open();
  EXPECT_EQ(0, d.List1.ListCount());
  // A selection change with nothing in the list previews nothing.
  Select(d, 0);
  EXPECT_TRUE(EngineTrace().empty());

  Click(d.Command2);
  EXPECT_TRUE(frmSkin.IsEmpty());
  EXPECT_EQ(std::vector<std::string>({"SkinH_AdjustHSV|0|0|0"}), EngineTrace());
  EXPECT_EQ(L"<absent>", Stored(L"SkinName"));
  Pump(100);
  EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(SkinDialogTest, ThousandsOfFilesAreAllListed) {
  CreateDirectoryW(InApp(L"Skin").c_str(), nullptr);
  for (int i = 0; i < 3000; ++i) {
    const std::wstring name = L"skin" + std::to_wstring(i);
    WriteBytes(SkinPath(name + (i % 3 == 0 ? L".txt" : L".she")), "");
  }
  FrmSkin& d = Open();
  EXPECT_EQ(2000, d.List1.ListCount());
  Select(d, 1999);
  const auto trace = EngineTrace();
  ASSERT_EQ(1u, trace.size());
  EXPECT_EQ(AttachLine(d.List1.List(1999)), trace[0]);
}

}  // namespace
}  // namespace skin_dialog_test
