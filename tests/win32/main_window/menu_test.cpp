// The main window's menu bar read back from the system, the keep-on-top
// toggle and its notices, and the one skin dialog behind "更换主题".
#include <gtest/gtest.h>

#include <algorithm>

#include "main_window/frmMain.h"
#include "skins/frmSkin.h"
#include "support/menu_reader.h"
#include "support/wine_test.h"

using namespace wine_test;

namespace {

std::vector<std::wstring> Captions(const std::vector<MenuItem>& items) {
  std::vector<std::wstring> captions;
  for (const MenuItem& item : items) captions.push_back(item.IsSeparator() ? L"-" : item.caption);
  return captions;
}

bool IsTopmost(HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

RECT RectOf(HWND h) {
  RECT r = {};
  GetWindowRect(h, &r);
  return r;
}

struct WindowCount {
  std::wstring caption;
  int count = 0;
};

BOOL CALLBACK CountCaption(HWND hwnd, LPARAM lp) {
  auto* wanted = reinterpret_cast<WindowCount*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  if (pid == GetCurrentProcessId() && wanted->caption == text) ++wanted->count;
  return TRUE;
}

int WindowsCaptioned(const std::wstring& caption) {
  WindowCount wanted{caption};
  EnumWindows(CountCaption, reinterpret_cast<LPARAM>(&wanted));
  return wanted.count;
}

// The icons of the message boxes this thread opens, taken from the box's
// icon control as the box starts.
std::vector<HICON> gNoticeIcons;

BOOL CALLBACK FindIcon(HWND child, LPARAM found) {
  wchar_t cls[16] = {};
  GetClassNameW(child, cls, 16);
  if (_wcsicmp(cls, L"Static") != 0 || (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
    return TRUE;
  *reinterpret_cast<HICON*>(found) =
      reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
  return FALSE;
}

LRESULT CALLBACK WatchNotices(int code, WPARAM wp, LPARAM lp) {
  auto* msg = reinterpret_cast<CWPRETSTRUCT*>(lp);
  if (code == HC_ACTION && msg->message == WM_INITDIALOG) {
    HICON icon = nullptr;
    EnumChildWindows(msg->hwnd, FindIcon, reinterpret_cast<LPARAM>(&icon));
    gNoticeIcons.push_back(icon);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

class MenuTest : public testing::Test {
 protected:
  void SetUp() override {
    form = toolkit::CreateForm<FrmMain>();
    form->Show();
    Pump(50);
  }
  void TearDown() override {
    if (!frmSkin.IsEmpty() && frmSkin->IsLoaded()) frmSkin->Unload();
    if (form->IsLoaded()) form->Unload();
    form.reset();
    Pump(50);
  }
  void Choose(const wchar_t* caption) { ASSERT_TRUE(ChooseMenuItem(form->Hwnd(), caption)); }

  std::unique_ptr<FrmMain> form;
};

TEST_F(MenuTest, MenuBarHoldsTheTwoMenusWithTheirItemsInOrder) {
  const auto bar = ReadMenu(GetMenu(form->Hwnd()));
  ASSERT_EQ((std::vector<std::wstring>{L"常规(&N)", L"选项(&O)"}), Captions(bar));
  ASSERT_NE(nullptr, bar[0].submenu);
  ASSERT_NE(nullptr, bar[1].submenu);

  const auto normal = ReadMenu(bar[0].submenu);
  const auto options = ReadMenu(bar[1].submenu);
  EXPECT_EQ((std::vector<std::wstring>{L"返回(&B)", L"-", L"刷新(&R)", L"-", L"主页(&H)"}),
            Captions(normal));
  EXPECT_EQ((std::vector<std::wstring>{L"窗体置顶", L"-", L"更换主题"}), Captions(options));

  std::vector<MenuItem> all = bar;
  all.insert(all.end(), normal.begin(), normal.end());
  all.insert(all.end(), options.begin(), options.end());
  std::vector<UINT> commandIds;
  for (const MenuItem& item : all) {
    SCOPED_TRACE(Utf8(item.caption));
    EXPECT_EQ(0u, item.state & MFS_CHECKED);
    if (item.IsSeparator()) continue;  // the system keeps these unchoosable itself
    EXPECT_EQ(0u, item.state & (MFS_DISABLED | MFS_GRAYED));
    EXPECT_EQ(std::wstring::npos, item.caption.find(L'\t'));  // no shortcut text
    if (!item.submenu) {
      EXPECT_EQ(MFT_STRING, item.type);
      EXPECT_NE(0u, item.id);
      commandIds.push_back(item.id);
    }
  }
  std::sort(commandIds.begin(), commandIds.end());
  EXPECT_EQ(5u, commandIds.size());
  EXPECT_EQ(commandIds.end(), std::adjacent_find(commandIds.begin(), commandIds.end()));
}

TEST_F(MenuTest, KeepOnTopPinsAndReleasesTheWindowWithANoticeEachTime) {
  HWND h = form->Hwnd();
  ASSERT_FALSE(IsTopmost(h));
  const RECT before = RectOf(h);
  const MenuItem itemBefore = FindMenuItem(h, L"窗体置顶");
  MessageBoxAnswerer answerer(IDOK);
  gNoticeIcons.clear();
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, WatchNotices, nullptr, GetCurrentThreadId());

  // The command returns once the notice is closed.
  Choose(L"窗体置顶");
  EXPECT_TRUE(IsTopmost(h));
  Choose(L"窗体置顶");
  EXPECT_FALSE(IsTopmost(h));
  Choose(L"窗体置顶");
  EXPECT_TRUE(IsTopmost(h));
  UnhookWindowsHookEx(hook);

  const RECT after = RectOf(h);
  EXPECT_TRUE(EqualRect(&before, &after));
  const MenuItem itemAfter = FindMenuItem(h, L"窗体置顶");
  EXPECT_EQ(itemBefore.id, itemAfter.id);  // found by the same caption
  EXPECT_EQ(itemBefore.state, itemAfter.state);
  EXPECT_EQ(0u, itemAfter.state & MFS_CHECKED);

  const auto seen = answerer.Seen();
  ASSERT_EQ(3u, seen.size());
  ASSERT_EQ(3u, gNoticeIcons.size());
  const HICON information = LoadIconW(nullptr, IDI_INFORMATION);
  const wchar_t* texts[] = {L"窗体已至顶。", L"窗体已取消至顶。", L"窗体已至顶。"};
  for (size_t i = 0; i < seen.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(L"提示", seen[i].title);
    EXPECT_EQ(texts[i], seen[i].text);
    EXPECT_EQ(information, gNoticeIcons[i]);
    EXPECT_TRUE(seen[i].hasOk);
    EXPECT_FALSE(seen[i].hasCancel || seen[i].hasYes || seen[i].hasNo);
  }
}

TEST_F(MenuTest, ChangeThemeShowsTheOneSkinDialogObject) {
  const std::wstring caption = L"Morvanta\u00B72014 更换主题";
  FrmSkin* atStart = &frmSkin.Get();  // start-up has made it already

  Choose(L"更换主题");
  Pump(50);
  Choose(L"更换主题");
  Pump(50);

  EXPECT_EQ(atStart, &frmSkin.Get());
  EXPECT_TRUE(IsWindowVisible(frmSkin->Hwnd()));
  EXPECT_EQ(1, WindowsCaptioned(caption));
  // Showing it did not make the main window wait, nor close it.
  EXPECT_TRUE(form->IsLoaded());

  // Once closed, the next click makes a new dialog.
  frmSkin->Unload();
  Pump(50);
  EXPECT_EQ(0, WindowsCaptioned(caption));
  EXPECT_TRUE(frmSkin.IsEmpty());
  Choose(L"更换主题");
  Pump(50);
  EXPECT_FALSE(frmSkin.IsEmpty());
  EXPECT_EQ(1, WindowsCaptioned(caption));
}

}  // namespace
