// The dialog window as the user sees it: frame, place, controls, keys.
#include "common/win_handles.h"
#include "skin_dialog_support.h"

using namespace wine_test;

namespace skin_dialog_test {
namespace {

struct Expected {
  const toolkit::Control& control;
  const toolkit::Control* parent;  // nullptr: the dialog itself
  const wchar_t* windowClass;
  std::wstring caption;
  LONG left, top, width, height;  // pixels at 96 DPI
};

// The places below are in pixels of the test display's 96 DPI: the
// dialog's layout in twips divided by 15 and rounded, left and top, width
// and height each on their own.
void AssertDisplayOf96Dpi() {
  const common::ClientDc screen(nullptr);
  ASSERT_EQ(96, GetDeviceCaps(screen.get(), LOGPIXELSX));
  ASSERT_EQ(96, GetDeviceCaps(screen.get(), LOGPIXELSY));
}

RECT RectInParent(HWND control) {
  RECT r = {};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::wstring ClassOf(HWND h) {
  wchar_t name[64] = {};
  GetClassNameW(h, name, 64);
  return CharLowerW(name);
}

std::wstring CaptionOf(HWND h) {
  wchar_t text[256] = {};
  GetWindowTextW(h, text, 256);
  return text;
}

void PressKey(WORD key) {
  PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
  PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
  Pump(30);
}

TEST_F(SkinDialogTest, IsAFixedCentredDialogWithoutTaskbarButton) {
  FrmSkin& dialog = Open();
  HWND h = dialog.Hwnd();
  ASSERT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(L"Morvanta\u00B72014 更换主题", CaptionOf(h));

  const LONG style = GetWindowLongW(h, GWL_STYLE), exStyle = GetWindowLongW(h, GWL_EXSTYLE);
  EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD));
  EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
  // An owned window without WS_EX_APPWINDOW gets no task-bar button; its
  // owner is a hidden window, not a form that could take it along.
  EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
  HWND owner = GetWindow(h, GW_OWNER);
  ASSERT_NE(nullptr, owner);
  EXPECT_FALSE(IsWindowVisible(owner));

  ASSERT_NO_FATAL_FAILURE(AssertDisplayOf96Dpi());
  RECT client = {}, outer = {};
  GetClientRect(h, &client);
  EXPECT_EQ(341, client.right);  // 5115 x 3195 twips
  EXPECT_EQ(213, client.bottom);
  GetWindowRect(h, &outer);
  EXPECT_NEAR((GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2, outer.left, 1);
  EXPECT_NEAR((GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2, outer.top, 1);
}

TEST_F(SkinDialogTest, ControlsHaveTheirKindParentCaptionAndPlace) {
  FrmSkin& d = Open();
  const Expected table[] = {
      {d.Frame1, nullptr, L"button", L"皮肤列表", 8, 8, 121, 201},
      {d.List1, nullptr, L"listbox", L"", 16, 24, 105, 172},
      {d.Frame2, nullptr, L"button", L"皮肤选项", 136, 8, 201, 201},
      {d.Label1, &d.Frame2, L"static", L"色调:", 24, 32, 30, 12},
      {d.Text1, &d.Frame2, L"edit", L"", 64, 28, 65, 20},
      {d.Label2, &d.Frame2, L"static", L"-180/180", 136, 32, 48, 12},
      {d.Label3, &d.Frame2, L"static", L"透明度:", 12, 64, 42, 12},  // 175 twips: 11.67
      {d.Text2, nullptr, L"edit", L"", 200, 68, 65, 20},
      {d.Label4, &d.Frame2, L"static", L"0/255", 136, 64, 30, 12},
      {d.Check1, nullptr, L"button", L"一键启用 Aero （窗体透明）", 152, 96, 177, 33},
      {d.Command1, nullptr, L"button", L"关闭(&X)", 160, 160, 81, 33},
      {d.Command2, nullptr, L"button", L"保存(&S)", 248, 160, 81, 33},
  };
  ASSERT_NO_FATAL_FAILURE(AssertDisplayOf96Dpi());
  for (const Expected& e : table) {
    HWND h = e.control.Hwnd();
    SCOPED_TRACE(testing::Message() << "control with caption " << Utf8(e.caption));
    ASSERT_TRUE(IsWindow(h));
    EXPECT_EQ(e.parent ? e.parent->Hwnd() : d.Hwnd(), GetParent(h));
    EXPECT_EQ(e.windowClass, ClassOf(h));
    EXPECT_EQ(e.caption, CaptionOf(h));
    EXPECT_TRUE(IsWindowVisible(h));
    const RECT want = {e.left, e.top, e.left + e.width, e.top + e.height}, got = RectInParent(h);
    EXPECT_TRUE(EqualRect(&want, &got))
        << got.left << "," << got.top << " " << got.right - got.left << "x" << got.bottom - got.top;
  }

  auto styleOf = [](const toolkit::Control& c) { return GetWindowLongW(c.Hwnd(), GWL_STYLE); };
  EXPECT_EQ(BS_GROUPBOX, styleOf(d.Frame1) & BS_TYPEMASK);
  EXPECT_EQ(BS_GROUPBOX, styleOf(d.Frame2) & BS_TYPEMASK);
  EXPECT_EQ(BS_AUTOCHECKBOX, styleOf(d.Check1) & BS_TYPEMASK);
  // Neither button is the default one.
  EXPECT_EQ(BS_PUSHBUTTON, styleOf(d.Command1) & BS_TYPEMASK);
  EXPECT_EQ(BS_PUSHBUTTON, styleOf(d.Command2) & BS_TYPEMASK);
  const LONG list = styleOf(d.List1);
  EXPECT_TRUE(list & LBS_NOTIFY);
  EXPECT_FALSE(list & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  EXPECT_EQ(0, d.Check1.Value());
}

TEST_F(SkinDialogTest, ControlsOverTheFramesAreDrawnAndHitAboveThem) {
  FrmSkin& d = Open();
  UpdateWindow(d.Hwnd());
  RedrawWindow(d.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  Pump(50);
  for (HWND control : {d.List1.Hwnd(), d.Text1.Hwnd(), d.Text2.Hwnd(), d.Check1.Hwnd(),
                       d.Command1.Hwnd(), d.Command2.Hwnd()}) {
    RECT r = {};
    GetWindowRect(control, &r);
    const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    EXPECT_EQ(control, WindowFromPoint(centre)) << "control at " << centre.x << "," << centre.y;
  }

  // The empty boxes show their own white inside, not the frame below them;
  // the inside of a frame shows the dialog's face colour.
  HDC screen = GetDC(nullptr);
  auto pixelIn = [&](const toolkit::Control& c, int dx, int dy) {
    RECT r = {};
    GetWindowRect(c.Hwnd(), &r);
    return GetPixel(screen, r.left + dx, r.top + dy);
  };
  const COLORREF window = GetSysColor(COLOR_WINDOW), face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(window, pixelIn(d.Text2, 40, 10));
  EXPECT_EQ(window, pixelIn(d.Text1, 40, 10));
  EXPECT_EQ(window, pixelIn(d.List1, 50, 100));
  // Frame2 between the boxes' row and the check box.
  EXPECT_EQ(face, pixelIn(d.Frame2, 20, 85));
  ReleaseDC(nullptr, screen);
}

TEST_F(SkinDialogTest, ListTakesTheFocusFirstAndTabFollowsTheTable) {
  FrmSkin& d = Open();
  ASSERT_EQ(d.List1.Hwnd(), GetFocus());
  const toolkit::Control* order[] = {&d.Text1,    &d.Text2,    &d.Check1,
                                     &d.Command1, &d.Command2, &d.List1};
  for (const toolkit::Control* next : order) {
    PressKey(VK_TAB);
    EXPECT_EQ(next->Hwnd(), GetFocus()) << "focus on " << Utf8(CaptionOf(GetFocus()));
  }
}

TEST_F(SkinDialogTest, EnterAndEscapePressNothing) {
  AddSkins({L"Blue.she"});
  FrmSkin& d = Open();
  Type(d.Text1, L"30");
  MessageBoxAnswerer answerer(IDYES);
  for (HWND focus : {d.Text1.Hwnd(), d.Command1.Hwnd(), d.Command2.Hwnd(), d.List1.Hwnd()}) {
    SetFocus(focus);
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
  }
  Pump(100);
  EXPECT_TRUE(answerer.Seen().empty());
  EXPECT_TRUE(d.IsLoaded());
  EXPECT_EQ(L"30", d.Text1.Text());
  EXPECT_TRUE(EngineTrace().empty());
}

TEST_F(SkinDialogTest, AltKeysPressTheButtons) {
  FrmSkin& d = Open();
  MessageBoxAnswerer answerer(IDNO);
  Type(d.Text2, L"5");
  PostMessageW(GetFocus(), WM_SYSCHAR, 'x', 0x20000001);
  ASSERT_TRUE(PumpUntil([&] { return !answerer.Seen().empty(); }));
  EXPECT_TRUE(d.IsLoaded());

  PostMessageW(GetFocus(), WM_SYSCHAR, 's', 0x20000001);
  ASSERT_TRUE(PumpUntil([] { return frmSkin.IsEmpty(); }));
  EXPECT_EQ(L"5", Stored(L"SkinAlpha"));
}

}  // namespace
}  // namespace skin_dialog_test
