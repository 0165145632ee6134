// Frames at the skin's own sizes (caption_height, border_width,
// corner_radius) on real windows, worked with the mouse as a user works
// them. The sizes a test expects are written here for each DPI, not
// worked out by the engine's code.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "support/hands.h"
#include "skins/SkinH.h"
#include "skins/frmSkin.h"
#include "support/screen.h"
#include "support/wine_test.h"
#include "test_skins.h"

namespace {

using namespace engine_test;
using namespace SkinH;
using wine_test::InApp;
using wine_test::Pump;
using wine_test::PumpUntil;

// caption_height = 40 and border_width = 6 in pixels at the display's DPI.
struct Sizes {
  int dpi, border, caption;
};
constexpr Sizes kSizes[] = {{96, 6, 40}, {144, 9, 60}};

const Sizes& Expected() {
  const char* env = std::getenv("FRAME_DPI");
  int dpi = env ? std::atoi(env) : 96;
  for (const Sizes& s : kSizes) {
    if (s.dpi == dpi) return s;
  }
  return kSizes[0];
}

// The dark test skin with frame sizes of its own; `extra` adds keys.
std::wstring WriteSizedSkin(const wchar_t* name, const std::string& extra) {
  std::wstring path = InApp(L"Skin\\" + std::wstring(name) + L".she");
  wine_test::WriteBytes(path, SkinText(kDark) + "caption_height = 40\nborder_width = 6\n" + extra);
  return path;
}

const wchar_t kTall[] = L"Skin\\Tall.she";    // caption 40, border 6
const wchar_t kRound[] = L"Skin\\Round.she";  // the same with corner_radius = 8

COLORREF ColorAt(POINT p) { return Shot({p.x, p.y, p.x + 1, p.y + 1}).At(p.x, p.y); }

LRESULT HitAt(HWND hwnd, POINT p) {
  return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
}

RECT WorkArea() {
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

// Window rectangles side by side, so a failure reads well.
std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}
#define EXPECT_RECT(actual, expected) EXPECT_EQ(Text(actual), Text(expected))

// How far the client area lies inside the window on each side.
RECT Insets(HWND hwnd) {
  RECT w = ScreenRectOfWindow(hwnd), c = ScreenRectOfClient(hwnd);
  return {c.left - w.left, c.top - w.top, w.right - c.right, w.bottom - c.bottom};
}

// Whether the window has a region (the skin's round corners).
bool HasRegion(HWND hwnd) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const bool has = GetWindowRgn(hwnd, region) != ERROR;
  DeleteObject(region);
  return has;
}

HMENU MakeMenuBar() {
  HMENU bar = CreateMenu();
  HMENU normal = CreatePopupMenu();
  AppendMenuW(normal, MF_STRING, 101, L"\u8fd4\u56de(&B)");  // 返回(&B)
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(normal), L"\u5e38\u89c4(&N)");
  return bar;
}

// A window of `style` whose client area is `width` x `height` in the
// platform's frame, as a program that lays out its controls makes it,
// with a button in the client area's bottom right corner.
HWND MakeSizedWindow(DWORD style, int width, int height, bool menu) {
  static const bool registered = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"FrameSizesWindow";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  RECT r = {0, 0, width, height};
  AdjustWindowRectEx(&r, style, menu, 0);
  HWND hwnd = CreateWindowExW(0, L"FrameSizesWindow", L"Sizes \u5c3a\u5bf8", style, 80, 80,
                              r.right - r.left, r.bottom - r.top, nullptr,
                              menu ? MakeMenuBar() : nullptr, GetModuleHandleW(nullptr), nullptr);
  CreateWindowExW(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE, width - 80, height - 30, 80, 30, hwnd,
                  nullptr, nullptr, nullptr);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  SetForegroundWindow(hwnd);
  PumpUntil([hwnd] { return GetForegroundWindow() == hwnd; }, 2000);
  Pump(300);
  return hwnd;
}

constexpr DWORD kFixed = WS_POPUP | WS_CAPTION | WS_SYSMENU;  // as the skin dialog

class FrameSizesTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    WriteSkin(kDark);
    WriteSizedSkin(L"Tall", "");
    WriteSizedSkin(L"Round", "corner_radius = 8\n");
  }
  void SetUp() override {
    ASSERT_EQ(SkinH_AttachEx(InApp(kTall), L""), 1);
    hwnd = MakeSizedWindow(WS_OVERLAPPEDWINDOW, 480, 320, false);
    ASSERT_TRUE(hwnd);
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    ASSERT_EQ(SkinH_AttachEx(InApp(kDark.File()), L""), 1);
    Pump(100);
  }
  // A point of the caption with nothing on it.
  POINT CaptionSpot() const {
    RECT w = ScreenRectOfWindow(hwnd);
    return {(w.left + w.right) / 2, w.top + Expected().border + Expected().caption / 2};
  }
  HWND hwnd = nullptr;
};

TEST_F(FrameSizesTest, ClientAreaIsTheWindowLessTheSkinsFrame) {
  const Sizes& s = Expected();
  HDC screen = GetDC(nullptr);
  ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), s.dpi);
  ReleaseDC(nullptr, screen);
  EXPECT_RECT(Insets(hwnd), (RECT{s.border, s.border + s.caption, s.border, s.border}));

  // With a menu bar, the bar lies between caption and client area.
  HWND with_bar = MakeSizedWindow(WS_OVERLAPPEDWINDOW, 480, 320, true);
  RECT in = Insets(with_bar);
  RECT w = ScreenRectOfWindow(with_bar);
  int x = w.left + 30;
  EXPECT_EQ(in.left, s.border);
  EXPECT_GT(in.top, s.border + s.caption + 10);
  EXPECT_EQ(HitAt(with_bar, {x, w.top + s.border + s.caption - 1}), HTCAPTION);
  EXPECT_EQ(HitAt(with_bar, {x, w.top + s.border + s.caption}), HTMENU);
  EXPECT_EQ(HitAt(with_bar, {x, w.top + in.top - 1}), HTMENU);
  EXPECT_EQ(HitAt(with_bar, {x, w.top + in.top}), HTCLIENT);
  DestroyWindow(with_bar);

  // The sizing border is exactly as wide as the skin says.
  w = ScreenRectOfWindow(hwnd);
  int y = (w.top + w.bottom) / 2;
  EXPECT_EQ(HitAt(hwnd, {w.left + s.border - 1, y}), HTLEFT);
  EXPECT_EQ(HitAt(hwnd, {w.left + s.border, y}), HTCLIENT);
  EXPECT_EQ(HitAt(hwnd, {w.right - s.border, y}), HTRIGHT);
  EXPECT_EQ(HitAt(hwnd, {w.right - s.border - 1, y}), HTCLIENT);

  // Caption buttons keep a title bar's size (at most 46 x 30 at 96 DPI),
  // centred in the caption.
  int close_top = -1, close_bottom = -1, close_left = w.right, close_right = w.left;
  for (int yy = w.top; yy < w.top + s.border + s.caption; yy++) {
    if (HitAt(hwnd, {w.right - s.border - 10, yy}) != HTCLOSE) continue;
    if (close_top < 0) close_top = yy;
    close_bottom = yy + 1;
  }
  for (int xx = w.left; xx < w.right; xx++) {
    if (HitAt(hwnd, {xx, close_top}) != HTCLOSE) continue;
    close_left = std::min<int>(close_left, xx);
    close_right = xx + 1;
  }
  EXPECT_LE(close_bottom - close_top, 30 * s.dpi / 96);
  EXPECT_GE(close_bottom - close_top, 24 * s.dpi / 96);
  EXPECT_LE(close_right - close_left, 46 * s.dpi / 96);
  EXPECT_GE(close_right - close_left, 40 * s.dpi / 96);
  int above = close_top - (w.top + s.border), below = w.top + s.border + s.caption - close_bottom;
  EXPECT_LE(std::abs(above - below), 1) << above << " above, " << below << " below";
}

TEST_F(FrameSizesTest, CaptionDragLandsWhereTheMouseGoes) {
  POINT spot = CaptionSpot();
  ASSERT_EQ(HitAt(hwnd, spot), HTCAPTION);
  RECT before = ScreenRectOfWindow(hwnd);
  Act([&] {
    Down(spot);
    MoveTo({spot.x + 30, spot.y + 20});
    MoveTo({spot.x + 73, spot.y + 41});
    Up({spot.x + 73, spot.y + 41});
  });
  RECT after = ScreenRectOfWindow(hwnd);
  OffsetRect(&before, 73, 41);
  EXPECT_RECT(after, before);
}

TEST_F(FrameSizesTest, DoubleClickMaximisesToTheWorkAreaExactlyAndBack) {
  const Sizes& s = Expected();
  RECT before = ScreenRectOfWindow(hwnd);
  POINT spot = CaptionSpot();
  Act([&] {
    Click(spot);
    Click(spot);
  });
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) != FALSE; }, 1000));
  Pump(200);
  EXPECT_RECT(ScreenRectOfWindow(hwnd), WorkArea());
  EXPECT_RECT(Insets(hwnd), (RECT{0, s.caption, 0, 0}));  // no sizing border
  EXPECT_EQ(HitAt(hwnd, {WorkArea().left + 1, WorkArea().top + 100}), HTCLIENT);
  // Sized beyond the work area while maximised (as Windows does on a
  // second monitor larger than the first), it stays inside.
  SetWindowPos(hwnd, nullptr, WorkArea().left - 8, WorkArea().top - 8,
               WorkArea().right - WorkArea().left + 300, WorkArea().bottom - WorkArea().top + 200,
               SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_RECT(ScreenRectOfWindow(hwnd), WorkArea());

  spot = {(WorkArea().left + WorkArea().right) / 2, WorkArea().top + s.caption / 2};
  ASSERT_EQ(HitAt(hwnd, spot), HTCAPTION);
  Act([&] {
    Click(spot);
    Click(spot);
  });
  ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(hwnd); }, 1000));
  EXPECT_RECT(ScreenRectOfWindow(hwnd), before);
  EXPECT_RECT(Insets(hwnd), (RECT{s.border, s.border + s.caption, s.border, s.border}));
}

// Each edge and corner, dragged outwards by (dx, dy) on its sides: only
// those sides move, and by exactly that much; the others stay.
TEST_F(FrameSizesTest, EachEdgeAndCornerMovesOnlyItsSidesByTheDraggedAmount) {
  const Sizes& s = Expected();
  struct Grip {
    LRESULT code;
    int fx, fy;  // -1 left/top side, 1 right/bottom side, 0 neither
  };
  const Grip grips[] = {{HTLEFT, -1, 0},       {HTRIGHT, 1, 0},      {HTTOP, 0, -1},
                        {HTBOTTOM, 0, 1},      {HTTOPLEFT, -1, -1},  {HTTOPRIGHT, 1, -1},
                        {HTBOTTOMLEFT, -1, 1}, {HTBOTTOMRIGHT, 1, 1}};
  for (const Grip& g : grips) {
    SCOPED_TRACE(g.code);
    RECT w = ScreenRectOfWindow(hwnd);
    POINT grip = {g.fx < 0   ? w.left + s.border / 2
                  : g.fx > 0 ? w.right - 1 - s.border / 2
                             : (w.left + w.right) / 2,
                  g.fy < 0   ? w.top + s.border / 2
                  : g.fy > 0 ? w.bottom - 1 - s.border / 2
                             : (w.top + w.bottom) / 2};
    ASSERT_EQ(HitAt(hwnd, grip), g.code);
    // Outwards along the sides the grip holds, and a little along the
    // others, which must not move them.
    int dx = g.fx ? 23 * g.fx : 9, dy = g.fy ? 17 * g.fy : 7;
    Act([&] {
      Down(grip);
      MoveTo({grip.x + dx / 2, grip.y + dy / 2});
      MoveTo({grip.x + dx, grip.y + dy});
      Up({grip.x + dx, grip.y + dy});
    });
    RECT expected = w;
    if (g.fx < 0) expected.left += dx;
    if (g.fx > 0) expected.right += dx;
    if (g.fy < 0) expected.top += dy;
    if (g.fy > 0) expected.bottom += dy;
    EXPECT_RECT(ScreenRectOfWindow(hwnd), expected);
  }
}

// Minimised, the window is all caption; restored, exactly as before. It
// cannot be made smaller than its frame: borders, caption and the room of
// three caption buttons (46 pixels wide each at 96 DPI).
TEST_F(FrameSizesTest, MinimisedAllCaptionRestoredAsBeforeNeverSmallerThanItsFrame) {
  const Sizes& s = Expected();
  RECT before = ScreenRectOfWindow(hwnd);
  ShowWindow(hwnd, SW_MINIMIZE);
  Pump(300);
  ASSERT_TRUE(IsIconic(hwnd));
  RECT small = ScreenRectOfWindow(hwnd);
  Shot icon = Shot::Settled(small);
  int band = icon.CountNear(kDark[caption_active], 0) + icon.CountNear(kDark[caption_inactive], 0);
  EXPECT_GT(band, int(icon.pixels().size()) / 2);
  EXPECT_EQ(icon.CountNear(kDark[face], 0), 0) << "the client area shows while minimised";
  ShowWindow(hwnd, SW_RESTORE);
  Pump(300);
  EXPECT_RECT(ScreenRectOfWindow(hwnd), before);
  EXPECT_RECT(Insets(hwnd), (RECT{s.border, s.border + s.caption, s.border, s.border}));

  SetForegroundWindow(hwnd);
  Pump(200);
  POINT grip = {before.right - 1 - s.border / 2, before.bottom - 1 - s.border / 2};
  ASSERT_EQ(HitAt(hwnd, grip), HTBOTTOMRIGHT);
  Act([&] {
    Down(grip);
    MoveTo({before.left + 200, before.top + 100});
    MoveTo({before.left + 10, before.top + 10});
    Up({before.left + 10, before.top + 10});
  });
  RECT least = ScreenRectOfWindow(hwnd);
  EXPECT_EQ(least.left, before.left);
  EXPECT_EQ(least.top, before.top);
  EXPECT_GE(least.bottom - least.top, 2 * s.border + s.caption);
  EXPECT_GE(least.right - least.left, 2 * s.border + 3 * 46 * s.dpi / 96);
  EXPECT_LT(least.right - least.left, 480);  // it did get smaller
}

TEST_F(FrameSizesTest, RightClickOnTheCaptionOpensTheSystemMenu) {
  POINT spot = CaptionSpot();
  HMENU shown = nullptr;
  Act([&] {
    RightClick(spot);
    for (int i = 0; i < 20 && !shown; i++) {
      HWND popup = FindWindowW(L"#32768", nullptr);
      if (popup && IsWindowVisible(popup))
        shown = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
      else
        Sleep(100);
    }
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
  });
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown, GetSystemMenu(hwnd, FALSE));
}

// Rounded corners: the window still shows its frame (not blank), its
// shape is cut round with the edge drawn along the cut, and a maximised
// window is square and whole until it is restored.
TEST_F(FrameSizesTest, RoundCornersCutTheWindowAndTheEdgeFollowsTheCut) {
  const Sizes& s = Expected();
  ASSERT_EQ(SkinH_AttachEx(InApp(kRound), L""), 1);
  DestroyWindow(hwnd);
  hwnd = MakeSizedWindow(WS_OVERLAPPEDWINDOW, 480, 320, false);
  // Sized again once shown, as the program does with its stored size.
  SetWindowPos(hwnd, nullptr, 90, 90, 500, 340, SWP_NOZORDER);
  Pump(300);
  RECT w = ScreenRectOfWindow(hwnd);
  ASSERT_EQ(w.right - w.left, 500);
  Shot shot = Shot::Settled(w);
  EXPECT_COLOR(shot.At(CaptionSpot().x, CaptionSpot().y), kDark[caption_active]);
  EXPECT_COLOR(shot.At(w.left + s.border / 2, (w.top + w.bottom) / 2), kDark[caption_active]);
  EXPECT_COLOR(shot.At((w.left + w.right) / 2, w.bottom - 1), kDark[border]);
  EXPECT_COLOR(shot.At(w.right - 1, (w.top + w.bottom) / 2), kDark[border]);

  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd, region), ERROR);
  // Along the diagonal of each corner the shape starts r(1 - 1/sqrt 2) in
  // from the corner (8 px at 96 DPI: 2.3), and every pixel of the shape
  // beside one outside it is the edge's colour: the line follows the cut
  // without a gap.
  int radius = 8 * s.dpi / 96;
  double cut = radius * (1 - 1 / std::sqrt(2.0));
  int width = w.right - w.left, height = w.bottom - w.top;
  auto inside = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < width && y < height && PtInRegion(region, x, y);
  };
  for (int corner = 0; corner < 4; corner++) {
    SCOPED_TRACE(corner);
    auto at = [&](int dx, int dy) {
      return POINT{corner & 1 ? width - 1 - dx : dx, corner & 2 ? height - 1 - dy : dy};
    };
    int k = 0;
    while (k < radius && !inside(at(k, k).x, at(k, k).y)) k++;
    EXPECT_GE(k, int(cut) - 1);
    EXPECT_LE(k, int(cut) + 1);
    int edge = 0, gaps = 0;
    for (int dy = 0; dy < radius + 2; dy++) {
      for (int dx = 0; dx < radius + 2; dx++) {
        POINT p = at(dx, dy);
        if (!inside(p.x, p.y)) continue;
        if (inside(p.x - 1, p.y) && inside(p.x + 1, p.y) && inside(p.x, p.y - 1) &&
            inside(p.x, p.y + 1))
          continue;
        edge++;
        gaps += shot.At(w.left + p.x, w.top + p.y) != kDark[border];
      }
    }
    EXPECT_GE(edge, radius * 3 / 2);  // a quarter circle and a little
    EXPECT_EQ(gaps, 0);
  }
  DeleteObject(region);

  ShowWindow(hwnd, SW_MAXIMIZE);
  Pump(300);
  EXPECT_FALSE(HasRegion(hwnd)) << "a maximised window keeps its round corners";
  RECT work = WorkArea();
  EXPECT_RECT(ScreenRectOfWindow(hwnd), work);
  EXPECT_COLOR(ColorAt({work.left, work.top}), kDark[border]);
  ShowWindow(hwnd, SW_RESTORE);
  Pump(300);
  HRGN again = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(hwnd, again), ERROR);
  EXPECT_FALSE(PtInRegion(again, 0, 0));
  DeleteObject(again);
}

// A program that takes its window's caption away gets the platform's frame
// for that style, without the skin's round corners, in the same rectangle;
// given back, the caption brings the skin's frame back.
TEST_F(FrameSizesTest, ACaptionTakenAwayAndGivenBackChangesTheFrameInPlace) {
  const Sizes& s = Expected();
  ASSERT_EQ(SkinH_AttachEx(InApp(kRound), L""), 1);
  DestroyWindow(hwnd);
  hwnd = MakeSizedWindow(WS_OVERLAPPEDWINDOW, 480, 320, false);
  const RECT before = ScreenRectOfWindow(hwnd);
  EXPECT_TRUE(HasRegion(hwnd));
  RECT platform = {};  // the platform's frame without a caption
  const DWORD bare = (WS_OVERLAPPEDWINDOW | WS_VISIBLE) & ~WS_CAPTION;
  AdjustWindowRectEx(&platform, bare, FALSE, 0);
  for (DWORD style : {bare, DWORD(WS_OVERLAPPEDWINDOW | WS_VISIBLE)}) {
    const bool captioned = (style & WS_CAPTION) == WS_CAPTION;
    SetWindowLongW(hwnd, GWL_STYLE, LONG(style));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(300);
    EXPECT_RECT(Insets(hwnd),
                captioned ? (RECT{s.border, s.border + s.caption, s.border, s.border})
                          : (RECT{-platform.left, -platform.top, platform.right, platform.bottom}));
    EXPECT_RECT(ScreenRectOfWindow(hwnd), before);
    EXPECT_EQ(HasRegion(hwnd), captioned);
  }
}

// A window that cannot be resized keeps its client area when the caption
// grows, so nothing in it is cut off; a resizable one keeps its outer
// size. Back to a skin without frame sizes, both are exactly as before.
TEST_F(FrameSizesTest, FixedWindowsKeepTheirClientAreaAndSwitchingBackRestoresAll) {
  const Sizes& s = Expected();
  DestroyWindow(hwnd);
  hwnd = nullptr;
  ASSERT_EQ(SkinH_AttachEx(InApp(kDark.File()), L""), 1);
  HWND fixed = MakeSizedWindow(kFixed, 300, 200, false);
  HWND sizable = MakeSizedWindow(WS_OVERLAPPEDWINDOW, 400, 250, true);
  RECT fixed_window = ScreenRectOfWindow(fixed), fixed_client = ScreenRectOfClient(fixed);
  RECT sizable_window = ScreenRectOfWindow(sizable), sizable_client = ScreenRectOfClient(sizable);
  RECT client;
  GetClientRect(fixed, &client);
  ASSERT_EQ(client.right, 300);
  ASSERT_EQ(client.bottom, 200);

  for (const wchar_t* skin : {kTall, kRound}) {
    SCOPED_TRACE(wine_test::Utf8(skin));
    ASSERT_EQ(SkinH_AttachEx(InApp(skin), L""), 1);
    Pump(200);
    GetClientRect(fixed, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_RECT(Insets(fixed), (RECT{s.border, s.border + s.caption, s.border, s.border}));
    EXPECT_EQ(ScreenRectOfWindow(fixed).left, fixed_window.left);
    EXPECT_EQ(ScreenRectOfWindow(fixed).top, fixed_window.top);
    EXPECT_RECT(ScreenRectOfWindow(sizable), sizable_window);
  }
  // A fixed window made now keeps the client area it asked for too.
  HWND made_now = MakeSizedWindow(kFixed, 300, 200, false);
  GetClientRect(made_now, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);
  DestroyWindow(made_now);

  ASSERT_EQ(SkinH_AttachEx(InApp(kDark.File()), L""), 1);
  Pump(200);
  EXPECT_RECT(ScreenRectOfWindow(fixed), fixed_window);
  EXPECT_RECT(ScreenRectOfClient(fixed), fixed_client);
  EXPECT_RECT(ScreenRectOfWindow(sizable), sizable_window);
  EXPECT_RECT(ScreenRectOfClient(sizable), sizable_client);
  EXPECT_FALSE(HasRegion(fixed));
  DestroyWindow(fixed);
  DestroyWindow(sizable);
}

// The program's skin dialog (not resizable) with the tall caption: the
// client area it was designed for, and every control inside it.
TEST_F(FrameSizesTest, TheSkinDialogKeepsItsClientAreaAndEveryControlShows) {
  ASSERT_EQ(SkinH_AttachEx(InApp(kDark.File()), L""), 1);
  frmSkin->Show();
  Pump(300);
  RECT plain;
  GetClientRect(frmSkin->Hwnd(), &plain);
  frmSkin->Unload();
  frmSkin.Reset();
  Pump(100);

  ASSERT_EQ(SkinH_AttachEx(InApp(kTall), L""), 1);
  frmSkin->Show();
  Pump(300);
  HWND dialog = frmSkin->Hwnd();
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, plain.right);
  EXPECT_EQ(client.bottom, plain.bottom);
  EXPECT_EQ(Insets(dialog).top, Expected().border + Expected().caption);
  RECT inside = ScreenRectOfClient(dialog);
  int controls = 0;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c)) continue;
    RECT r = ScreenRectOfWindow(c), both;
    IntersectRect(&both, &r, &inside);
    EXPECT_TRUE(EqualRect(&both, &r)) << "a control is cut off at " << Text(r);
    controls++;
  }
  EXPECT_GT(controls, 5);
  frmSkin->Unload();
  frmSkin.Reset();
}

// Rectangles back exactly after any number of switches between a skin
// with frame sizes and one without, whatever the window's state: a fixed
// window too short for the tall frame, a fixed window minimised during the
// switches, a maximised window, which fills the work area in our frame and
// the platform's maximised rectangle in the platform's.
TEST_F(FrameSizesTest, EveryRectangleComesBackAfterSwitchesInEveryState) {
  const Sizes& s = Expected();
  DestroyWindow(hwnd);
  hwnd = nullptr;
  ASSERT_EQ(SkinH_AttachEx(InApp(kDark.File()), L""), 1);
  HWND short_one = MakeSizedWindow(kFixed, 94, 35, false);
  HWND minimised = MakeSizedWindow(kFixed, 324, 295, false);
  HWND maximised = MakeSizedWindow(WS_OVERLAPPEDWINDOW, 400, 250, true);
  ShowWindow(minimised, SW_MINIMIZE);
  ShowWindow(maximised, SW_MAXIMIZE);
  Pump(300);
  ASSERT_TRUE(IsIconic(minimised));
  const RECT short_window = ScreenRectOfWindow(short_one);
  const RECT platform_max = ScreenRectOfWindow(maximised);
  WINDOWPLACEMENT place = {sizeof place};
  GetWindowPlacement(minimised, &place);
  const RECT minimised_normal = place.rcNormalPosition;
  RECT client;
  for (int trip = 0; trip < 3; trip++) {
    SCOPED_TRACE(trip);
    ASSERT_EQ(SkinH_AttachEx(InApp(kTall), L""), 1);
    Pump(200);
    GetClientRect(short_one, &client);
    EXPECT_EQ(client.right, 94);
    EXPECT_EQ(client.bottom, 35);
    EXPECT_RECT(ScreenRectOfWindow(maximised), WorkArea());
    ASSERT_EQ(SkinH_AttachEx(InApp(kDark.File()), L""), 1);
    Pump(200);
    EXPECT_RECT(ScreenRectOfWindow(short_one), short_window);
    EXPECT_RECT(ScreenRectOfWindow(maximised), platform_max);
    GetWindowPlacement(minimised, &place);
    EXPECT_RECT(place.rcNormalPosition, minimised_normal);
  }
  // Restored in the tall frame, the minimised window shows the client
  // area it was made for; minimised again and back, its first rectangle.
  ASSERT_EQ(SkinH_AttachEx(InApp(kTall), L""), 1);
  Pump(200);
  ShowWindow(minimised, SW_RESTORE);
  Pump(300);
  GetClientRect(minimised, &client);
  EXPECT_EQ(client.right, 324);
  EXPECT_EQ(client.bottom, 295);
  EXPECT_RECT(Insets(minimised), (RECT{s.border, s.border + s.caption, s.border, s.border}));
  ShowWindow(minimised, SW_MINIMIZE);
  ASSERT_EQ(SkinH_AttachEx(InApp(kDark.File()), L""), 1);
  Pump(200);
  ShowWindow(minimised, SW_RESTORE);
  Pump(300);
  GetClientRect(minimised, &client);
  EXPECT_EQ(client.right, 324);
  EXPECT_EQ(client.bottom, 295);
  for (HWND w : {short_one, minimised, maximised}) DestroyWindow(w);
}

// A bar item the program greyed opens its menu neither from its access
// key nor from a click; the bar's other item still opens from both.
TEST_F(FrameSizesTest, AGreyedDropDownOpensNeitherFromKeysNorClicks) {
  const Sizes& s = Expected();
  HMENU bar = CreateMenu();
  HMENU greyed = CreatePopupMenu(), normal = CreatePopupMenu();
  AppendMenuW(greyed, MF_STRING, 201, L"Inside");
  AppendMenuW(normal, MF_STRING, 202, L"Other");
  AppendMenuW(bar, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(greyed), L"Grey(&G)");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(normal), L"Normal(&N)");
  SetMenu(hwnd, bar);
  SetForegroundWindow(hwnd);
  Pump(300);
  RECT w = ScreenRectOfWindow(hwnd);
  // The first item starts at the bar's left end, padded on each side.
  POINT first = {w.left + s.border + 6 * s.dpi / 96, w.top + s.border + s.caption + 6};
  ASSERT_EQ(HitAt(hwnd, first), HTMENU);
  HWND opened[3] = {};
  auto shown = [] {
    for (int i = 0; i < 8; i++) {
      HWND popup = FindWindowW(L"#32768", nullptr);
      if (popup && IsWindowVisible(popup)) return popup;
      Sleep(100);
    }
    return HWND{};
  };
  Act([&] {
    AltPlus('G');
    opened[0] = shown();
    if (opened[0]) Press(VK_ESCAPE);
    Press(VK_ESCAPE);
    Click(first);
    opened[1] = shown();
    if (opened[1]) Press(VK_ESCAPE);
    Press(VK_ESCAPE);
    AltPlus('N');
    opened[2] = shown();
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
  });
  EXPECT_EQ(opened[0], nullptr) << "Alt+G opened the greyed menu";
  EXPECT_EQ(opened[1], nullptr) << "a click opened the greyed menu";
  EXPECT_NE(opened[2], nullptr) << "Alt+N opens the other item's menu";
}

// The keyboard cues a window is told to show, seen as they reach its
// procedure (Wine keeps no cue state that could be read back).
// It also counts the keys that reach it, and comes forward when asked.
std::atomic<int> cue_messages{0};
std::atomic<WPARAM> last_cue{0};
std::atomic<int> keys_down{0};
constexpr UINT kComeForward = WM_APP;
LRESULT CALLBACK CueWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHANGEUISTATE) {
    last_cue = wp;
    cue_messages++;
  }
  if (msg == WM_KEYDOWN) keys_down++;
  if (msg == kComeForward) SetForegroundWindow(hwnd);
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND MakeCueWindow(HMENU bar, int x) {
  static const bool registered = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = CueWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = L"CueWindow";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  HWND hwnd = CreateWindowExW(0, L"CueWindow", L"Cues", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 100,
                              400, 300, nullptr, bar, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(hwnd);
  PumpUntil([&] { return GetForegroundWindow() == hwnd; }, 2000);
  Pump(200);
  return hwnd;
}

// Where keyboard cues are hidden until the keyboard is used, Alt and F10
// tell the window to show its controls' access keys and focus, though the
// keys themselves go to the bar.
TEST_F(FrameSizesTest, AltAndF10ShowTheControlsKeyboardCues) {
  DestroyWindow(hwnd);
  hwnd = MakeCueWindow(MakeMenuBar(), 100);
  ASSERT_EQ(GetForegroundWindow(), hwnd);
  const WPARAM show = MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL | UISF_HIDEFOCUS);
  for (WORD key : {WORD(VK_MENU), WORD(VK_F10)}) {
    SCOPED_TRACE(key);
    cue_messages = 0;
    last_cue = 0;
    int held = 0;
    WPARAM cue = 0;
    Act([&] {
      Keys({{key, true}});
      held = cue_messages;
      cue = last_cue;
      Keys({{key, false}});
      Press(VK_ESCAPE);
      Press(VK_ESCAPE);
    });
    EXPECT_GE(held, 1) << "no cues shown while the key is down";
    EXPECT_EQ(cue, show);
  }
}

// The bar selected with F10 lets go of the keyboard when another window
// of the program comes forward: that window's keys reach it.
TEST_F(FrameSizesTest, AnotherWindowComingForwardReleasesTheBarsKeys) {
  DestroyWindow(hwnd);
  hwnd = MakeSizedWindow(WS_OVERLAPPEDWINDOW, 480, 320, true);
  HWND other = MakeCueWindow(nullptr, 620);
  SetForegroundWindow(hwnd);
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == hwnd; }, 2000));
  keys_down = 0;
  int reached = 0;
  Act([&] {
    Press(VK_F10);
    PostMessageW(other, kComeForward, 0, 0);
    Sleep(500);
    Press('A');
    Press('B');
    reached = keys_down;
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
  });
  EXPECT_EQ(GetForegroundWindow(), other);
  EXPECT_EQ(reached, 2) << "the bar of the window behind kept the keys";
  DestroyWindow(other);
}

// The frame never paints on the client area: maximised, where the window
// has no border and its client area reaches the screen's edges, and
// restored again. The client area is filled once and never painted after
// (a page that repaints only what changes), so anything drawn over it stays.
TEST_F(FrameSizesTest, TheFramePaintsNothingOnTheClientArea) {
  const COLORREF kFill = RGB(0xFF, 0x00, 0xFF);
  auto fill_and_repaint_frame = [&] {
    HDC dc = GetDC(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = CreateSolidBrush(kFill);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    ReleaseDC(hwnd, dc);
    SendMessageW(hwnd, WM_NCPAINT, 1, 0);
    Pump(200);
  };
  for (int show : {SW_MAXIMIZE, SW_RESTORE}) {
    SCOPED_TRACE(show);
    ShowWindow(hwnd, show);
    Pump(300);
    ValidateRect(hwnd, nullptr);
    fill_and_repaint_frame();
    RECT c = ScreenRectOfClient(hwnd);
    // The client area's outer rows and columns, where the frame's edge lies
    // when the client area reaches the window's edges.
    Shot shot = Shot::Settled(c);
    int width = c.right - c.left, height = c.bottom - c.top;
    EXPECT_EQ(shot.CountNear(kFill, 0), width * height);
  }
}

// Corner grips reach 16 pixels (at 96 DPI) along each edge beyond the
// border's square, and no further; a corner grabbed outside the square
// moves both its sides.
TEST_F(FrameSizesTest, CornersReachSixteenPixelsAlongEachEdge) {
  const Sizes& s = Expected();
  RECT w = ScreenRectOfWindow(hwnd);
  int in = s.border / 2, reach = 15 * s.dpi / 96, beyond = 17 * s.dpi / 96;
  struct Case {
    POINT at;
    LRESULT code;
  };
  const Case cases[] = {
      {{w.left + reach, w.top + in}, HTTOPLEFT},
      {{w.left + beyond, w.top + in}, HTTOP},
      {{w.left + in, w.top + reach}, HTTOPLEFT},
      {{w.left + in, w.top + beyond}, HTLEFT},
      {{w.right - 1 - reach, w.top + in}, HTTOPRIGHT},
      {{w.right - 1 - in, w.top + beyond}, HTRIGHT},
      {{w.left + reach, w.bottom - 1 - in}, HTBOTTOMLEFT},
      {{w.left + beyond, w.bottom - 1 - in}, HTBOTTOM},
      {{w.right - 1 - in, w.bottom - 1 - reach}, HTBOTTOMRIGHT},
      {{w.right - 1 - beyond, w.bottom - 1 - in}, HTBOTTOM},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HitAt(hwnd, c.at), c.code) << c.at.x - w.left << "," << c.at.y - w.top;
  }
  POINT grip = {w.left + in, w.top + 12 * s.dpi / 96};  // below the border's square
  Act([&] {
    Down(grip);
    MoveTo({grip.x - 10, grip.y - 8});
    MoveTo({grip.x - 20, grip.y - 16});
    Up({grip.x - 20, grip.y - 16});
  });
  EXPECT_RECT(ScreenRectOfWindow(hwnd), (RECT{w.left - 20, w.top - 16, w.right, w.bottom}));
}

}  // namespace

// What the platform tells of the bar (GetMenuBarInfo, which screen readers,
// magnifiers and UI automation read) is where the engine draws it: the bar
// below the caption, between the borders; each item where the pointer
// lights it, one after the other from the bar's
// left end. Once at rest and again maximised, where the borders go.
TEST_F(FrameSizesTest, GetMenuBarInfoTellsWhereTheBarAndEachItemAreDrawn) {
  const Sizes& s = Expected();
  HMENU bar = CreateMenu();
  const wchar_t* names[] = {L"File(&F)", L"\u5e38\u89c4(&N)", L"Help(&H)"};
  for (const wchar_t* name : names) {
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, 301, L"Item");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), name);
  }
  SetMenu(hwnd, bar);
  Pump(300);
  for (bool maximised : {false, true}) {
    SCOPED_TRACE(maximised ? "maximised" : "at rest");
    if (maximised) {
      ShowWindow(hwnd, SW_MAXIMIZE);
      Pump(500);
    }
    int border = maximised ? 0 : s.border;
    RECT w = ScreenRectOfWindow(hwnd), c = ScreenRectOfClient(hwnd);
    MENUBARINFO whole = {sizeof whole};
    ASSERT_TRUE(GetMenuBarInfo(hwnd, OBJID_MENU, 0, &whole));
    // The platform's bar is as high as its own menu bar; the engine's is
    // taller where the skin's bar font needs it, down to the client area.
    int top = w.top + border + s.caption;
    EXPECT_RECT(whole.rcBar,
                (RECT{w.left + border, top, w.right - border, top + GetSystemMetrics(SM_CYMENU)}));
    EXPECT_LE(whole.rcBar.bottom, c.top);
    int y = (top + c.top) / 2;  // across the bar's middle
    const RECT row = {w.left, y, w.right, y + 1};
    Act([&] { MoveTo({c.left + 10, c.top + 40}); });
    Shot rest = Shot::Settled(row);
    int next = w.left + border;
    for (int i = 0; i < 3; i++) {
      MENUBARINFO item = {sizeof item};
      ASSERT_TRUE(GetMenuBarInfo(hwnd, OBJID_MENU, i + 1, &item));
      EXPECT_EQ(item.rcBar.left, next) << "item " << i;
      EXPECT_EQ(item.rcBar.top, top) << "item " << i;
      EXPECT_LE(item.rcBar.bottom, c.top) << "item " << i;
      // Where the engine draws the item: the columns the pointer lights,
      // inside the window's outer edge line (over the bar's ends when
      // maximised, the borders gone).
      Act([&] { MoveTo({(item.rcBar.left + item.rcBar.right) / 2, y}); });
      Shot lit = Shot::Settled(row);
      int left = w.right, right = w.left;
      for (int x = w.left + 1; x < w.right - 1; x++) {
        if (lit.At(x, y) == rest.At(x, y)) continue;
        left = std::min<int>(left, x);
        right = x + 1;
      }
      EXPECT_EQ(left, std::max<int>(item.rcBar.left, w.left + 1)) << "item " << i;
      EXPECT_EQ(right, item.rcBar.right) << "item " << i;
      next = item.rcBar.right;
    }
  }
  Act([&] { MoveTo({0, 0}); });
}
