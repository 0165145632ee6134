// The frames and menus that the real dulib.dll draws, worked with the
// mouse and keyboard as a user works them, and read back from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <utility>

#include "look/pixels.h"
#include "skins/SkinH.h"
#include "support/screen.h"
#include "support/wine_test.h"
#include "support/hands.h"
#include "test_skins.h"

namespace {

using namespace engine_test;
using namespace SkinH;
using wine_test::InApp;
using wine_test::Pump;
using wine_test::PumpUntil;

// Pixels in any of these system colours that the skin does not use itself.
int SystemPixels(const Shot& shot, const TestSkin& skin, std::initializer_list<int> colors) {
  int n = 0;
  for (int index : colors) {
    COLORREF c = GetSysColor(index);
    bool in_skin = false;
    for (int k = 0; k < kKeyCount; k++) in_skin |= skin[Key(k)] == c;
    if (!in_skin) n += shot.CountNear(c, 0);
  }
  return n;
}

// Pixels of `area` (screen coordinates) not exactly `color`.
int OtherThan(const RECT& area, COLORREF color) {
  Shot shot(area);
  return int(shot.pixels().size()) - shot.CountNear(color, 0);
}

// ---- the window ---------------------------------------------------------------------

const wchar_t kClass[] = L"FrameTestWindow";
UINT g_last_command = 0;
// The program's own owner-drawn menu item, told by its item data.
constexpr ULONG_PTR kOwnItem = 0x5EED;
constexpr COLORREF kOwnInk = RGB(1, 2, 3);
int g_own_measured = 0, g_own_drawn = 0;
// A menu to which the program adds an item each time it opens.
HMENU g_add_on_open = nullptr;
constexpr UINT kAddedItem = 108;
int g_opened = 0;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) g_last_command = LOWORD(wp);
  if (msg == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wp) == g_add_on_open) {
    g_opened++;
    DeleteMenu(g_add_on_open, kAddedItem, MF_BYCOMMAND);
    AppendMenuW(g_add_on_open, MF_STRING, kAddedItem, L"\u65b0\u589e(&A)");  // 新增
  }
  if (msg == WM_MEASUREITEM && reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemData == kOwnItem) {
    auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    m->itemWidth = 60;
    m->itemHeight = 20;
    g_own_measured++;
    return TRUE;
  }
  if (msg == WM_DRAWITEM && reinterpret_cast<DRAWITEMSTRUCT*>(lp)->itemData == kOwnItem) {
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    HBRUSH ink = CreateSolidBrush(kOwnInk);
    FillRect(d->hDC, &d->rcItem, ink);
    DeleteObject(ink);
    g_own_drawn++;
    return TRUE;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HMENU MakeMenuBar() {
  HMENU bar = CreateMenu();
  HMENU normal = CreatePopupMenu();
  AppendMenuW(normal, MF_STRING, 101, L"\u8fd4\u56de(&B)");  // 返回(&B)
  AppendMenuW(normal, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(normal, MF_STRING, 102, L"\u5237\u65b0(&R)");  // 刷新(&R)
  AppendMenuW(normal, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(normal, MF_STRING, 103, L"\u4e3b\u9875(&H)");  // 主页(&H)
  HMENU options = CreatePopupMenu();
  AppendMenuW(options, MF_STRING, 104, L"\u7a97\u4f53\u7f6e\u9876");
  AppendMenuW(options, MF_OWNERDRAW, 105, reinterpret_cast<LPCWSTR>(kOwnItem));
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(normal), L"\u5e38\u89c4(&N)");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(options), L"\u9009\u9879(&O)");
  return bar;
}

// Keys go to the active window: wait until it is.
void Activate(HWND hwnd) {
  SetForegroundWindow(hwnd);
  PumpUntil([hwnd] { return GetForegroundWindow() == hwnd; }, 2000);
  Pump(300);
}

HWND MakeWindow(int x, int y, const wchar_t* title) {
  static bool registered = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClass;
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  HWND hwnd = CreateWindowExW(0, kClass, title, WS_OVERLAPPEDWINDOW, x, y, 480, 320, nullptr,
                              MakeMenuBar(), GetModuleHandleW(nullptr), nullptr);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  Activate(hwnd);
  return hwnd;
}

// Places in the frame, found by asking the window what lies where, as the
// system asks it for every mouse move.
POINT FindHit(HWND hwnd, LRESULT code) {
  RECT r = ScreenRectOfWindow(hwnd);
  for (int y = r.top; y < r.top + 60; y += 2) {
    for (int x = r.right - 1; x > r.right - 200; x -= 2) {
      if (SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != code) continue;
      // The middle of the run of points with this code on this line.
      int left = x;
      while (SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(left - 1, y)) == code) left--;
      int top = y;
      while (SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, top - 1)) == code) top--;
      int bottom = y;
      while (SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, bottom + 1)) == code) bottom++;
      return {(left + x) / 2, (top + bottom) / 2};
    }
  }
  return {-1, -1};
}

// A point of the title band with nothing drawn on it: left of the
// buttons, right of the title text.
POINT CaptionSpot(HWND hwnd) {
  POINT p = FindHit(hwnd, HTMINBUTTON);
  return {p.x - 40, p.y};
}

COLORREF ColorAt(POINT p) { return Shot({p.x, p.y, p.x + 1, p.y + 1}).At(p.x, p.y); }

// The title band from the title text to the right end of the window,
// where the platform's caption buttons were.
RECT TitleBand(HWND hwnd) {
  RECT r = ScreenRectOfWindow(hwnd);
  POINT spot = CaptionSpot(hwnd);
  return {spot.x - 60, spot.y - 6, r.right, spot.y + 6};
}

// Called by the user's thread while a menu loop runs.
HWND VisiblePopupMenu() {
  for (int i = 0; i < 20; i++) {
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (popup && IsWindowVisible(popup)) return popup;
    Sleep(100);
  }
  return nullptr;
}

class FrameTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    WriteSkin(kLight);
    WriteSkin(kDark);
  }
  void SetUp() override {
    ASSERT_EQ(SkinH_AdjustHSV(0, 0, 0), 1);
    ASSERT_EQ(SkinH_AttachEx(InApp(kDark.File()), L""), 1);
    hwnd = MakeWindow(60, 60, L"Frame test \u6846\u67b6");
    ASSERT_TRUE(hwnd);
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    Pump(100);
  }
  HWND hwnd = nullptr;
};

// Every pixel of the frame around the client area, in the caption colour
// of the window's state inside a one-pixel line in the border colour; the
// title in the caption text colour of that state.
void ExpectFrameAndTitle(HWND hwnd, bool active) {
  const COLORREF band = kDark[active ? caption_active : caption_inactive];
  // The bands stand only 1.49:1 apart: the inactive title (#C0E0A0, 7.7:1)
  // is dimmed toward its band to 4.5:1, as 60 % of the active's 6.15:1 is less.
  const COLORREF text = active ? kDark[caption_active_text] : RGB(0x9A, 0xAB, 0x7A);
  RECT w = ScreenRectOfWindow(hwnd), c = ScreenRectOfClient(hwnd);
  ASSERT_LT(w.left + 1, c.left);
  ASSERT_LT(c.bottom, w.bottom - 1);
  EXPECT_EQ(OtherThan({w.left + 1, c.top, c.left, w.bottom - 1}, band), 0) << "left";
  EXPECT_EQ(OtherThan({c.right, c.top, w.right - 1, w.bottom - 1}, band), 0) << "right";
  EXPECT_EQ(OtherThan({c.left, c.bottom, c.right, w.bottom - 1}, band), 0) << "bottom";
  EXPECT_EQ(OtherThan({w.left, w.bottom - 1, w.right, w.bottom}, kDark[border]), 0);
  EXPECT_EQ(OtherThan({w.left, c.top, w.left + 1, w.bottom}, kDark[border]), 0);
  EXPECT_EQ(OtherThan({w.right - 1, c.top, w.right, w.bottom}, kDark[border]), 0);
  // From right of the icon to left of the buttons.
  POINT spot = CaptionSpot(hwnd);
  Shot title({w.left + 30, spot.y - 6, spot.x, spot.y + 6});
  EXPECT_GT(title.CountNear(text, 24), 10) << "title in " << Hex(text);
  EXPECT_EQ(title.CountNear(kDark[face_text], 24), 0);
}

TEST_F(FrameTest, CaptionShowsTheSkinActiveOrInactiveAndFollowsHueAndPreview) {
  POINT spot = CaptionSpot(hwnd);
  ASSERT_GE(spot.x, 0);
  EXPECT_COLOR(ColorAt(spot), kDark[caption_active]);
  ExpectFrameAndTitle(hwnd, true);
  // Nothing of the platform's own caption shows: its colours, or its
  // caption buttons (letters in a grey box under Xvfb).
  RECT band = TitleBand(hwnd);
  EXPECT_EQ(SystemPixels(Shot(band), kDark,
                         {COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION, COLOR_CAPTIONTEXT,
                          COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT}),
            0);

  // Another window takes the focus: this caption turns inactive.
  HWND other = MakeWindow(620, 60, L"Other");
  EXPECT_COLOR(ColorAt(spot), kDark[caption_inactive]);
  ExpectFrameAndTitle(hwnd, false);
  DestroyWindow(other);
  Activate(hwnd);
  EXPECT_COLOR(ColorAt(spot), kDark[caption_active]);

  // A new title is drawn by us, not by the platform.
  SetWindowTextW(hwnd, L"Renamed");
  Pump(100);
  EXPECT_COLOR(ColorAt(spot), kDark[caption_active]);
  EXPECT_EQ(SystemPixels(Shot(band), kDark, {COLOR_ACTIVECAPTION, COLOR_CAPTIONTEXT}), 0);

  // A hue shift and a newly attached skin repaint caption and menu bar.
  MENUBARINFO bar = {sizeof bar};
  ASSERT_TRUE(GetMenuBarInfo(hwnd, OBJID_MENU, 0, &bar));
  POINT bar_end = {bar.rcBar.right - 3, bar.rcBar.bottom - 3};
  POINT bar_item = {bar.rcBar.left + 3, bar.rcBar.top + 3};
  ASSERT_EQ(SkinH_AdjustHSV(120, 0, 0), 1);  // the shift, then a preview under it
  for (const TestSkin* skin : {&kDark, &kLight}) {
    if (skin == &kLight) ASSERT_EQ(SkinH_AttachEx(InApp(kLight.File()), L""), 1);
    Pump(100);
    EXPECT_COLOR(ColorAt(spot), HueTurned120((*skin)[caption_active]));
    EXPECT_COLOR(ColorAt(bar_end), HueTurned120((*skin)[menu]));
    EXPECT_COLOR(ColorAt(bar_item), HueTurned120((*skin)[menu]));
  }
  ASSERT_EQ(SkinH_AdjustHSV(0, 0, 0), 1);
}

// A child window of another library: its class's procedure lies outside
// the program, as the browser control's does. Its paints are counted.
int g_foreign_paints = 0;
WNDPROC g_foreign_proc = nullptr;

LRESULT CALLBACK CountPaints(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) g_foreign_paints++;
  return CallWindowProcW(g_foreign_proc, hwnd, msg, wp, lp);
}

HWND MakeForeignChild(HWND parent) {
  static bool registered = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"ForeignChild";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  HWND child = CreateWindowExW(0, L"ForeignChild", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 100,
                               parent, nullptr, nullptr, nullptr);
  g_foreign_proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountPaints)));
  return child;
}

POINT OnScreen(HWND hwnd, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(hwnd, &p);
  return p;
}

// A skin change repaints what shows the skin and leaves other libraries'
// windows alone: not repainted, and not painted over by their parent,
// which (like the main window) does not clip its children.
TEST_F(FrameTest, SkinChangeLeavesOtherLibrariesWindowsAlone) {
  ASSERT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & WS_CLIPCHILDREN);
  HWND foreign = MakeForeignChild(hwnd);
  ASSERT_TRUE(foreign);
  HWND label = CreateWindowExW(0, L"Static", L"label", WS_CHILD | WS_VISIBLE, 250, 10, 100, 20,
                               hwnd, nullptr, nullptr, nullptr);
  ASSERT_TRUE(label);
  Pump(300);
  EXPECT_COLOR(ColorAt(OnScreen(foreign, 100, 50)), RGB(0, 0, 0));

  g_foreign_paints = 0;
  ASSERT_EQ(SkinH_AttachEx(InApp(kLight.File()), L""), 1);
  Pump(300);
  EXPECT_EQ(g_foreign_paints, 0);
  EXPECT_COLOR(ColorAt(OnScreen(foreign, 100, 50)), RGB(0, 0, 0));
  EXPECT_COLOR(ColorAt(OnScreen(foreign, 1, 1)), RGB(0, 0, 0));
  // The label asks the window for its colours; the window's own client
  // area around both children is the new face too.
  EXPECT_COLOR(ColorAt(OnScreen(label, 97, 2)), kLight[face]);
  EXPECT_COLOR(ColorAt(OnScreen(hwnd, 300, 200)), kLight[face]);
  EXPECT_COLOR(ColorAt(OnScreen(hwnd, 5, 50)), kLight[face]);
}

// A skin change while the window is minimised reaches its frame, which is
// all that shows of it, also when a child of another library keeps the
// window from being repainted whole: a later repaint changes nothing.
TEST_F(FrameTest, AMinimisedWindowShowsANewSkinAtOnce) {
  HWND foreign = MakeForeignChild(hwnd);  // over the whole client area, as a page is
  RECT client;
  GetClientRect(hwnd, &client);
  MoveWindow(foreign, 0, 0, client.right, client.bottom, TRUE);
  ShowWindow(hwnd, SW_MINIMIZE);
  Pump(300);
  ASSERT_TRUE(IsIconic(hwnd));
  RECT r = ScreenRectOfWindow(hwnd);
  ASSERT_GT(Shot(r).pixels().size(), 100u) << "the minimised window is off the screen";

  ASSERT_EQ(SkinH_AttachEx(InApp(kLight.File()), L""), 1);
  Pump(300);
  Shot changed = Shot::Settled(r);
  RedrawWindow(hwnd, nullptr, nullptr,
               RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump(300);
  Shot repainted = Shot::Settled(r);
  int moved = 0;
  for (size_t i = 0; i < changed.pixels().size() && i < repainted.pixels().size(); i++)
    moved += changed.pixels()[i] != repainted.pixels()[i];
  EXPECT_EQ(moved, 0);
  EXPECT_GT(repainted.CountNear(kLight[caption_active], 0) +
                repainted.CountNear(kLight[caption_inactive], 0),
            100);
  ShowWindow(hwnd, SW_RESTORE);
  Activate(hwnd);
  EXPECT_COLOR(ColorAt(CaptionSpot(hwnd)), kLight[caption_active]);
}

TEST_F(FrameTest, CaptionButtonsHoverPressAndDoTheirWork) {
  POINT close = FindHit(hwnd, HTCLOSE);
  POINT max = FindHit(hwnd, HTMAXBUTTON);
  POINT min = FindHit(hwnd, HTMINBUTTON);
  ASSERT_GE(close.x, 0);
  ASSERT_TRUE(max.x < close.x && min.x < max.x);
  POINT spot = CaptionSpot(hwnd);
  // A corner of the button, away from its glyph.
  POINT corner = {max.x - 8, max.y - 5};
  RECT inside = ScreenRectOfClient(hwnd);
  POINT in_client = {inside.left + 40, inside.top + 60};
  COLORREF hover = 0, close_at_rest = 0, left = 0, pressed = 0, dragged_off = 0, released = 0;
  COLORREF left_window = 0, late = 0, hover_again = 0, cancelled = 0;
  Act([&] {
    MoveTo(max);
    hover = ColorAt(corner);
    close_at_rest = ColorAt({close.x - 8, close.y - 5});
    MoveTo(spot);
    left = ColorAt(corner);
    MoveTo(max);
    MoveTo(in_client);  // straight off the frame, into the client area
    Sleep(600);         // Wine tells of the leave on a timer of the hover time
    left_window = ColorAt(corner);
    // A move handled after the pointer has gone on, off the window: no
    // leave comes for it, so it must light nothing.
    MoveTo({ScreenRectOfWindow(hwnd).right + 30, spot.y});
    SendMessageW(hwnd, WM_NCMOUSEMOVE, HTMAXBUTTON, MAKELPARAM(max.x, max.y));
    Sleep(600);
    late = ColorAt(corner);
    // Pressed, then released elsewhere: nothing happens.
    Down(max);
    pressed = ColorAt(corner);
    MoveTo(spot);
    dragged_off = ColorAt(corner);
    Up(spot);
    released = ColorAt(corner);
    // Pressed, then the press taken away by the system (a window that
    // takes the mouse, a menu, Alt+Tab).
    MoveTo(max);
    hover_again = ColorAt(corner);
    Down(max);
    SendMessageW(hwnd, WM_CANCELMODE, 0, 0);
    MoveTo(spot);
    cancelled = ColorAt(corner);
    Up(spot);
  });
  // At rest a button shows the caption band; under the pointer and held
  // down it shows otherwise.
  const COLORREF rest = kDark[caption_active];
  EXPECT_NE(Hex(hover), Hex(rest));
  EXPECT_NE(Hex(pressed), Hex(rest));
  EXPECT_NE(Hex(pressed), Hex(hover));  // a press is a further step, not the hover again
  EXPECT_COLOR(hover_again, hover);
  EXPECT_COLOR(close_at_rest, rest);
  EXPECT_COLOR(left, rest);
  EXPECT_COLOR(left_window, rest);
  EXPECT_COLOR(late, rest);
  EXPECT_COLOR(dragged_off, rest);
  EXPECT_COLOR(released, rest);
  EXPECT_COLOR(cancelled, rest);
  EXPECT_FALSE(IsZoomed(hwnd));

  Act([&] { Click(max); });
  EXPECT_TRUE(IsZoomed(hwnd));
  POINT restore = FindHit(hwnd, HTMAXBUTTON);
  Act([&] { Click(restore); });
  EXPECT_FALSE(IsZoomed(hwnd));
  Act([&] { Click(FindHit(hwnd, HTMINBUTTON)); });
  EXPECT_TRUE(IsIconic(hwnd));
  ShowWindow(hwnd, SW_RESTORE);
  Activate(hwnd);
  close = FindHit(hwnd, HTCLOSE);
  Act([&] { Click(close); });
  EXPECT_FALSE(IsWindow(hwnd));
}

// A window that refuses to close greys Close in its window menu (a message
// box with Yes and No does): its close button stays at rest under the
// pointer and when pressed, and a click leaves the window open. With Close
// enabled again the same moves light the button and close the window.
TEST_F(FrameTest, CloseButtonFollowsTheWindowMenusClose) {
  HMENU window_menu = GetSystemMenu(hwnd, FALSE);
  EnableMenuItem(window_menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  POINT close = FindHit(hwnd, HTCLOSE);
  ASSERT_GE(close.x, 0) << "the close button is still found where it is";
  POINT corner = {close.x - 8, close.y - 5};  // away from the glyph
  POINT spot = CaptionSpot(hwnd);
  const COLORREF rest = kDark[caption_active];
  for (bool enabled : {false, true}) {
    SCOPED_TRACE(enabled ? "enabled" : "greyed");
    COLORREF hover = 0, pressed = 0;
    Act([&] {
      MoveTo(close);
      hover = ColorAt(corner);
      Down(close);
      pressed = ColorAt(corner);
      MoveTo(spot);
      Up(spot);
    });
    if (!enabled) {
      EXPECT_COLOR(hover, rest);
      EXPECT_COLOR(pressed, rest);
      Act([&] { Click(close); });
      Pump(200);
      ASSERT_TRUE(IsWindow(hwnd)) << "a click on a disabled close button closed the window";
      EnableMenuItem(window_menu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    } else {
      EXPECT_NE(Hex(hover), Hex(rest));
      EXPECT_NE(Hex(pressed), Hex(rest));
      Act([&] { Click(close); });
      EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }, 2000));
    }
  }
}

// The window menu opened with Alt+Space and closed with Escape leaves the
// caption exactly as it was: the platform marks its own icon while that
// menu is open, where its caption has it, and nothing of that may stay.
TEST_F(FrameTest, TheWindowMenuLeavesTheCaptionAsItWas) {
  RECT band = ScreenRectOfWindow(hwnd);
  band.bottom = ScreenRectOfClient(hwnd).top;
  band.right = CaptionSpot(hwnd).x;  // the icon and the title, not the buttons
  Shot before = Shot::Settled(band);
  HWND menu = nullptr;
  Act([&] {
    AltPlus(VK_SPACE);
    menu = VisiblePopupMenu();
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
  });
  ASSERT_NE(menu, nullptr) << "Alt+Space opened no window menu";
  Pump(300);
  EXPECT_TRUE(Shot::Settled(band) == before) << "the caption changed after the window menu";
}

// Drags the caption, resizes by the right border, maximises by a double
// click and opens the system menu with Alt+Space, checking each.
void DragResizeMaximiseAndOpenTheSystemMenu(HWND hwnd) {
  POINT spot = CaptionSpot(hwnd);
  RECT before = ScreenRectOfWindow(hwnd);
  Act([&] {
    Down(spot);
    MoveTo({spot.x + 30, spot.y + 20});
    MoveTo({spot.x + 60, spot.y + 40});
    Up({spot.x + 60, spot.y + 40});
  });
  RECT after = ScreenRectOfWindow(hwnd);
  EXPECT_EQ(after.left - before.left, 60);
  EXPECT_EQ(after.top - before.top, 40);

  // The right border still resizes.
  POINT edge = {after.right - 2, (after.top + after.bottom) / 2};
  ASSERT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)), HTRIGHT);
  Act([&] {
    Down(edge);
    MoveTo({edge.x + 20, edge.y});
    MoveTo({edge.x + 40, edge.y});
    Up({edge.x + 40, edge.y});
  });
  RECT wider = ScreenRectOfWindow(hwnd);
  EXPECT_EQ(wider.right - after.right, 40);
  EXPECT_EQ(wider.left, after.left);

  spot = CaptionSpot(hwnd);
  Act([&] {
    Click(spot);
    Click(spot);
  });
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) != FALSE; }, 1000));
  ShowWindow(hwnd, SW_RESTORE);
  Pump(200);

  HWND system_menu = nullptr;
  Act([&] {
    AltPlus(VK_SPACE);
    system_menu = VisiblePopupMenu();
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
  });
  EXPECT_TRUE(system_menu);
}

TEST_F(FrameTest, CaptionStillDragsBorderResizesDoubleClickMaximisesAltSpaceOpensSystemMenu) {
  DragResizeMaximiseAndOpenTheSystemMenu(hwnd);
}

// The same with a shipped picture skin, whose caption and caption buttons
// are pictures: only pixels differ.
TEST_F(FrameTest, WithAPictureSkinTheFrameStillDragsResizesMaximisesAndOpensItsMenu) {
  ASSERT_EQ(SkinH_AttachEx(InApp(L"Skin\\\u56de\u7eb9.she"), L""), 1);  // 回纹
  Pump(200);
  DragResizeMaximiseAndOpenTheSystemMenu(hwnd);
}

// The same window made by a thread the engine does not follow.
SIZE UnskinnedClientSize() {
  SIZE size = {};
  std::thread other([&] {
    HWND plain = MakeWindow(700, 400, L"Plain");
    RECT rc;
    GetClientRect(plain, &rc);
    size = {rc.right, rc.bottom};
    DestroyWindow(plain);
  });
  other.join();
  return size;
}

TEST_F(FrameTest, TheMenuBarShowsTheSkinAndTheClientSizeIsKept) {
  RECT client;
  GetClientRect(hwnd, &client);
  SIZE plain = UnskinnedClientSize();
  EXPECT_EQ(client.right, plain.cx);
  EXPECT_EQ(client.bottom, plain.cy);
  Activate(hwnd);

  HMENU bar = GetMenu(hwnd);
  wchar_t text[64];
  EXPECT_EQ(GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION), 6);
  EXPECT_STREQ(text, L"\u5e38\u89c4(&N)");

  MENUBARINFO first = {sizeof first};
  ASSERT_TRUE(GetMenuBarInfo(hwnd, OBJID_MENU, 1, &first));
  Shot bar_shot(first.rcBar);
  EXPECT_COLOR(bar_shot.At(first.rcBar.left + 1, first.rcBar.top + 1), kDark[menu]);
  EXPECT_GT(bar_shot.CountNear(kDark[menu_text], 40), 10);
  MENUBARINFO whole = {sizeof whole};
  ASSERT_TRUE(GetMenuBarInfo(hwnd, OBJID_MENU, 0, &whole));
  EXPECT_COLOR(ColorAt({whole.rcBar.right - 3, whole.rcBar.bottom - 3}), kDark[menu]);

  // Under the pointer an item stands apart from the bar at rest and from an
  // open item, on the platform's frame too; in the client area it rests.
  const POINT back = {first.rcBar.left + 2, first.rcBar.top + 2};  // off the text
  COLORREF hover = 0, left = 0;
  Act([&] {
    MoveTo({back.x + 1, back.y + 1});
    hover = ColorAt(back);
    const RECT client = ScreenRectOfClient(hwnd);
    MoveTo({(client.left + client.right) / 2, (client.top + client.bottom) / 2});
    left = ColorAt(back);
  });
  EXPECT_GE(look::Contrast(hover, kDark[menu]), 1.2) << Hex(hover);
  EXPECT_GE(look::Contrast(hover, kDark[menu_highlight]), 1.2) << Hex(hover);
  EXPECT_COLOR(left, kDark[menu]);
}

// The bottom right pixel of the picture Windows fades a menu in from
// (WM_PRINT into a DC), and whether the DC came back clipped.
COLORREF PrintedCorner(HWND popup, const RECT& pr, int* clipped) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, pr.right - pr.left, pr.bottom - pr.top);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageW(popup, WM_PRINT, reinterpret_cast<WPARAM>(dc),
               PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  COLORREF corner = GetPixel(dc, pr.right - pr.left - 1, pr.bottom - pr.top - 1);
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  *clipped = GetClipRgn(dc, clip);
  DeleteObject(clip);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return corner;
}

TEST_F(FrameTest, AnOpenMenuIsDrawnInTheSkinAndItsItemsReadBackAsMade) {
  Activate(hwnd);
  HMENU normal = GetSubMenu(GetMenu(hwnd), 0);
  MENUBARINFO first = {sizeof first};
  ASSERT_TRUE(GetMenuBarInfo(hwnd, OBJID_MENU, 1, &first));

  // Alt+N opens the first menu, drawn in the skin, with its bar item lit
  // and its first item highlighted; R then chooses Refresh, as without the
  // engine.
  struct {
    HWND popup = nullptr;
    COLORREF edge = 0, inside = 0, bar_item = 0, printed_edge = 0, lit_back = 0;
    int printed_clip = -1;
    int text_pixels = 0, system_pixels = -1, text_length = 0;
    int lit_text_pixels = 0, lit_plain_text_pixels = -1;
    LRESULT lower_key = 0, upper_key = 0;
    wchar_t text[64] = {};
    bool closed = false;
  } open;
  g_last_command = 0;
  RECT inside = engine_test::ScreenRectOfClient(hwnd);
  Act([&] {
    // A user clicks into the window first; Wine's keyboard input
    // reaches a window reliably once it has had a click.
    Click({(inside.left + inside.right) / 2, (inside.top + inside.bottom) / 2});
    AltPlus('N');
    open.popup = VisiblePopupMenu();
    if (!open.popup) return;
    RECT pr = ScreenRectOfWindow(open.popup);
    Shot shot(pr);
    open.edge = shot.At(pr.right - 1, pr.bottom - 1);
    open.inside = shot.At(pr.right - 3, pr.bottom - 3);
    open.text_pixels = shot.CountNear(kDark[menu_text], 40);
    RECT lit = {};
    for (int pos = 0; pos < GetMenuItemCount(normal); pos++) {
      if (GetMenuState(normal, pos, MF_BYPOSITION) & MF_HILITE)
        GetMenuItemRect(nullptr, normal, pos, &lit);
    }
    Shot lit_shot(lit);
    open.lit_back = lit_shot.At(lit.right - 3, lit.top + 2);
    open.lit_text_pixels = lit_shot.CountNear(kDark[menu_highlight_text], 24);
    open.lit_plain_text_pixels = lit_shot.CountNear(kDark[menu_text], 24);
    // Access keys whatever their case, as Windows asks the window for
    // them on owner-drawn items.
    open.lower_key = SendMessageW(hwnd, WM_MENUCHAR, MAKEWPARAM(L'r', MF_POPUP), LPARAM(normal));
    open.upper_key = SendMessageW(hwnd, WM_MENUCHAR, MAKEWPARAM(L'R', MF_POPUP), LPARAM(normal));
    open.system_pixels =
        SystemPixels(shot, kDark,
                     {COLOR_MENU, COLOR_MENUTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                      COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW});
    open.bar_item = ColorAt({first.rcBar.left + 2, first.rcBar.top + 2});
    open.printed_edge = PrintedCorner(open.popup, pr, &open.printed_clip);
    open.text_length = GetMenuStringW(normal, 102, open.text, 64, MF_BYCOMMAND);
    Press('R');
    open.closed = !IsWindowVisible(open.popup);
  });
  ASSERT_TRUE(open.popup);
  EXPECT_COLOR(open.edge, kDark[border]);
  EXPECT_COLOR(open.printed_edge, kDark[border]);
  EXPECT_EQ(open.printed_clip, 0);  // the DC is given back unclipped
  EXPECT_COLOR(open.inside, kDark[menu]);
  EXPECT_GT(open.text_pixels, 20);
  EXPECT_EQ(open.system_pixels, 0);
  EXPECT_COLOR(open.bar_item, kDark[menu_highlight]);
  EXPECT_COLOR(open.lit_back, kDark[menu_highlight]);
  EXPECT_GT(open.lit_text_pixels, 10);
  EXPECT_EQ(open.lit_plain_text_pixels, 0);
  EXPECT_EQ(open.lower_key, MAKELRESULT(2, MNC_EXECUTE));
  EXPECT_EQ(open.upper_key, MAKELRESULT(2, MNC_EXECUTE));
  // While open the items are the engine's; their texts stay readable.
  EXPECT_EQ(open.text_length, 6);
  EXPECT_STREQ(open.text, L"\u5237\u65b0(&R)");
  EXPECT_TRUE(open.closed);
  EXPECT_TRUE(PumpUntil([] { return g_last_command == 102; }, 1000));

  // Closed again, every item reads back as the program made it.
  for (int pos : {0, 2, 4}) {
    MENUITEMINFOW info = {sizeof info, MIIM_FTYPE | MIIM_DATA | MIIM_ID};
    ASSERT_TRUE(GetMenuItemInfoW(normal, pos, TRUE, &info));
    EXPECT_EQ(info.fType, UINT(MFT_STRING));
    EXPECT_EQ(info.dwItemData, 0u);
    EXPECT_EQ(info.wID, UINT(101 + pos / 2));
  }
  MENUITEMINFOW separator = {sizeof separator, MIIM_FTYPE};
  ASSERT_TRUE(GetMenuItemInfoW(normal, 1, TRUE, &separator));
  EXPECT_EQ(separator.fType, UINT(MFT_SEPARATOR));
}

TEST_F(FrameTest, TheProgramsOwnerDrawnItemIsDrawnByTheProgram) {
  Activate(hwnd);
  HMENU bar = GetMenu(hwnd);
  RECT inside = engine_test::ScreenRectOfClient(hwnd);
  Act([&] { Click({(inside.left + inside.right) / 2, (inside.top + inside.bottom) / 2}); });

  // The second menu by its access key, with the program's own owner-drawn
  // item drawn by the program; Escape twice; then Alt+N, H.
  HWND second = nullptr;
  int own_pixels = 0;
  g_last_command = 0;
  g_own_measured = g_own_drawn = 0;
  Act([&] {
    AltPlus('O');
    second = VisiblePopupMenu();
    if (second) own_pixels = Shot(ScreenRectOfWindow(second)).CountNear(kOwnInk, 0);
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
    AltPlus('N');
    Press('H');
  });
  EXPECT_TRUE(second);
  EXPECT_GT(g_own_measured, 0);
  EXPECT_GT(g_own_drawn, 0);
  EXPECT_GT(own_pixels, 60 * 20 / 2);
  MENUITEMINFOW own = {sizeof own, MIIM_FTYPE | MIIM_DATA};
  ASSERT_TRUE(GetMenuItemInfoW(GetSubMenu(bar, 1), 105, FALSE, &own));
  EXPECT_EQ(own.fType, UINT(MFT_OWNERDRAW));
  EXPECT_EQ(own.dwItemData, kOwnItem);
  EXPECT_TRUE(PumpUntil([] { return g_last_command == 103; }, 1000));
}

// What the engine tells the platform an item of an open menu needs.
UINT MeasuredWidth(HWND owner, HMENU menu, int pos) {
  MENUITEMINFOW info = {sizeof info, MIIM_DATA | MIIM_ID};
  if (!GetMenuItemInfoW(menu, pos, TRUE, &info)) return 0;
  MEASUREITEMSTRUCT m = {ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
  SendMessageW(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
  return m.itemWidth;
}

// An item that opens a submenu has a column of its own for its arrow,
// right of its shortcut, and the arrow is in the skin's text colour; the
// platform's own arrow, drawn after the item on a block of system colour,
// does not get through.
TEST_F(FrameTest, ASubmenuArrowHasItsOwnColumnInTheSkin) {
  HMENU options = GetSubMenu(GetMenu(hwnd), 1);
  HMENU more = CreatePopupMenu();
  AppendMenuW(more, MF_STRING, 106, L"Inner");
  AppendMenuW(options, MF_STRING, 107, L"Mmmmmmmm\tF9");
  AppendMenuW(options, MF_POPUP, reinterpret_cast<UINT_PTR>(more), L"Mmmmmmmm\tF9");
  const int pos = GetMenuItemCount(options) - 1;
  Activate(hwnd);
  struct {
    bool open = false;
    int other_pixels = -1, ink_pixels = 0;
    UINT plain_width = 0, arrow_width = 0;
  } seen;
  RECT inside = ScreenRectOfClient(hwnd);
  Act([&] {
    Click({(inside.left + inside.right) / 2, (inside.top + inside.bottom) / 2});
    AltPlus('O');
    if (!VisiblePopupMenu()) return;
    seen.open = true;
    seen.plain_width = MeasuredWidth(hwnd, options, pos - 1);
    seen.arrow_width = MeasuredWidth(hwnd, options, pos);
    RECT item;
    if (!GetMenuItemRect(nullptr, options, pos, &item)) return;  // on the menu's window
    // The arrow's column: only the menu colour and the text colour, and
    // no more of the text colour than an arrow takes.
    RECT arrow = {item.right - 16, item.top, item.right, item.bottom};
    Shot shot(arrow);
    const COLORREF back = kDark[menu], ink = kDark[menu_text];
    seen.ink_pixels = shot.CountNear(ink, 0);
    seen.other_pixels = int(shot.pixels().size()) - shot.CountNear(back, 0) - seen.ink_pixels;
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
  });
  DeleteMenu(options, pos, MF_BYPOSITION);
  DeleteMenu(options, pos - 1, MF_BYPOSITION);
  ASSERT_TRUE(seen.open);
  EXPECT_GE(seen.arrow_width, seen.plain_width + 16);
  EXPECT_EQ(seen.other_pixels, 0);
  EXPECT_GT(seen.ink_pixels, 6);
  EXPECT_LE(seen.ink_pixels, 40);
}

// Items that the program adds as a menu opens, in its WM_INITMENUPOPUP,
// are drawn by the engine like the others.
TEST_F(FrameTest, ItemsTheProgramAddsAsAMenuOpensAreDrawnInTheSkin) {
  HMENU options = GetSubMenu(GetMenu(hwnd), 1);
  g_add_on_open = options;
  g_opened = 0;
  Activate(hwnd);
  struct {
    bool open = false;
    UINT type = 0;
    int text_pixels = 0, system_pixels = -1;
  } seen;
  RECT inside = ScreenRectOfClient(hwnd);
  Act([&] {
    Click({(inside.left + inside.right) / 2, (inside.top + inside.bottom) / 2});
    AltPlus('O');
    if (!VisiblePopupMenu()) return;
    seen.open = true;
    const int pos = GetMenuItemCount(options) - 1;
    RECT item = {};
    MENUITEMINFOW info = {sizeof info, MIIM_FTYPE | MIIM_ID};
    if (GetMenuItemInfoW(options, pos, TRUE, &info) && info.wID == kAddedItem &&
        GetMenuItemRect(nullptr, options, pos, &item)) {
      seen.type = info.fType;
      Shot shot(item);
      seen.text_pixels = shot.CountNear(kDark[menu_text], 40);
      seen.system_pixels = SystemPixels(
          shot, kDark,
          {COLOR_MENU, COLOR_MENUTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT});
    }
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
  });
  g_add_on_open = nullptr;
  DeleteMenu(options, kAddedItem, MF_BYCOMMAND);
  ASSERT_TRUE(seen.open);
  EXPECT_GT(g_opened, 0);
  EXPECT_TRUE(seen.type & MFT_OWNERDRAW) << "the added item is drawn by the platform";
  EXPECT_GT(seen.text_pixels, 5);
  EXPECT_EQ(seen.system_pixels, 0);
}

}  // namespace
