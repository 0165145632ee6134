// The frames and menus that the real dulib.dll draws, worked with the
// mouse and keyboard as a user works them, and read back from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <utility>

#include "screen.h"
#include "skin_colors.h"
#include "skin/she_file.h"
#include "skin/skin_state.h"
#include "support/wine_test.h"

namespace {

using engine_test::FindMessageBox;
using engine_test::Hex;
using engine_test::PaletteOf;
using engine_test::Ref;
using engine_test::ScreenRectOfWindow;
using engine_test::Shot;
using skin::Role;
using wine_test::Gbk;
using wine_test::InApp;
using wine_test::Pump;
using wine_test::PumpUntil;

struct Engine {
  HMODULE dll = LoadLibraryW(L"dulib.dll");
  int(__stdcall* attach_ex)(const char*, const char*) =
      reinterpret_cast<decltype(attach_ex)>(GetProcAddress(dll, "SkinH_AttachEx"));
  int(__stdcall* adjust_hsv)(int, int, int) =
      reinterpret_cast<decltype(adjust_hsv)>(GetProcAddress(dll, "SkinH_AdjustHSV"));
};

Engine& TheEngine() {
  static Engine engine;
  return engine;
}

// Pixels in any of these system colours that the skin does not use itself.
int SystemPixels(const Shot& shot, const skin::Palette& p, std::initializer_list<int> colors) {
  int n = 0;
  for (int index : colors) {
    COLORREF c = GetSysColor(index);
    bool in_skin = false;
    for (skin::Rgb s : p.colors) in_skin |= RGB(s.r, s.g, s.b) == c;
    if (!in_skin) n += shot.CountNear(c, 0);
  }
  return n;
}

const wchar_t kDark[] = L"Skin\\Graphite.she";
const wchar_t kLight[] = L"Skin\\Jade.she";

// ---- a user's hands -----------------------------------------------------------
// The platform's move loop and menu loop are modal: while they run, the
// test's own thread is inside them. So the user's actions (and the looks
// taken meanwhile) run on a second thread while this one handles events.

void Act(const std::function<void()>& user) {
  std::atomic<bool> done{false};
  std::thread hands([&] {
    user();
    done = true;
  });
  PumpUntil([&] { return done.load(); }, 20000);
  hands.join();
  Pump(100);
}

void Mouse(DWORD flags, POINT at) {
  SetCursorPos(at.x, at.y);
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &in, sizeof in);
  Sleep(200);
}
void MoveTo(POINT at) { Mouse(0, at); }
void Down(POINT at) { Mouse(MOUSEEVENTF_LEFTDOWN, at); }
void Up(POINT at) { Mouse(MOUSEEVENTF_LEFTUP, at); }
void Click(POINT at) {
  Down(at);
  Up(at);
}

void Keys(std::initializer_list<std::pair<WORD, bool>> strokes) {  // key, down
  for (auto [key, down] : strokes) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
    Sleep(60);
  }
  Sleep(300);
}
void Press(WORD key) { Keys({{key, true}, {key, false}}); }
void AltPlus(WORD key) { Keys({{VK_MENU, true}, {key, true}, {key, false}, {VK_MENU, false}}); }

// ---- the window ---------------------------------------------------------------------

const wchar_t kClass[] = L"FrameTestWindow";
UINT g_last_command = 0;
// The program's own owner-drawn menu item, told by its item data.
constexpr ULONG_PTR kOwnItem = 0x5EED;
constexpr COLORREF kOwnInk = RGB(1, 2, 3);
int g_own_measured = 0, g_own_drawn = 0;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) g_last_command = LOWORD(wp);
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
  void SetUp() override {
    ASSERT_TRUE(engine.attach_ex && engine.adjust_hsv);
    ASSERT_EQ(engine.adjust_hsv(0, 0, 0), 1);
    ASSERT_EQ(engine.attach_ex(Gbk(InApp(kDark)).c_str(), ""), 1);
    hwnd = MakeWindow(60, 60, L"Frame test \u6846\u67b6");
    ASSERT_TRUE(hwnd);
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    Pump(100);
  }
  Engine& engine = TheEngine();
  HWND hwnd = nullptr;
};

TEST_F(FrameTest, CaptionShowsTheSkinActiveOrInactiveAndFollowsHueAndPreview) {
  skin::Palette dark = PaletteOf(kDark);
  ASSERT_NE(Hex(Ref(dark, Role::CaptionActive)), Hex(Ref(dark, Role::CaptionInactive)));
  POINT spot = CaptionSpot(hwnd);
  ASSERT_GE(spot.x, 0);
  EXPECT_COLOR(ColorAt(spot), Ref(dark, Role::CaptionActive));
  // Title text, drawn in the skin's caption text colour.
  RECT band = TitleBand(hwnd);
  EXPECT_GT(Shot(band).CountNear(Ref(dark, Role::CaptionActiveText), 40), 10);
  // Nothing of the platform's own caption shows: its colours, or its
  // caption buttons (letters in a grey box under Xvfb).
  EXPECT_EQ(SystemPixels(Shot(band), dark,
                         {COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION, COLOR_CAPTIONTEXT,
                          COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT}),
            0);

  // Another window takes the focus: this caption turns inactive.
  HWND other = MakeWindow(620, 60, L"Other");
  EXPECT_COLOR(ColorAt(spot), Ref(dark, Role::CaptionInactive));
  DestroyWindow(other);
  Activate(hwnd);
  EXPECT_COLOR(ColorAt(spot), Ref(dark, Role::CaptionActive));

  // A new title is drawn by us, not by the platform.
  SetWindowTextW(hwnd, L"Renamed");
  Pump(100);
  EXPECT_COLOR(ColorAt(spot), Ref(dark, Role::CaptionActive));
  EXPECT_EQ(SystemPixels(Shot(band), dark, {COLOR_ACTIVECAPTION, COLOR_CAPTIONTEXT}), 0);

  // A hue shift and a newly attached skin repaint caption and menu bar.
  MENUBARINFO bar = {sizeof bar};
  ASSERT_TRUE(GetMenuBarInfo(hwnd, OBJID_MENU, 0, &bar));
  POINT bar_end = {bar.rcBar.right - 3, bar.rcBar.bottom - 3};
  POINT bar_item = {bar.rcBar.left + 3, bar.rcBar.top + 3};
  ASSERT_EQ(engine.adjust_hsv(120, 0, 0), 1);  // the shift, then a preview under it
  for (const wchar_t* file : {kDark, kLight}) {
    if (file == kLight) {
      ASSERT_EQ(engine.attach_ex(Gbk(InApp(file)).c_str(), ""), 1);
    }
    Pump(100);
    skin::Palette shifted = PaletteOf(file, 120);
    EXPECT_COLOR(ColorAt(spot), Ref(shifted, Role::CaptionActive));
    EXPECT_COLOR(ColorAt(bar_end), Ref(shifted, Role::Menu));
    EXPECT_COLOR(ColorAt(bar_item), Ref(shifted, Role::Menu));
  }
  ASSERT_EQ(engine.adjust_hsv(0, 0, 0), 1);
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
  ASSERT_EQ(engine.attach_ex(Gbk(InApp(kLight)).c_str(), ""), 1);
  Pump(300);
  skin::Palette light = PaletteOf(kLight);
  EXPECT_EQ(g_foreign_paints, 0);
  EXPECT_COLOR(ColorAt(OnScreen(foreign, 100, 50)), RGB(0, 0, 0));
  EXPECT_COLOR(ColorAt(OnScreen(foreign, 1, 1)), RGB(0, 0, 0));
  // The label asks the window for its colours; the window's own client
  // area around both children is the new face too.
  EXPECT_COLOR(ColorAt(OnScreen(label, 97, 2)), Ref(light, Role::Face));
  EXPECT_COLOR(ColorAt(OnScreen(hwnd, 300, 200)), Ref(light, Role::Face));
  EXPECT_COLOR(ColorAt(OnScreen(hwnd, 5, 50)), Ref(light, Role::Face));
}

TEST_F(FrameTest, CaptionButtonsHoverPressAndDoTheirWork) {
  skin::Palette p = PaletteOf(kDark);
  POINT close = FindHit(hwnd, HTCLOSE);
  POINT max = FindHit(hwnd, HTMAXBUTTON);
  POINT min = FindHit(hwnd, HTMINBUTTON);
  ASSERT_GE(close.x, 0);
  ASSERT_TRUE(max.x < close.x && min.x < max.x);
  POINT spot = CaptionSpot(hwnd);
  // A corner of the button, away from its glyph.
  POINT corner = {max.x - 8, max.y - 5};
  COLORREF hover = 0, close_at_rest = 0, left = 0, pressed = 0, dragged_off = 0;
  Act([&] {
    MoveTo(max);
    hover = ColorAt(corner);
    close_at_rest = ColorAt({close.x - 8, close.y - 5});
    MoveTo(spot);
    left = ColorAt(corner);
    // Pressed, then released elsewhere: nothing happens.
    Down(max);
    pressed = ColorAt(corner);
    MoveTo(spot);
    dragged_off = ColorAt(corner);
    Up(spot);
  });
  // Graphite's active band is #32435A: hover moves it 1.4:1 toward the
  // caption text (#FFFFFF), pressed 1.25:1 further.
  EXPECT_COLOR(hover, RGB(0x49, 0x59, 0x6D));
  EXPECT_COLOR(close_at_rest, Ref(p, Role::CaptionActive));
  EXPECT_COLOR(left, Ref(p, Role::CaptionActive));
  EXPECT_COLOR(pressed, RGB(0x59, 0x68, 0x7A));
  EXPECT_COLOR(dragged_off, Ref(p, Role::CaptionActive));
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

TEST_F(FrameTest, CaptionStillDragsBorderResizesDoubleClickMaximisesAltSpaceOpensSystemMenu) {
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

TEST_F(FrameTest, MenusShowTheSkinAndKeepTheirTextsAccessKeysAndClientSize) {
  skin::Palette p = PaletteOf(kDark);
  RECT client;
  GetClientRect(hwnd, &client);
  SIZE plain = UnskinnedClientSize();
  EXPECT_EQ(client.right, plain.cx);
  EXPECT_EQ(client.bottom, plain.cy);
  Activate(hwnd);

  HMENU bar = GetMenu(hwnd);
  HMENU normal = GetSubMenu(bar, 0);
  wchar_t text[64];
  EXPECT_EQ(GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION), 6);
  EXPECT_STREQ(text, L"\u5e38\u89c4(&N)");

  MENUBARINFO first = {sizeof first};
  ASSERT_TRUE(GetMenuBarInfo(hwnd, OBJID_MENU, 1, &first));
  Shot bar_shot(first.rcBar);
  EXPECT_COLOR(bar_shot.At(first.rcBar.left + 1, first.rcBar.top + 1), Ref(p, Role::Menu));
  EXPECT_GT(bar_shot.CountNear(Ref(p, Role::MenuText), 40), 10);
  MENUBARINFO whole = {sizeof whole};
  ASSERT_TRUE(GetMenuBarInfo(hwnd, OBJID_MENU, 0, &whole));
  EXPECT_COLOR(ColorAt({whole.rcBar.right - 3, whole.rcBar.bottom - 3}), Ref(p, Role::Menu));

  // Alt+N opens the first menu, drawn in the skin, with its bar item lit;
  // R then chooses Refresh, as without the engine.
  struct {
    HWND popup = nullptr;
    COLORREF edge = 0, inside = 0, bar_item = 0, printed_edge = 0;
    int printed_clip = -1;
    int text_pixels = 0, system_pixels = -1, text_length = 0;
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
    open.text_pixels = shot.CountNear(Ref(p, Role::MenuText), 40);
    open.system_pixels =
        SystemPixels(shot, p,
                     {COLOR_MENU, COLOR_MENUTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                      COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW});
    open.bar_item = ColorAt({first.rcBar.left + 2, first.rcBar.top + 2});
    {
      // The picture Windows fades a menu in from: WM_PRINT into a DC.
      HDC screen = GetDC(nullptr);
      HDC dc = CreateCompatibleDC(screen);
      HBITMAP bitmap = CreateCompatibleBitmap(screen, pr.right - pr.left, pr.bottom - pr.top);
      ReleaseDC(nullptr, screen);
      HGDIOBJ old = SelectObject(dc, bitmap);
      SendMessageW(open.popup, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                   PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
      open.printed_edge = GetPixel(dc, pr.right - pr.left - 1, pr.bottom - pr.top - 1);
      HRGN clip = CreateRectRgn(0, 0, 0, 0);
      open.printed_clip = GetClipRgn(dc, clip);
      DeleteObject(clip);
      SelectObject(dc, old);
      DeleteObject(bitmap);
      DeleteDC(dc);
    }
    open.text_length = GetMenuStringW(normal, 102, open.text, 64, MF_BYCOMMAND);
    Press('R');
    open.closed = !IsWindowVisible(open.popup);
  });
  ASSERT_TRUE(open.popup);
  EXPECT_COLOR(open.edge, Ref(p, Role::Border));
  EXPECT_COLOR(open.printed_edge, Ref(p, Role::Border));
  EXPECT_EQ(open.printed_clip, 0);  // the DC is given back unclipped
  EXPECT_COLOR(open.inside, Ref(p, Role::Menu));
  EXPECT_GT(open.text_pixels, 20);
  EXPECT_EQ(open.system_pixels, 0);
  EXPECT_COLOR(open.bar_item, Ref(p, Role::MenuHighlight));
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

// An item that opens a submenu shows its arrow in the skin's text colour;
// the platform's own arrow, drawn after the item on a block of system
// colour, does not get through.
TEST_F(FrameTest, ASubmenuArrowIsDrawnInTheSkin) {
  skin::Palette p = PaletteOf(kDark);
  HMENU options = GetSubMenu(GetMenu(hwnd), 1);
  HMENU more = CreatePopupMenu();
  AppendMenuW(more, MF_STRING, 106, L"Inner");
  AppendMenuW(options, MF_POPUP, reinterpret_cast<UINT_PTR>(more), L"More");
  const int pos = GetMenuItemCount(options) - 1;
  Activate(hwnd);
  struct {
    bool open = false;
    int other_pixels = -1, ink_pixels = 0;
  } seen;
  RECT inside = engine_test::ScreenRectOfClient(hwnd);
  Act([&] {
    Click({(inside.left + inside.right) / 2, (inside.top + inside.bottom) / 2});
    AltPlus('O');
    if (!VisiblePopupMenu()) return;
    seen.open = true;
    RECT item;
    if (!GetMenuItemRect(nullptr, options, pos, &item)) return;  // on the menu's window
    RECT arrow = {item.right - 20, item.top, item.right, item.bottom};
    Shot shot(arrow);
    // Only the menu colour and the text colour: nothing of another arrow.
    const COLORREF back = Ref(p, Role::Menu), ink = Ref(p, Role::MenuText);
    seen.other_pixels = 0;
    for (LONG y = arrow.top; y < arrow.bottom; y++) {
      for (LONG x = arrow.left; x < arrow.right; x++) {
        COLORREF c = shot.At(x, y);
        seen.other_pixels += c != back && c != ink;
      }
    }
    seen.ink_pixels = shot.CountNear(ink, 0);
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
  });
  DeleteMenu(options, pos, MF_BYPOSITION);
  ASSERT_TRUE(seen.open);
  EXPECT_EQ(seen.other_pixels, 0);
  EXPECT_GT(seen.ink_pixels, 6);
}

}  // namespace
