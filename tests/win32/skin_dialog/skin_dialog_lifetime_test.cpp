// The dialog beside the main window: opened from its menu, at most once,
// above it while it is pinned, and outliving it.
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

bool IsTopmost(HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Whether `lower` lies below `upper` among the windows of the screen.
bool IsBelow(HWND lower, HWND upper) {
  for (HWND h = GetWindow(upper, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
    if (h == lower) return true;
  return false;
}

POINT CentreOf(HWND h) {
  RECT r = {};
  GetWindowRect(h, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A real click of the left mouse button at a point of the screen: the
// system gives it to whatever window the user would hit there.
void ClickAt(POINT p) {
  SetCursorPos(p.x, p.y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
}

class SkinDialogWithMainWindowTest : public SkinDialogTest {
 protected:
  void SetUp() override {
    SkinDialogTest::SetUp();
    main = toolkit::CreateForm<FrmMain>();
    main->Show();
    Pump(50);
    changeTheme = MenuItemId(GetMenu(main->Hwnd()), L"更换主题");
    keepOnTop = MenuItemId(GetMenu(main->Hwnd()), L"窗体置顶");
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

  // Pins or releases the main window; the notice is answered.
  void ChooseKeepOnTop() {
    SendMessageW(main->Hwnd(), WM_COMMAND, MAKEWPARAM(keepOnTop, 0), 0);
    Pump(30);
  }

  std::unique_ptr<FrmMain> main;
  UINT changeTheme = 0, keepOnTop = 0;
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

// While the main window is pinned, the dialog it opens is above it: it can
// be seen, and a real click on Save reaches it.
TEST_F(SkinDialogWithMainWindowTest, OpensAboveThePinnedMainWindowAndTakesClicks) {
  MessageBoxAnswerer answerer(IDOK);
  ChooseKeepOnTop();
  ASSERT_TRUE(IsTopmost(main->Hwnd()));
  ChooseChangeTheme();
  Pump(20);

  FrmSkin& dialog = frmSkin.Get();
  ASSERT_TRUE(IsWindowVisible(dialog.Hwnd()));
  EXPECT_TRUE(IsTopmost(dialog.Hwnd()));
  EXPECT_TRUE(IsBelow(main->Hwnd(), dialog.Hwnd()));
  EXPECT_NE(main->Hwnd(), GetWindow(dialog.Hwnd(), GW_OWNER));
  const POINT save = CentreOf(dialog.Command2.Hwnd());
  EXPECT_EQ(dialog.Command2.Hwnd(), WindowFromPoint(save));

  // Save closes the dialog: the click has arrived.
  ClearEngineTrace();
  ClickAt(save);
  EXPECT_TRUE(PumpUntil([] { return frmSkin.IsEmpty(); }));
  EXPECT_EQ((std::vector<std::string>{"SkinH_AdjustHSV|0|0|0"}), EngineTrace());
}

// A dialog already open follows the main window onto the top and back, and
// the notices show above both. The command that shows the dialog brings it
// above the pinned main window again; its leave question shows above both;
// closing the pinned main window still leaves the dialog open, no longer
// kept above every other program.
TEST_F(SkinDialogWithMainWindowTest, FollowsPinAndReleaseWhileOpen) {
  ChooseChangeTheme();
  const HWND dialog = frmSkin->Hwnd();
  ASSERT_FALSE(IsTopmost(dialog));
  {
    MessageBoxAnswerer answerer(IDOK);
    ChooseKeepOnTop();
    EXPECT_TRUE(IsTopmost(dialog));
    ChooseKeepOnTop();
    EXPECT_FALSE(IsTopmost(main->Hwnd()));
    EXPECT_FALSE(IsTopmost(dialog));
    ChooseKeepOnTop();
    EXPECT_TRUE(IsTopmost(dialog));
    const auto notices = answerer.Seen();
    ASSERT_EQ(3u, notices.size());
    for (const SeenMessageBox& notice : notices) EXPECT_TRUE(notice.onTop) << Utf8(notice.text);
  }
  ChooseChangeTheme();
  EXPECT_TRUE(IsBelow(main->Hwnd(), dialog));
  EXPECT_EQ(dialog, GetAncestor(WindowFromPoint(CentreOf(dialog)), GA_ROOT));

  MessageBoxAnswerer answerer(IDNO);
  Type(frmSkin->Text1, L"30");
  ClickAt(CentreOf(frmSkin->Command1.Hwnd()));
  ASSERT_TRUE(PumpUntil([&] { return !answerer.Seen().empty(); }));
  Pump(30);
  const SeenMessageBox question = answerer.Seen()[0];
  EXPECT_EQ(L"设置未保存，现在离去？", question.text);
  EXPECT_TRUE(question.onTop);
  EXPECT_TRUE(IsWindowVisible(dialog));

  SendMessageW(main->Hwnd(), WM_CLOSE, 0, 0);
  Pump(30);
  EXPECT_FALSE(main->IsLoaded());
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_FALSE(IsTopmost(dialog));
}

// A real click on the page of the pinned main window activates it, and the
// window activated last comes first in the top-most layer: the dialog must
// stay above it all the same, while the activation and the keyboard stay
// where the user clicked. Then a click on the dialog and one on the page
// again, to see that it holds each time.
TEST_F(SkinDialogWithMainWindowTest, StaysAboveThePinnedMainWindowWhenThePageIsClicked) {
  {
    MessageBoxAnswerer answerer(IDOK);
    ChooseKeepOnTop();
  }
  ASSERT_TRUE(IsTopmost(main->Hwnd()));
  ChooseChangeTheme();
  const HWND dialog = frmSkin->Hwnd();
  const HWND page = main->BrowserWindow();
  ASSERT_NE(nullptr, page);
  RECT pageRect = {};
  GetWindowRect(page, &pageRect);
  // Well inside the page, away from the dialog in the middle of the screen.
  const POINT onPage = {pageRect.left + 40, pageRect.top + 40};
  auto inPage = [page](HWND h) { return h && (h == page || IsChild(page, h)); };
  ASSERT_TRUE(inPage(WindowFromPoint(onPage)));

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ClickAt(onPage);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == main->Hwnd(); }))
        << "the click did not reach the main window";
    // Longer than any settling the system does after an activation.
    Pump(800);
    EXPECT_TRUE(IsBelow(main->Hwnd(), dialog));
    EXPECT_EQ(dialog, GetAncestor(WindowFromPoint(CentreOf(dialog)), GA_ROOT));
    EXPECT_EQ(main->Hwnd(), GetForegroundWindow());
    EXPECT_TRUE(inPage(GetFocus())) << "focus " << GetFocus();
    EXPECT_TRUE(IsTopmost(main->Hwnd()));
    EXPECT_TRUE(IsTopmost(dialog));

    ClickAt(CentreOf(frmSkin->Text1.Hwnd()));
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == dialog; }));
    Pump(800);
    EXPECT_EQ(frmSkin->Text1.Hwnd(), GetFocus());
    EXPECT_TRUE(IsBelow(main->Hwnd(), dialog));
  }
}

}  // namespace
}  // namespace skin_dialog_test
