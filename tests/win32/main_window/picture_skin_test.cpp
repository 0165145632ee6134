// A picture skin changes pixels only. The real Morvanta.exe with the real
// dulib.dll is worked with the keyboard and the mouse as a user works it,
// once with no skin stored (the reference) and once with each of two
// shipped picture skins stored in config.ini; every run must show the same
// behaviour, stated here: the menus by their keys reach the commands, the
// skin dialog's keys move and act as they do, each edge and corner of the
// main window resizes it by exactly the distance dragged, the caption
// moves it, and a double click on it maximises and restores.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "internet_settings.h"
#include "local_http_server.h"
#include "support/hands.h"
#include "support/program.h"
#include "support/screen.h"
#include "support/wine_test.h"

namespace {

using engine_test::AltPlus;
using engine_test::Keys;
using engine_test::Mouse;
using engine_test::Press;
using namespace wine_test;

constexpr int kNetworkWaitMs = 30000;

void DoubleClick(POINT at) {
  Mouse(0, at);
  for (int i = 0; i < 2; i++) {
    Mouse(MOUSEEVENTF_LEFTDOWN, at, 40);
    Mouse(MOUSEEVENTF_LEFTUP, at, 40);
  }
  Sleep(300);
}

// The pointer pressed at `from`, moved to `to` in two steps and let go.
void Drag(POINT from, POINT to) {
  Mouse(0, from);
  Mouse(MOUSEEVENTF_LEFTDOWN, from);
  Mouse(0, {(from.x + to.x) / 2, (from.y + to.y) / 2});
  Mouse(0, to);
  Mouse(MOUSEEVENTF_LEFTUP, to);
}

bool OnTop(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

int HomeRequests(browser_test::LocalHttpServer& server) {
  int count = 0;
  for (const std::string& line : server.RequestLines())
    if (line.find("/tv/cbox.html") != std::string::npos) ++count;
  return count;
}

// The parameter: the skin stored in config.ini, none for the reference.
class PictureSkinTest : public testing::TestWithParam<const wchar_t*> {
 protected:
  void SetUp() override {
    std::string ini = "[Options]\r\n";
    if (*GetParam()) ini += "SkinName=" + Gbk(GetParam()) + "\r\n";
    WriteBytes(InApp(L"app\\config.ini"), ini);
  }

  // The program started and given the keyboard, as a click on it would.
  // Under Wine the first Alt+letter in about the first second and a half
  // after the start is lost, with or without a skin: the keys begin once
  // Alt+N opens its menu.
  static void Start(Program& program) {
    ASSERT_TRUE(program.main()) << "no main window";
    SetForegroundWindow(program.main());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == program.main(); }));
    program.Sync();
    bool opened = false;
    for (int n = 0; n < 10 && !opened; n++) {
      AltPlus('N');
      opened = program.DropDown(700) != nullptr;
    }
    ASSERT_TRUE(opened) << "Alt+N never opened its menu";
    ASSERT_TRUE(program.CloseMenus());
  }

  // The drop-down that Alt+letter opens, and whether `item` then closes it.
  static bool ItemClosesMenu(const Program& program, WORD menu, WORD item) {
    AltPlus(menu);
    if (!program.DropDown(2000)) return false;
    Press(item);
    for (int n = 0; n < 50 && program.DropDown(0); n++) Sleep(20);
    return program.DropDown(0) == nullptr;
  }

  // The skin dialog, opened by the keys alone: its item is the last one of
  // Options and has no access key.
  static HWND OpenDialogByKeys(const Program& program) {
    AltPlus('O');
    if (!program.DropDown(2000)) return nullptr;
    Press(VK_UP);
    Press(VK_RETURN);
    return program.Dialog();
  }
};

TEST_P(PictureSkinTest, MenusByTheirKeysReachTheCommands) {
  browser_test::LocalHttpServer server;
  ASSERT_NE(0, server.Port());
  const std::string port = std::to_string(server.Port());
  browser_test::ScopedProxySetting proxy(L"127.0.0.1:" + std::wstring(port.begin(), port.end()));
  Program program(InApp(L"app"));
  ASSERT_NO_FATAL_FAILURE(Start(program));
  ASSERT_TRUE(PumpUntil([&] { return HomeRequests(server) == 1; }, kNetworkWaitMs));

  // A letter of no item keeps the drop-down open; Home's asks for the page.
  AltPlus('N');
  ASSERT_TRUE(program.DropDown(2000)) << "Alt+N opened nothing";
  Press('Q');
  EXPECT_TRUE(program.DropDown(0)) << "a letter of no item closed the menu";
  Press('H');
  EXPECT_TRUE(PumpUntil([&] { return HomeRequests(server) == 2; }, kNetworkWaitMs))
      << "Alt+N, H asked for the home page " << HomeRequests(server) - 1 << " times";
  EXPECT_TRUE(PumpUntil([&] { return program.DropDown(0) == nullptr; }, 1000));

  // Refresh and Back: chosen, so the menu closes; Back on the first page
  // is ignored, and the program goes on.
  EXPECT_TRUE(ItemClosesMenu(program, 'N', 'R')) << "Alt+N, R";
  EXPECT_TRUE(ItemClosesMenu(program, 'N', 'B')) << "Alt+N, B";
  program.Sync();

  // Options opens on its first item, keep on top: Enter pins the window
  // and tells so; Enter again closes the notice. The same unpins.
  for (bool pinned : {true, false}) {
    SCOPED_TRACE(pinned ? "pin" : "unpin");
    ASSERT_TRUE(ItemClosesMenu(program, 'O', VK_RETURN)) << "Alt+O, Enter";
    HWND notice = program.MessageBoxWindow();
    ASSERT_TRUE(notice) << "no notice";
    EXPECT_EQ(TextOf(GetDlgItem(notice, 0xFFFF)),
              pinned ? L"\u7a97\u4f53\u5df2\u81f3\u9876\u3002"                // 窗体已至顶。
                     : L"\u7a97\u4f53\u5df2\u53d6\u6d88\u81f3\u9876\u3002");  // 窗体已取消至顶。
    EXPECT_EQ(OnTop(program.main()), pinned);
    Press(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(notice); }, 2000)) << "Enter left the notice";
  }

  // The system menu by Alt+Space, left by Escape.
  AltPlus(VK_SPACE);
  EXPECT_TRUE(program.DropDown(2000)) << "Alt+Space opened no system menu";
  EXPECT_TRUE(program.CloseMenus());

  // The last item of Options, reached by Up: the skin dialog.
  EXPECT_TRUE(OpenDialogByKeys(program)) << "Alt+O, Up, Enter opened no skin dialog";
}

// Controls of the skin dialog, by their ids, in the order Tab follows.
constexpr int kList = 102, kHue = 105, kAlpha = 108, kAero = 110, kClose = 111, kSave = 112;

int FocusedId(HWND dialog) { return GetDlgCtrlID(FocusOf(dialog)); }

// The dialog's caption band, where a preview shows first.
engine_test::Shot CaptionOf(HWND dialog) {
  RECT r = RectOf(dialog);
  const int top = r.top + GetSystemMetrics(SM_CYFIXEDFRAME);
  return engine_test::Shot::Settled({r.left + 8, top, r.right - 8, top + 8});
}

TEST_P(PictureSkinTest, SkinDialogByItsKeys) {
  Program program(InApp(L"app"));
  ASSERT_NO_FATAL_FAILURE(Start(program));
  HWND dialog = OpenDialogByKeys(program);
  ASSERT_TRUE(dialog) << "Alt+O, Up, Enter opened no skin dialog";
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == dialog; }));
  HWND list = GetDlgItem(dialog, kList);
  HWND aero = GetDlgItem(dialog, kAero);
  ASSERT_TRUE(list && aero);

  // Tab goes round every control, Shift+Tab back.
  EXPECT_EQ(FocusedId(dialog), kList);
  for (int next : {kHue, kAlpha, kAero, kClose, kSave, kList}) {
    Press(VK_TAB);
    EXPECT_EQ(FocusedId(dialog), next);
  }
  Keys({{VK_SHIFT, true}, {VK_TAB, true}, {VK_TAB, false}, {VK_SHIFT, false}});
  EXPECT_EQ(FocusedId(dialog), kSave);
  Press(VK_TAB);
  ASSERT_EQ(FocusedId(dialog), kList);

  // Arrows move the selection from none to the first skin and on, and
  // each skin they reach is previewed (the first two are different skins).
  ASSERT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
  Press(VK_DOWN);
  program.Sync();
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
  engine_test::Shot first = CaptionOf(dialog);
  Press(VK_DOWN);
  program.Sync();
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_FALSE(CaptionOf(dialog) == first) << "Down previewed nothing";
  Press(VK_UP);
  program.Sync();
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
  EXPECT_TRUE(CaptionOf(dialog) == first) << "Up did not preview the first skin again";

  // Space ticks and clears the check box.
  for (int i = 0; i < 3; i++) Press(VK_TAB);
  ASSERT_EQ(FocusedId(dialog), kAero);
  Press(VK_SPACE);
  EXPECT_EQ(SendMessageW(aero, BM_GETCHECK, 0, 0), BST_CHECKED);
  Press(VK_SPACE);
  EXPECT_EQ(SendMessageW(aero, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // Escape presses nothing anywhere, nor Enter on the check box or the
  // list; Enter on a button presses it: Close, which with nothing typed
  // closes without asking.
  for (int at : {kAero, kClose, kSave, kList}) {
    for (int n = 0; n < 6 && FocusedId(dialog) != at; n++) Press(VK_TAB);
    ASSERT_EQ(FocusedId(dialog), at);
    Press(VK_ESCAPE);
    if (at == kAero || at == kList) Press(VK_RETURN);
    program.Sync();
    ASSERT_TRUE(IsWindowVisible(dialog)) << "focus on " << at;
    EXPECT_FALSE(program.MessageBoxWindow(0)) << "focus on " << at;
  }
  for (int n = 0; n < 6 && FocusedId(dialog) != kClose; n++) Press(VK_TAB);
  Press(VK_RETURN);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }, 2000)) << "Enter on Close";

  // Alt+X is Close too.
  dialog = OpenDialogByKeys(program);
  ASSERT_TRUE(dialog);
  AltPlus('X');
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }, 2000)) << "Alt+X left the dialog open";
}

// Each edge and corner dragged outwards: the sides dragged move by exactly
// the distance, the others stay. The caption dragged moves the window, and
// a double click on it maximises and restores.
TEST_P(PictureSkinTest, EveryEdgeAndCornerResizesByTheDistanceDragged) {
  Program program(InApp(L"app"));
  ASSERT_NO_FATAL_FAILURE(Start(program));
  const HWND main = program.main();
  const int kDx = 23, kDy = 17;
  for (int sy = -1; sy <= 1; sy++) {
    for (int sx = -1; sx <= 1; sx++) {
      if (sx == 0 && sy == 0) continue;
      SCOPED_TRACE(testing::Message() << "handle " << sx << "," << sy);
      const RECT r = RectOf(main);
      // Two pixels inside the outer edge: on the sizing border.
      POINT at = {sx < 0   ? r.left + 2
                  : sx > 0 ? r.right - 3
                           : (r.left + r.right) / 2,
                  sy < 0   ? r.top + 2
                  : sy > 0 ? r.bottom - 3
                           : (r.top + r.bottom) / 2};
      Drag(at, {at.x + sx * kDx, at.y + sy * kDy});
      program.Sync();
      const RECT a = RectOf(main);
      EXPECT_EQ(a.left, r.left + (sx < 0 ? -kDx : 0));
      EXPECT_EQ(a.right, r.right + (sx > 0 ? kDx : 0));
      EXPECT_EQ(a.top, r.top + (sy < 0 ? -kDy : 0));
      EXPECT_EQ(a.bottom, r.bottom + (sy > 0 ? kDy : 0));
    }
  }
  const RECT r = RectOf(main);
  const POINT caption = {(r.left + r.right) / 2, r.top + GetSystemMetrics(SM_CYSIZEFRAME) +
                                                     GetSystemMetrics(SM_CYCAPTION) / 2};
  Drag(caption, {caption.x - 31, caption.y + 19});
  program.Sync();
  const RECT a = RectOf(main);
  EXPECT_EQ(a.left - r.left, -31);
  EXPECT_EQ(a.top - r.top, 19);
  EXPECT_EQ(a.right - a.left, r.right - r.left);
  EXPECT_EQ(a.bottom - a.top, r.bottom - r.top);

  // A double click on the caption maximises, another restores.
  const POINT spot = {caption.x - 31, caption.y + 19};
  DoubleClick(spot);
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(main) != FALSE; }, 2000)) << "not maximised";
  const RECT zoomed = RectOf(main);
  DoubleClick({(zoomed.left + zoomed.right) / 2, std::max<LONG>(zoomed.top, 0) + 8});
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(main); }, 2000)) << "not restored";
  program.Sync();
  const RECT back = RectOf(main);
  EXPECT_TRUE(EqualRect(&back, &a)) << "restored elsewhere";
}

INSTANTIATE_TEST_SUITE_P(Skins, PictureSkinTest,
                         testing::Values(L"", L"\u56de\u7eb9", L"Pearl"));  // 回纹

}  // namespace
