// The garish-colour measurement: every system colour of this test's Wine
// prefix is magenta (surfaces) or green (texts), set by garish_prefix.sh.
// The real Morvanta.exe with the real dulib.dll and the shipped skins is
// worked like a user would, and each of its windows is screenshotted: any
// pixel still in a system colour was drawn by the platform, not the skin.
// The hosted page is content, not skin, and is left out.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/win_handles.h"
#include "support/program.h"
#include "support/screen.h"
#include "support/wine_test.h"

namespace {

using namespace wine_test;  // the program seen from outside, files in its folder
using engine_test::Shot;

struct Figure {
  std::wstring skin, window, state;
  double share;
};

// At most this share of a window's pixels may be in a system colour.
constexpr double kMaxShare = 0.005;

// The colours garish_prefix.sh gives the system, written out here rather
// than read back, with a little room for rounding in blends.
bool IsSystemColour(uint32_t p) {
  int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
  constexpr int t = 8;
  bool magenta = r >= 255 - t && g <= t && b >= 255 - t;
  bool green = r <= t && g >= 255 - t && b <= t;
  return magenta || green;
}

// Share of a shot's pixels in a system colour, not counting those in
// `left_out` or outside `inside` (screen coordinates; null: everywhere).
double Share(const Shot& shot, const std::vector<RECT>& left_out, HRGN inside,
             int* counted = nullptr) {
  const RECT& area = shot.rect();
  const int width = area.right - area.left;
  long total = 0, system = 0;
  for (size_t i = 0; i < shot.pixels().size(); i++) {
    POINT pt = {area.left + LONG(i % width), area.top + LONG(i / width)};
    if (std::any_of(left_out.begin(), left_out.end(),
                    [&](const RECT& r) { return PtInRect(&r, pt); }))
      continue;
    if (inside && !PtInRegion(inside, pt.x, pt.y)) continue;
    total++;
    system += IsSystemColour(shot.pixels()[i]);
  }
  if (counted) *counted = total;
  return total ? double(system) / total : 0;
}

// Everything but the window's direct children (the browser control's
// host, whose inside is the page) and any window lying over it.
std::vector<RECT> LeftOut(HWND window, const std::vector<HWND>& over) {
  std::vector<RECT> out;
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (IsWindowVisible(c)) out.push_back(RectOf(c));
  }
  for (HWND h : over) {
    if (h && IsWindowVisible(h)) out.push_back(RectOf(h));
  }
  return out;
}

class GarishTest : public testing::Test {
 protected:
  static std::wstring App() { return InApp(L"app"); }

  void Measure(const std::wstring& skin, const wchar_t* window, const std::wstring& state,
               HWND hwnd, std::vector<RECT> left_out = {}) {
    ASSERT_TRUE(hwnd && IsWindowVisible(hwnd)) << wine_test::Utf8(window);
    // A window just shown may not have painted yet, and the screen below it
    // holds still too. A message sent to it returns when its thread next
    // looks for messages; a second one only after what the first let
    // through, its painting included, has been handled.
    for (int i = 0; i < 2; i++) {
      DWORD_PTR ignored;
      SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    }
    Shot screen = Shot::Settled(RectOf(hwnd));
    int counted = 0;
    // A skin with round corners cuts the window to a region: what shows
    // outside it is whatever lies behind, not this window.
    const RECT w = RectOf(hwnd);
    common::GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    const bool cut = GetWindowRgn(hwnd, region.get()) != ERROR;
    if (cut) OffsetRgn(region.get(), w.left, w.top);
    double share = Share(screen, left_out, cut ? region.get() : nullptr, &counted);
    figures_.push_back({skin, window, state, share});
    EXPECT_GT(counted, 1000) << wine_test::Utf8(window) << " " << wine_test::Utf8(state);
    if (share > kMaxShare) {
      std::wstring name = L"shot-" + std::to_wstring(figures_.size()) + L".ppm";
      screen.SavePpm(InApp(name));
      ADD_FAILURE() << wine_test::Utf8(skin) << ", " << wine_test::Utf8(window) << ", "
                    << wine_test::Utf8(state) << ": " << share * 100
                    << " % of pixels in system colours (see " << wine_test::Utf8(name) << ")";
    }
  }

  static void PrintFigures() {
    std::printf("%-10s %-16s %-34s %s\n", "skin", "window", "state", "system colours");
    for (const Figure& f : figures_) {
      std::printf("%-10s %-16s %-34s %6.2f %%\n", wine_test::Utf8(f.skin).c_str(),
                  wine_test::Utf8(f.window).c_str(), wine_test::Utf8(f.state).c_str(),
                  f.share * 100);
    }
  }

  static void TearDownTestSuite() { PrintFigures(); }

  static std::vector<Figure> figures_;
};

std::vector<Figure> GarishTest::figures_;

// would pass whatever the engine drew. A window of this test, which no
// engine touches, must show them.
TEST_F(GarishTest, ThePrefixHasGarishSystemColours) {
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(255, 0, 255));
  EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), RGB(255, 0, 255));
  EXPECT_EQ(GetSysColor(COLOR_MENU), RGB(255, 0, 255));
  EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), RGB(0, 255, 0));
  EXPECT_EQ(GetSysColor(COLOR_CAPTIONTEXT), RGB(0, 255, 0));

  HWND plain = CreateWindowExW(0, L"Button", L"unskinned", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 1500,
                               800, 300, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(plain);
  wine_test::Pump(300);
  double share = Share(Shot::Settled(RectOf(plain)), {}, nullptr);
  EXPECT_GT(share, 0.8);
  DestroyWindow(plain);
}

// One program run per shipped skin, started with that skin; in each run
// the user previews another skin and comes back, shifts the hue, opens a
// drop-down menu, the skin dialog with a list that scrolls, the keep-on-top
// notice and the leave question, with windows active and inactive,
// maximised and restored.
TEST_F(GarishTest, NoWindowShowsSystemColoursWithAnyShippedSkin) {
  std::vector<std::wstring> skins = ShippedSkins();
  ASSERT_GE(skins.size(), 8u);
  // And one with frame sizes of its own, whose frame the engine lays out:
  // Jade with a tall caption, wide borders and round corners.
  std::string jade = ReadBytes(InApp(L"shipped\\Jade.she"));
  ASSERT_FALSE(jade.empty());
  // Taken away again at the end: the documentation's screenshots are
  // taken in this folder and list every skin in it.
  struct RemovedAtEnd {
    std::wstring path;
    ~RemovedAtEnd() { DeleteFileW(path.c_str()); }
  } tall{InApp(L"app\\Skin\\Jade-tall.she")};
  WriteBytes(tall.path, jade + "\ncaption_height = 40\nborder_width = 6\ncorner_radius = 8\n");
  skins.push_back(L"Jade-tall");
  for (size_t i = 0; i < skins.size(); i++) {
    const std::wstring& skin = skins[i];
    const std::wstring& other = skins[(i + 1) % skins.size()];
    SCOPED_TRACE(wine_test::Utf8(skin));
    wine_test::WriteBytes(InApp(L"app\\config.ini"), "[Options]\r\nSkinName=" + Gbk(skin) + "\r\n");
    DeleteFileW(InApp(L"app\\log.txt").c_str());

    Program program(App());
    HWND main = program.main();
    ASSERT_TRUE(main) << "the main window did not show";
    SetForegroundWindow(main);
    program.Sync();
    ASSERT_EQ(GetForegroundWindow(), main);
    Measure(skin, L"main", L"at start, active, restored", main, LeftOut(main, {}));

    ShowWindow(main, SW_MAXIMIZE);
    program.Sync();
    Measure(skin, L"main", L"active, maximised", main, LeftOut(main, {}));
    ShowWindow(main, SW_RESTORE);
    program.Sync();

    // The first drop-down menu, opened from the keyboard (Alt+N).
    PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, 'n');
    HWND drop = program.DropDown();
    Measure(skin, L"drop-down menu", L"open", drop);
    Measure(skin, L"main", L"with its menu open", main, LeftOut(main, {drop}));
    ASSERT_TRUE(program.CloseMenus()) << "the menu did not close";

    // The system menu, opened from the keyboard (Alt+Space).
    PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    drop = program.DropDown();
    Measure(skin, L"system menu", L"open", drop);
    ASSERT_TRUE(program.CloseMenus()) << "the system menu did not close";

    // The skin dialog, moved clear of the main window.
    PostMessageW(main, WM_COMMAND, kChangeSkinCommand, 0);
    HWND dialog = program.Dialog();
    ASSERT_TRUE(dialog);
    SetWindowPos(dialog, nullptr, 8, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    program.Sync();
    HWND list = FindChild(dialog, [](HWND h) { return ClassOf(h) == L"ListBox"; });
    ASSERT_TRUE(list);
    // The folder holds enough skins for the list to scroll; show its end.
    int count = int(SendMessageW(list, LB_GETCOUNT, 0, 0));
    SendMessageW(list, LB_SETTOPINDEX, count - 1, 0);
    ASSERT_EQ(GetForegroundWindow(), dialog);
    ASSERT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0) << "the list does not scroll";
    Measure(skin, L"skin dialog", L"active, list scrolled", dialog);
    Measure(skin, L"main", L"inactive, restored", main, LeftOut(main, {dialog}));

    // Live preview of another skin, then back to this one, as a user
    // clicks in the list.
    auto select = [&](const std::wstring& name) {
      int at = int(SendMessageW(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(name.c_str())));
      ASSERT_GE(at, 0) << wine_test::Utf8(name);
      SendMessageW(list, LB_SETCURSEL, at, 0);
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), LPARAM(list));
      program.Sync();
    };
    select(other);
    select(skin);
    Measure(skin, L"skin dialog", L"after a preview from " + other, dialog);
    Measure(skin, L"main", L"inactive, after a preview", main, LeftOut(main, {dialog}));
    ShowWindow(main, SW_MAXIMIZE);
    program.Sync();
    Measure(skin, L"main", L"inactive, maximised", main, LeftOut(main, {dialog}));
    ShowWindow(main, SW_RESTORE);
    program.Sync();

    // The dialog behind the main window: inactive.
    SetForegroundWindow(main);
    program.Sync();
    ASSERT_EQ(GetForegroundWindow(), main);
    Measure(skin, L"skin dialog", L"inactive", dialog);

    // The leave question: a changed hue box, then Close.
    HWND hue_box = FindChild(dialog, [dialog](HWND h) {
      return ClassOf(h) == L"Edit" && GetParent(h) != dialog;  // the one inside the frame
    });
    ASSERT_TRUE(hue_box);
    SetForegroundWindow(dialog);
    SendMessageW(hue_box, WM_SETTEXT, 0, LPARAM(L"120"));
    // Tabbing into the hue box selects its text, which the edit box draws
    // in selection colours of its own.
    for (int n = 0; n < 10 && FocusOf(dialog) != hue_box; n++) {
      // Keys arrive on their own time: wait for each to move the focus.
      HWND before = FocusOf(dialog);
      PressKey(VK_TAB);
      for (int t = 0; t < 100 && FocusOf(dialog) == before; t++) Sleep(20);
    }
    program.Sync();
    ASSERT_EQ(FocusOf(dialog), hue_box) << "Tab did not reach the hue box";
    ASSERT_EQ(SendMessageW(hue_box, EM_GETSEL, 0, 0), MAKELRESULT(0, 3))
        << "its text is not selected";
    Measure(skin, L"skin dialog", L"hue box text selected", dialog);
    // The edit box's own menu, as a right click opens it.
    RECT hue_rect = RectOf(hue_box);
    PostMessageW(hue_box, WM_CONTEXTMENU, WPARAM(hue_box),
                 MAKELPARAM(hue_rect.left + 4, hue_rect.bottom - 4));
    HWND edit_menu = program.DropDown();
    Measure(skin, L"edit box menu", L"open", edit_menu);
    PostMessageW(edit_menu, WM_KEYDOWN, VK_ESCAPE, 0);
    for (int n = 0; n < 100 && program.DropDown(0); n++) Sleep(20);
    ASSERT_FALSE(program.DropDown(0)) << "the edit box menu did not close";
    HWND close = FindChild(dialog, [](HWND h) { return TextOf(h) == L"\u5173\u95ed(&X)"; });
    HWND save = FindChild(dialog, [](HWND h) { return TextOf(h) == L"\u4fdd\u5b58(&S)"; });
    ASSERT_TRUE(close && save);
    PostMessageW(close, BM_CLICK, 0, 0);
    HWND question = program.MessageBoxWindow();
    Measure(skin, L"leave question", L"open", question);
    PostMessageW(question, WM_COMMAND, IDNO, 0);
    for (int n = 0; n < 100 && program.MessageBoxWindow(0); n++) Sleep(20);

    // Save applies the hue of 120 and closes the dialog.
    PostMessageW(save, BM_CLICK, 0, 0);
    for (int n = 0; n < 100 && program.Dialog(0); n++) Sleep(20);
    ASSERT_FALSE(program.Dialog(0)) << "Save did not close the dialog";
    SetForegroundWindow(main);
    program.Sync();
    Measure(skin, L"main", L"hue 120, active, restored", main, LeftOut(main, {}));
    ShowWindow(main, SW_MAXIMIZE);
    program.Sync();
    Measure(skin, L"main", L"hue 120, active, maximised", main, LeftOut(main, {}));
    ShowWindow(main, SW_RESTORE);
    program.Sync();
    PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, 'o');  // the second menu, Alt+O
    drop = program.DropDown();
    Measure(skin, L"drop-down menu", L"hue 120, the second menu", drop);
    ASSERT_TRUE(program.CloseMenus()) << "the menu did not close";

    PostMessageW(main, WM_COMMAND, kChangeSkinCommand, 0);
    dialog = program.Dialog();
    ASSERT_TRUE(dialog);
    SetWindowPos(dialog, nullptr, 8, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    program.Sync();
    Measure(skin, L"skin dialog", L"hue 120", dialog);

    // The keep-on-top notice, then the same command again to undo it.
    for (int round = 0; round < 2; round++) {
      PostMessageW(main, WM_COMMAND, kKeepOnTopCommand, 0);
      HWND notice = program.MessageBoxWindow();
      if (round == 0) Measure(skin, L"keep-on-top notice", L"hue 120", notice);
      PostMessageW(notice, WM_COMMAND, IDOK, 0);
      for (int n = 0; n < 100 && program.MessageBoxWindow(0); n++) Sleep(20);
    }
  }
}

}  // namespace
