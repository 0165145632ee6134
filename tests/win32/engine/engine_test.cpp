// The real dulib.dll in a real process, reached through the program's own
// wrapper: windows, a dialog and a message box are looked at on the screen
// after each call into the engine.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>
#include <tuple>
#include <utility>

#include "skins/SkinH.h"
#include "support/screen.h"
#include "support/wine_test.h"
#include "test_skins.h"

namespace {

using namespace engine_test;
using namespace SkinH;
using wine_test::Gbk;
using wine_test::InApp;
using wine_test::Pump;

int Aero(int level) { return SkinH_AdjustAero(int16_t(level), kAeroArgs); }

// The colours a window of the test shows where each role paints.
struct Expected {
  COLORREF face, face_text, window, border, menu;
};

Expected Of(const TestSkin& s) { return {s[face], s[face_text], s[window], s[border], s[menu]}; }

Expected HueTurned120(const Expected& e) {
  return {engine_test::HueTurned120(e.face), engine_test::HueTurned120(e.face_text),
          engine_test::HueTurned120(e.window), engine_test::HueTurned120(e.border),
          engine_test::HueTurned120(e.menu)};
}

// Brightness lowered by `points` percentage points of HSV value, hue and
// saturation kept: every channel scales by the same factor.
COLORREF Darkened(COLORREF c, int points) {
  double v = std::max({GetRValue(c), GetGValue(c), GetBValue(c)}) / 255.0;
  double k = std::max(0.0, v - points / 100.0) / v;
  auto ch = [k](int x) { return int(std::lround(x * k)); };
  return RGB(ch(GetRValue(c)), ch(GetGValue(c)), ch(GetBValue(c)));
}

// The built-in skin, shown before any file is attached (its six colours).
const Expected kBuiltIn = {RGB(0xE4, 0xE9, 0xF0), RGB(0x1F, 0x2A, 0x3A), RGB(0xFB, 0xFC, 0xFE),
                           RGB(0x7A, 0x8B, 0xA3), RGB(0xEE, 0xF1, 0xF6)};

// Runs the current test alone in a new process of this program, where the
// engine has never been attached, unless this is that process. True when
// it ran there (and its result is checked here).
bool RanInAFreshProcess() {
  if (GetEnvironmentVariableW(L"ENGINE_TEST_FRESH", nullptr, 0)) return false;
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::string filter = std::string(info->test_suite_name()) + "." + info->name();
  std::wstring command = L"\"" + std::wstring(exe) + L"\" --gtest_filter=" +
                         std::wstring(filter.begin(), filter.end());
  SetEnvironmentVariableW(L"ENGINE_TEST_FRESH", L"1");
  STARTUPINFOW si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  BOOL started =
      CreateProcessW(exe, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  SetEnvironmentVariableW(L"ENGINE_TEST_FRESH", nullptr);
  EXPECT_TRUE(started);
  if (!started) return true;
  WaitForSingleObject(pi.hProcess, 120000);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u) << filter << " failed in its own process (its output is above)";
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

// A skin file with a Chinese name, as the program passes it: in code page 936.
const wchar_t kChineseName[] = L"Skin\\\u6731\u7802.she";  // 朱砂

class EngineTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    WriteSkin(kLight);
    WriteSkin(kDark);
    wine_test::WriteBytes(InApp(kChineseName), SkinText(kDark));
  }
  static std::wstring Light() { return InApp(kLight.File()); }
};

// The program's own kind of window: a class of this module with a white
// background, so an unskinned window is plainly told apart.
const wchar_t kWindowClass[] = L"DulibTestWindow";

LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterWindowClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = TestWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kWindowClass;
  done = RegisterClassW(&wc) != 0;
}

// The dialog manager does all the work for these dialogs.
INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

COLORREF BrushColor(HBRUSH brush) {
  LOGBRUSH lb = {};
  if (!brush || !GetObjectW(brush, sizeof lb, &lb)) return CLR_INVALID;
  return lb.lbColor;
}

// The background the menu bar and its drop-down menus are drawn with.
// Read from the menus rather than the screen: Wine paints the bar in its
// own colour whatever the menu says; Windows uses the menu's brush.
std::pair<COLORREF, COLORREF> MenuColors(HWND hwnd) {
  HMENU bar = GetMenu(hwnd);
  MENUINFO info = {sizeof info, MIM_BACKGROUND};
  GetMenuInfo(bar, &info);
  MENUINFO drop = {sizeof drop, MIM_BACKGROUND};
  GetMenuInfo(GetSubMenu(bar, 0), &drop);
  return {BrushColor(info.hbrBack), BrushColor(drop.hbrBack)};
}

// A main window with a menu bar, a label, an edit box, and a panel of the
// program's own class.
struct TestWindow {
  HWND hwnd = nullptr;
  HWND label = nullptr;
  HWND edit = nullptr;
  HWND panel = nullptr;

  TestWindow(int x = 40, int y = 40) {
    RegisterWindowClass();
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 1, L"\u9000\u51fa");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"\u6587\u4ef6(&F)");
    hwnd = CreateWindowExW(0, kWindowClass, L"Engine test", WS_OVERLAPPEDWINDOW, x, y, 460, 320,
                           nullptr, bar, GetModuleHandleW(nullptr), nullptr);
    label = CreateWindowExW(0, L"Static", L"\u8272\u8c03 Hue: 30", WS_CHILD | WS_VISIBLE, 10, 10,
                            220, 24, hwnd, nullptr, nullptr, nullptr);
    edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE, 10, 50, 220, 28,
                           hwnd, nullptr, nullptr, nullptr);
    panel = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE, 250, 10, 180, 100, hwnd,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    UpdateWindow(hwnd);
    Pump(300);
  }
  ~TestWindow() { DestroyWindow(hwnd); }

  // What the user sees at the places that show each role.
  struct Look {
    COLORREF client, panel, label_back, edit_inside, edit_edge, menu_bar, menu_drop;
    int label_text_pixels;
  };

  Look Seen(const Expected& expected) const {
    Pump(300);
    Look look;
    RECT client = ScreenRectOfClient(hwnd);
    look.client = Shot(client).At(client.right - 20, client.bottom - 20);
    RECT panel_rect = ScreenRectOfWindow(panel);
    look.panel = Shot(panel_rect).At(panel_rect.left + 5, panel_rect.top + 5);
    RECT l = ScreenRectOfWindow(label);
    Shot label_shot(l);
    look.label_back = label_shot.At(l.right - 2, l.bottom - 2);  // past the text
    look.label_text_pixels = label_shot.CountNear(expected.face_text);
    RECT e = ScreenRectOfWindow(edit);
    Shot edit_shot(e);
    look.edit_inside = edit_shot.At(e.right - 6, e.top + (e.bottom - e.top) / 2);
    look.edit_edge = edit_shot.At(e.left, e.top + (e.bottom - e.top) / 2);
    std::tie(look.menu_bar, look.menu_drop) = MenuColors(hwnd);
    return look;
  }

  void ExpectShows(const Expected& e) const {
    Look look = Seen(e);
    EXPECT_COLOR(look.client, e.face);
    EXPECT_COLOR(look.panel, e.face);
    EXPECT_COLOR(look.label_back, e.face);
    EXPECT_GT(look.label_text_pixels, 5) << "label text in " << Hex(e.face_text);
    EXPECT_COLOR(look.edit_inside, e.window);
    EXPECT_COLOR(look.edit_edge, e.border);
    EXPECT_COLOR(look.menu_bar, e.menu);
    EXPECT_COLOR(look.menu_drop, e.menu);
  }
};

// Needs a process where the engine was never attached: runs in its own.
TEST_F(EngineTest, AttachSkinsWindowsThatAlreadyExistWithTheBuiltInSkin) {
  if (RanInAFreshProcess()) return;
  TestWindow window;
  TestWindow::Look before = window.Seen(kBuiltIn);
  EXPECT_COLOR(before.client, RGB(255, 255, 255));
  EXPECT_COLOR(before.panel, RGB(255, 255, 255));

  EXPECT_EQ(SkinH_Attach(), 1);
  window.ExpectShows(kBuiltIn);
  EXPECT_EQ(SkinH_Attach(), 1);  // again: nothing changes
}

TEST_F(EngineTest, SkinFileWithChineseNameRecoloursEveryWindowAndHueRotatesIt) {
  ASSERT_EQ(SkinH_Attach(), 1);
  ASSERT_EQ(SkinH_AdjustHSV(0, 0, 0), 1);
  TestWindow before;  // exists when the skin changes
  ASSERT_EQ(SkinH_AttachEx(InApp(kChineseName), L""), 1);
  TestWindow after(520, 40);  // created with the skin on

  before.ExpectShows(Of(kDark));
  after.ExpectShows(Of(kDark));

  ASSERT_EQ(SkinH_AdjustHSV(120, 0, 0), 1);
  before.ExpectShows(HueTurned120(Of(kDark)));
  after.ExpectShows(HueTurned120(Of(kDark)));

  // A hue is measured from the file's colours, not added to the last one,
  // and any 16-bit value wraps round.
  for (int16_t hue : {120, -240, 32520}) {
    ASSERT_EQ(SkinH_AdjustHSV(hue, 0, 0), 1);
    before.ExpectShows(HueTurned120(Of(kDark)));
  }

  // Brightness below 100 points counts too.
  ASSERT_EQ(SkinH_AdjustHSV(0, 0, -40), 1);
  Expected darker = Of(kDark);
  for (COLORREF* c :
       {&darker.face, &darker.face_text, &darker.window, &darker.border, &darker.menu})
    *c = Darkened(*c, 40);
  ASSERT_NE(Hex(darker.face_text), Hex(kDark[face_text]));
  before.ExpectShows(darker);
  ASSERT_EQ(SkinH_AdjustHSV(0, 0, 0), 1);
  before.ExpectShows(Of(kDark));
}

TEST_F(EngineTest, BadSkinFilesKeepTheCurrentSkin) {
  ASSERT_EQ(SkinH_Attach(), 1);
  ASSERT_EQ(SkinH_AdjustHSV(0, 0, 0), 1);
  ASSERT_EQ(SkinH_AttachEx(Light(), L""), 1);
  wine_test::WriteBytes(InApp(L"broken.she"), "she = 1\nname = half\nface = #000000\n");
  wine_test::WriteBytes(InApp(L"binary.she"), std::string("\x00\xFF\x10she = 1", 10));
  CreateDirectoryW(InApp(L"folder.she").c_str(), nullptr);

  EXPECT_EQ(SkinH_AttachEx(InApp(L"broken.she"), L""), 0);
  EXPECT_EQ(SkinH_AttachEx(InApp(L"binary.she"), L""), 0);
  EXPECT_EQ(SkinH_AttachEx(InApp(L"folder.she"), L""), 0);
  EXPECT_EQ(SkinH_AttachEx(InApp(L"Skin\\\u65e0.she"), L""), 0);  // no such file
  EXPECT_EQ(SkinH_AttachEx(L"", L""), 0);
  // The program never passes null; another caller of the export might.
  auto attach_ex = reinterpret_cast<int(WINAPI*)(const char*, const char*)>(
      GetProcAddress(GetModuleHandleW(L"dulib.dll"), "SkinH_AttachEx"));
  ASSERT_TRUE(attach_ex);
  EXPECT_EQ(attach_ex(nullptr, nullptr), 0);

  TestWindow window;
  window.ExpectShows(Of(kLight));
}

TEST_F(EngineTest, DialogAndItsControlsShowTheSkin) {
  ASSERT_EQ(SkinH_Attach(), 1);
  ASSERT_EQ(SkinH_AdjustHSV(0, 0, 0), 1);
  ASSERT_EQ(SkinH_AttachEx(Light(), L""), 1);

  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE, 228, 142,
                   L"Morvanta\u00b72014 \u66f4\u6362\u4e3b\u9898");
  t.Add(0x0083, WS_BORDER | LBS_NOTIFY | WS_VSCROLL, 8, 8, 105, 126, 100, L"");
  t.Add(0x0082, SS_LEFT, 124, 14, 60, 12, 101, L"\u900f\u660e\u5ea6: 0/255");
  t.Add(0x0080, BS_AUTOCHECKBOX, 124, 40, 96, 16, 102, L"\u4e00\u952e\u542f\u7528 Aero");
  t.Add(0x0080, BS_PUSHBUTTON, 170, 118, 50, 16, 103, L"\u4fdd\u5b58(&S)");
  HWND dialog =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.get(), nullptr, NoDialogProc, 0);
  ASSERT_TRUE(dialog);
  SetWindowPos(dialog, HWND_TOP, 60, 420, 0, 0, SWP_NOSIZE);
  HWND list = GetDlgItem(dialog, 100);
  for (const wchar_t* item : {L"\u9752\u82b1", L"\u6731\u7802", L"Jade", L"Sand", L"Graphite"}) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  Pump(300);

  auto expect_dialog = [&](COLORREF (*shown)(COLORREF)) {
    Pump(300);
    RECT client = ScreenRectOfClient(dialog);
    EXPECT_COLOR(Shot(client).At(client.right - 4, client.top + 4), shown(kLight[face]));
    RECT label = ScreenRectOfWindow(GetDlgItem(dialog, 101));
    Shot label_shot(label);
    EXPECT_COLOR(label_shot.At(label.right - 2, label.bottom - 2), shown(kLight[face]));
    EXPECT_GT(label_shot.CountNear(shown(kLight[face_text])), 5);
    RECT check = ScreenRectOfWindow(GetDlgItem(dialog, 102));
    Shot check_shot(check);
    EXPECT_COLOR(check_shot.At(check.right - 2, check.bottom - 2), shown(kLight[face]));
    EXPECT_GT(check_shot.CountNear(shown(kLight[face_text])), 5);
    RECT l = ScreenRectOfClient(list);
    Shot list_shot(l);
    EXPECT_COLOR(list_shot.At(l.left + 4, l.bottom - 4), shown(kLight[window]));
    EXPECT_GT(list_shot.CountNear(shown(kLight[window_text])), 5);
  };
  expect_dialog([](COLORREF c) { return c; });
  ASSERT_EQ(SkinH_AdjustHSV(120, 0, 0), 1);
  expect_dialog(engine_test::HueTurned120);
  ASSERT_EQ(SkinH_AdjustHSV(0, 0, 0), 1);
  DestroyWindow(dialog);
}

// A frame asked to paint into someone else's DC (WM_PRINTCLIENT, as a
// themed child does for its parent's background) leaves that DC as it
// found it: no clip region of its neighbours, the caller's text colour.
TEST_F(EngineTest, FramePaintedIntoACallersDcLeavesItsClippingAndColours) {
  ASSERT_EQ(SkinH_Attach(), 1);
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_VISIBLE, 160, 80, L"frame");
  t.Add(0x0080, BS_GROUPBOX, 4, 4, 150, 70, 100, L"Frame");
  t.Add(0x0080, BS_PUSHBUTTON, 20, 30, 50, 16, 101, L"Inside");
  HWND dialog =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.get(), nullptr, NoDialogProc, 0);
  ASSERT_TRUE(dialog);
  Pump(200);
  HWND frame = GetDlgItem(dialog, 100);
  RECT rc;
  GetClientRect(frame, &rc);

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = rc;
  SetBkColor(dc, RGB(9, 9, 9));
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
  SetTextColor(dc, RGB(1, 2, 3));
  SendMessageW(frame, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc, clip), 0);  // 0: the DC has no clip region
  EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
  // The frame did paint its corner.
  EXPECT_NE(GetPixel(dc, rc.right - 1, rc.bottom - 1), RGB(9, 9, 9));
  DeleteObject(clip);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  DestroyWindow(dialog);
}

// A message box is a dialog of the calling thread; it is looked at from a
// timer while its own message loop runs, then closed.
struct BoxLook {
  bool found = false;
  COLORREF corner = CLR_INVALID;
  int text_pixels = 0;
  COLORREF text_color = 0;
};
BoxLook g_box;

void CALLBACK LookAtBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindMessageBox();
  if (!box) return;
  KillTimer(nullptr, timer);
  GdiFlush();
  Sleep(100);
  RECT client = ScreenRectOfClient(box);
  g_box.found = true;
  g_box.corner = Shot(client).At(client.left + 2, client.bottom - 2);
  g_box.text_pixels = Shot(ScreenRectOfWindow(GetDlgItem(box, 0xFFFF))).CountNear(g_box.text_color);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(EngineTest, MessageBoxShowsTheSkin) {
  ASSERT_EQ(SkinH_Attach(), 1);
  ASSERT_EQ(SkinH_AdjustHSV(0, 0, 0), 1);
  ASSERT_EQ(SkinH_AttachEx(InApp(kChineseName), L""), 1);
  g_box = {};
  g_box.text_color = kDark[face_text];
  UINT_PTR timer = SetTimer(nullptr, 0, 300, LookAtBox);
  MessageBoxW(nullptr, L"\u8bbe\u7f6e\u672a\u4fdd\u5b58\uff0c\u73b0\u5728\u79bb\u53bb\uff1f",
              L"\u63d0\u793a", MB_OK | MB_ICONINFORMATION);
  KillTimer(nullptr, timer);
  ASSERT_TRUE(g_box.found);
  EXPECT_COLOR(g_box.corner, kDark[face]);
  EXPECT_GT(g_box.text_pixels, 5);
}

BYTE LayeredAlpha(HWND hwnd) {
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return 0;
  return alpha;
}

bool IsLayered(HWND hwnd) { return GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED; }

TEST_F(EngineTest, AeroMakesTopLevelWindowsTranslucentWithAVisibleLevel) {
  ASSERT_EQ(SkinH_Attach(), 1);
  ASSERT_EQ(SkinH_SetAero(0), 1);
  TestWindow window;
  // A window that the program made translucent itself is not the engine's.
  TestWindow own(520, 40);
  SetWindowLongW(own.hwnd, GWL_EXSTYLE, GetWindowLongW(own.hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(own.hwnd, 0, 150, LWA_ALPHA);

  ASSERT_EQ(Aero(120), 1);
  EXPECT_FALSE(IsLayered(window.hwnd));  // the level alone switches nothing on

  ASSERT_EQ(SkinH_SetAero(1), 1);
  EXPECT_TRUE(IsLayered(window.hwnd));
  EXPECT_EQ(LayeredAlpha(window.hwnd), 120);
  EXPECT_FALSE(GetWindowLongW(window.edit, GWL_EXSTYLE) & WS_EX_LAYERED);  // children untouched

  // The level applies at once, and never leaves the visible range.
  struct {
    int level, alpha;
  } levels[] = {{200, 200}, {0, 64}, {-5, 64}, {-32768, 64}, {32767, 255}, {249, 249}};
  for (auto l : levels) {
    ASSERT_EQ(Aero(l.level), 1);
    EXPECT_EQ(LayeredAlpha(window.hwnd), l.alpha) << "level " << l.level;
  }
  ASSERT_EQ(Aero(180), 1);
  TestWindow later(40, 380);
  EXPECT_TRUE(IsLayered(later.hwnd));
  EXPECT_EQ(LayeredAlpha(later.hwnd), 180);
  EXPECT_EQ(LayeredAlpha(own.hwnd), 150);

  ASSERT_EQ(SkinH_SetAero(0), 1);
  EXPECT_FALSE(IsLayered(window.hwnd));
  EXPECT_FALSE(IsLayered(later.hwnd));
  EXPECT_TRUE(IsLayered(own.hwnd));
  EXPECT_EQ(LayeredAlpha(own.hwnd), 150);

  ASSERT_EQ(SkinH_SetAero(1), 1);  // and on again
  EXPECT_EQ(LayeredAlpha(window.hwnd), 180);
  ASSERT_EQ(SkinH_SetAero(0), 1);

  // Switched off, the window is the program's again: made translucent by
  // the program itself, the effect's next round leaves it alone.
  SetWindowLongW(window.hwnd, GWL_EXSTYLE,
                 GetWindowLongW(window.hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(window.hwnd, 0, 150, LWA_ALPHA);
  ASSERT_EQ(SkinH_SetAero(1), 1);
  ASSERT_EQ(Aero(200), 1);
  EXPECT_EQ(LayeredAlpha(window.hwnd), 150);
  ASSERT_EQ(SkinH_SetAero(0), 1);
  EXPECT_TRUE(IsLayered(window.hwnd));
  EXPECT_EQ(LayeredAlpha(window.hwnd), 150);
}

TEST_F(EngineTest, CallsFromAnotherThreadAreRefused) {
  ASSERT_EQ(SkinH_Attach(), 1);
  ASSERT_EQ(SkinH_AdjustHSV(0, 0, 0), 1);
  ASSERT_EQ(SkinH_AttachEx(Light(), L""), 1);
  TestWindow window;
  int results[5] = {-1, -1, -1, -1, -1};
  std::thread other([&] {
    results[0] = SkinH_Attach();
    results[1] = SkinH_AttachEx(InApp(kChineseName), L"");
    results[2] = SkinH_AdjustHSV(90, 0, 0);
    results[3] = Aero(100);
    results[4] = SkinH_SetAero(1);
  });
  other.join();
  for (int r : results) EXPECT_EQ(r, 0);
  EXPECT_FALSE(IsLayered(window.hwnd));
  window.ExpectShows(Of(kLight));
}

}  // namespace
