// The menu bar of a skin with a 40-px caption and 6-px borders, where the
// engine lays the frame out and tracks the bar itself: the real program,
// worked with the real mouse and keyboard, its commands seen by what they
// do (the home page requested through a proxy on 127.0.0.1, the skin
// dialog, the window's state), the bar read from screenshots.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "internet_settings.h"
#include "local_http_server.h"
#include "look/pixels.h"
#include "support/hands.h"
#include "support/program.h"
#include "support/screen.h"
#include "support/wine_test.h"

namespace {

using engine_test::AltPlus;
using engine_test::Click;
using engine_test::Keys;
using engine_test::MoveTo;
using engine_test::Press;
using engine_test::Shot;
using namespace wine_test;

// The test skin: Jade's colours, frame sizes of its own.
constexpr COLORREF kBar = RGB(0xD3, 0xEA, 0xDF);      // menu
constexpr COLORREF kLit = RGB(0x1E, 0x5B, 0x43);      // selection
constexpr COLORREF kLitText = RGB(0xFF, 0xFF, 0xFF);  // selection_text
constexpr int kBarTop = 6 + 40;                       // border, then caption
const char kSkin[] =
    "she = 1\r\nname = Tall\r\n"
    "face = #E3F1EA\r\nface_text = #123F2E\r\nwindow = #FAFFFC\r\nwindow_text = #0E2E22\r\n"
    "menu = #D3EADF\r\nborder = #3E7D63\r\ncaption_active = #1A4F3B\r\n"
    "caption_active_text = #FFFFFF\r\ncaption_inactive = #B7D3C6\r\n"
    "caption_inactive_text = #0E2E22\r\nbutton_text = #0E2E22\r\nbutton_hover = #D4E0DA\r\n"
    "button_pressed = #C3D1CA\r\nselection = #1E5B43\r\nselection_text = #FFFFFF\r\n"
    "caption_height = 40\r\nborder_width = 6\r\n";

bool Near(COLORREF a, COLORREF b, int tolerance = 8) {
  return abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class MenuBarTest : public testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(InApp(L"app\\Skin\\Tall.she"), kSkin);
    WriteBytes(InApp(L"app\\config.ini"), "[Options]\r\nSkinName=Tall\r\n");
    ASSERT_NE(0, server.Port());
    program = std::make_unique<Program>(InApp(L"app"));
    ASSERT_NE(nullptr, program->main());
    RECT client = engine_test::ScreenRectOfClient(program->main());
    Click({(client.left + client.right) / 2, (client.top + client.bottom) / 2});
    program->Sync();
    FindItems();
  }

  RECT Window() const { return RectOf(program->main()); }
  // The bar, on the screen: below the caption, down to the client area.
  RECT Bar() const {
    RECT w = Window(), client = engine_test::ScreenRectOfClient(program->main());
    return {w.left + 6, w.top + kBarTop, w.right - 6, client.top};
  }
  // The two items' texts, found as the runs of columns where the bar at
  // rest has other pixels than its colour. A new program may still be
  // drawing its bar when the screen first holds still, so the runs are
  // looked for again until both show, within five seconds.
  void FindItems() {
    PumpUntil([&] { return (texts = ItemTexts()).size() == 2; }, 5000);
    if (texts.size() != 2) Shot(Window()).SavePpm(InApp(L"menubar_items.ppm"));
    ASSERT_EQ(2u, texts.size()) << "the bar's two item texts (window saved as menubar_items.ppm)";
  }
  std::vector<RECT> ItemTexts() const {
    RECT bar = Bar();
    Shot shot = Shot::Settled(bar);
    std::vector<RECT> runs;
    int run_start = -1, gap = 0;
    for (int x = bar.left; x < bar.right && runs.size() < 2; x++) {
      bool ink = false;
      for (int y = bar.top; y < bar.bottom; y++) ink |= !Near(shot.At(x, y), kBar, 24);
      if (ink) {
        if (run_start < 0) run_start = x;
        gap = 0;
      } else if (run_start >= 0 && ++gap > 10) {
        runs.push_back({run_start, bar.top, x - gap + 1, bar.bottom});
        run_start = -1;
      }
    }
    return runs;
  }
  POINT ItemPoint(int item) const {
    return {(texts[item].left + texts[item].right) / 2, (texts[item].top + texts[item].bottom) / 2};
  }
  // The item's text drawn lit: on the selection colour, in its text colour.
  bool LitNow(int item) const {
    Shot shot = Shot::Settled(texts[item]);
    return shot.CountNear(kLit, 4) > 20 && shot.CountNear(kLitText, 16) > 10;
  }
  // Whether the item is lit once the keys just sent have been handled: the
  // bar is repainted when the program gets to them, which may take a moment
  // on a busy machine, so the answer is the one it settles on within two seconds.
  bool Lit(int item, bool expected = true) const {
    bool lit = LitNow(item);
    if (lit != expected) PumpUntil([&] { return (lit = LitNow(item)) == expected; }, 2000);
    return lit;
  }
  // The open drop-down's left edge lies under this item's text, within
  // two seconds: a menu switches after the one before has closed.
  bool OpenUnder(int item) const {
    return PumpUntil(
        [&] {
          HWND menu = program->DropDown(0);
          if (!menu) return false;
          RECT rc = RectOf(menu);
          return rc.left <= texts[item].left && texts[item].left - rc.left < 20 &&
                 abs(rc.top - Bar().bottom) <= 2;
        },
        2000);
  }
  // No drop-down shows once the keys or clicks just sent have been
  // handled, within two seconds on a busy machine.
  bool Shut() const {
    return PumpUntil([&] { return program->DropDown(0) == nullptr; }, 2000);
  }
  int HomeRequests() {
    int n = 0;
    for (const std::string& line : server.RequestLines())
      n += line.find("www.morvanta.tv") != std::string::npos &&
           line.find("/tv/cbox.html") != std::string::npos;
    return n;
  }

  browser_test::LocalHttpServer server;
  browser_test::ScopedProxySetting proxy{L"127.0.0.1:" + std::to_wstring(server.Port())};
  std::unique_ptr<Program> program;
  std::vector<RECT> texts;  // the bar items' texts on the screen
};

TEST_F(MenuBarTest, AccessKeysChooseTheProgramsCommands) {
  ASSERT_TRUE(PumpUntil([&] { return HomeRequests() >= 1; }, 30000)) << "start-up request";
  AltPlus('N');
  EXPECT_TRUE(OpenUnder(0)) << "Alt+N opens 常规 under its item";
  EXPECT_TRUE(Lit(0));
  Press('H');
  EXPECT_TRUE(PumpUntil([&] { return HomeRequests() >= 2; }, 30000)) << "Alt+N, H: Home";
  // Back on the first page and Refresh of a page answered with no content
  // ask nothing of the network: the menu closes, no notice shows.
  for (WORD key : {'R', 'B'}) {
    AltPlus('N');
    EXPECT_TRUE(OpenUnder(0));
    Press(key);
    EXPECT_TRUE(Shut()) << "Alt+N then " << char(key) << " chose an item";
    EXPECT_EQ(nullptr, program->MessageBoxWindow(300));
  }

  // 选项's items have no access keys: Down moves past 窗体置顶 to 更换主题.
  AltPlus('O');
  EXPECT_TRUE(OpenUnder(1));
  Press(VK_DOWN);
  Press(VK_RETURN);
  EXPECT_NE(nullptr, program->Dialog()) << "Alt+O, Down, Enter: 更换主题";
}

TEST_F(MenuBarTest, TheMouseOpensSwitchesAndClosesMenus) {
  Click(ItemPoint(0));
  EXPECT_TRUE(OpenUnder(0)) << "a click opens 常规";
  EXPECT_TRUE(Lit(0)) << "the open item in the selection colours";
  // Moving to another item with a menu open switches, and a click on the
  // open item closes it, with a real pointer (tried with xdotool); under
  // Wine a pointer move that SendInput makes while a menu holds the mouse
  // is followed by one back to where the pointer was, so not here.
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  EXPECT_TRUE(Shut());

  Click(ItemPoint(1));
  HWND menu = program->DropDown();
  ASSERT_NE(nullptr, menu);
  RECT rc = RectOf(menu);
  // 更换主题, the last of three rows: in the bottom quarter of the menu.
  Click({(rc.left + rc.right) / 2, rc.bottom - (rc.bottom - rc.top) / 6});
  EXPECT_NE(nullptr, program->Dialog()) << "a click on 更换主题";
}

TEST_F(MenuBarTest, TheKeyboardWalksTheBarAndBacksOutOneLevelAtATime) {
  Press(VK_F10);
  EXPECT_TRUE(Lit(0)) << "F10 selects the first item";
  EXPECT_EQ(nullptr, program->DropDown(300));
  Press(VK_RIGHT);
  EXPECT_TRUE(Lit(1) && !Lit(0, false)) << "Right moves along the bar";
  Press(VK_DOWN);
  EXPECT_TRUE(OpenUnder(1)) << "Down opens";
  Press(VK_LEFT);
  EXPECT_TRUE(OpenUnder(0)) << "Left in an open menu opens its neighbour";
  Press(VK_LEFT);
  HWND window_menu = program->DropDown();
  ASSERT_NE(nullptr, window_menu) << "Left past the first item: the window menu";
  EXPECT_LE(RectOf(window_menu).left, Window().left + 8);
  Press(VK_RIGHT);
  EXPECT_TRUE(OpenUnder(0)) << "and Right back";
  Press(VK_ESCAPE);
  EXPECT_TRUE(Shut());
  EXPECT_TRUE(Lit(0)) << "Escape closes the menu, the bar stays selected";
  Press(VK_ESCAPE);
  EXPECT_FALSE(Lit(0, false)) << "a second Escape leaves the bar";
  Press(VK_DOWN);
  EXPECT_EQ(nullptr, program->DropDown(300)) << "Down goes to the page again";

  Keys({{VK_MENU, true}, {VK_MENU, false}});
  EXPECT_TRUE(Lit(0)) << "Alt alone selects the bar";
  Keys({{VK_MENU, true}, {VK_MENU, false}});
  EXPECT_FALSE(Lit(0, false)) << "and Alt again leaves it";
  Press('o');  // a letter on the page opens nothing
  EXPECT_EQ(nullptr, program->DropDown(300));
}

TEST_F(MenuBarTest, AltSpaceOpensTheWindowMenuWithTheWindowsStates) {
  AltPlus(VK_SPACE);
  HWND menu = program->DropDown();
  ASSERT_NE(nullptr, menu);
  RECT rc = RectOf(menu), w = Window();
  EXPECT_LE(rc.left, w.left + 8);
  EXPECT_EQ(w.top + kBarTop, rc.top) << "below the caption";
  Press('R');  // Restore is greyed in a normal window
  EXPECT_FALSE(IsZoomed(program->main()));
  if (program->DropDown(0)) Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  AltPlus(VK_SPACE);
  Press('X');
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(program->main()) != FALSE; }, 3000))
      << "Alt+Space, X: Maximize";
  AltPlus(VK_SPACE);
  Press('X');  // greyed now
  EXPECT_TRUE(IsZoomed(program->main()));
  if (program->DropDown(0)) Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  AltPlus(VK_SPACE);
  Press('R');
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(program->main()); }, 3000))
      << "Alt+Space, R: Restore, enabled once maximised";
}

// The bar selected from the keyboard, and an open menu, go round the ends:
// past the last item to the window menu and on to the first, and back.
TEST_F(MenuBarTest, LeftAndRightGoRoundTheEndsOfTheBar) {
  Press(VK_F10);
  ASSERT_TRUE(Lit(0));
  Press(VK_LEFT);
  EXPECT_TRUE(!Lit(0, false) && !Lit(1, false)) << "Left of the first: the window menu's place";
  Press(VK_LEFT);
  EXPECT_TRUE(Lit(1)) << "and on round to the last item";
  Press(VK_RIGHT);
  EXPECT_TRUE(!Lit(0, false) && !Lit(1, false)) << "Right of the last: the window menu's place";
  Press(VK_RIGHT);
  EXPECT_TRUE(Lit(0)) << "and on round to the first";
  Press(VK_RIGHT);
  Press(VK_DOWN);
  ASSERT_TRUE(OpenUnder(1));
  Press(VK_RIGHT);
  HWND window_menu = program->DropDown();
  ASSERT_NE(nullptr, window_menu) << "Right past the last open menu: the window menu";
  EXPECT_LE(RectOf(window_menu).left, Window().left + 8);
  Press(VK_RIGHT);
  EXPECT_TRUE(OpenUnder(0)) << "and on to the first item's menu";
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
  EXPECT_TRUE(Shut());
}

// A click on the item whose menu is open closes it, and leaves the bar.
TEST_F(MenuBarTest, AClickOnTheOpenItemClosesItsMenu) {
  Click(ItemPoint(0));
  ASSERT_TRUE(OpenUnder(0));
  Click(ItemPoint(0));
  EXPECT_TRUE(Shut());
  EXPECT_EQ(nullptr, program->DropDown(500)) << "the second click opened it again";
  EXPECT_FALSE(Lit(0, false));
}

// Shift+F10 and Ctrl+F10 are the page's: the bar is not selected by them.
TEST_F(MenuBarTest, ShiftAndCtrlF10ReachThePageNotTheBar) {
  for (WORD modifier : {WORD(VK_SHIFT), WORD(VK_CONTROL)}) {
    SCOPED_TRACE(modifier);
    Keys({{modifier, true}, {VK_F10, true}, {VK_F10, false}, {modifier, false}});
    EXPECT_FALSE(Lit(0, false)) << "the bar took the key";
    program->CloseMenus();
    Press(VK_ESCAPE);
    EXPECT_FALSE(Lit(0, false));
  }
  Press(VK_F10);
  EXPECT_TRUE(Lit(0)) << "F10 alone selects the bar";
  Press(VK_ESCAPE);
}

// Under the pointer a bar item stands apart both from the bar at rest and
// from an open item (at least 1.2:1 against each); open, it is the
// selection colour.
TEST_F(MenuBarTest, HoverIsItsOwnStateBetweenRestAndOpen) {
  // A point of the item's padding, left of its text.
  POINT back = {texts[0].left - 3, (texts[0].top + texts[0].bottom) / 2};
  auto color = [&] {
    Shot shot = Shot::Settled({back.x, back.y, back.x + 1, back.y + 1});
    return shot.At(back.x, back.y);
  };
  COLORREF rest = color();
  EXPECT_TRUE(Near(rest, kBar, 2));
  // A move handled after the pointer has gone on into the page lights nothing.
  SendMessageW(program->main(), WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(back.x, back.y));
  EXPECT_TRUE(Near(color(), rest, 2)) << "lit by a move from where the pointer was";
  MoveTo(ItemPoint(0));
  COLORREF hover = rest;
  PumpUntil([&] { return (hover = color()) != rest; }, 2000);
  Click(ItemPoint(0));
  ASSERT_TRUE(OpenUnder(0));
  COLORREF open = color();
  EXPECT_TRUE(Near(open, kLit, 2));
  EXPECT_GE(look::Contrast(hover, rest), 1.2) << "hover looks like rest";
  EXPECT_GE(look::Contrast(hover, open), 1.2) << "hover looks like an open menu";
  Press(VK_ESCAPE);
  Press(VK_ESCAPE);
}

}  // namespace
