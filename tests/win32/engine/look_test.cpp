// What the look draws that a colour alone does not say: the caption
// buttons' glyphs (size, one-pixel strokes, place) and solid text strokes
// under Wine. Read back from the screen of the real dulib.dll.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "skins/SkinH.h"
#include "support/screen.h"
#include "support/wine_test.h"
#include "test_skins.h"

namespace {

using engine_test::Hex;
using engine_test::Shot;
using wine_test::InApp;
using wine_test::Pump;
using wine_test::PumpUntil;

using engine_test::kDark;
using SkinH::SkinH_AttachEx;

// The dark test skin: active band #305878, caption text #FFE0F0.
const COLORREF kBand = RGB(0x30, 0x58, 0x78);
const COLORREF kInk = RGB(0xFF, 0xE0, 0xF0);

HWND MakeWindow() { return engine_test::MakeShownWindow(80, 80, 420, 240, L"Look \u6d4b\u8bd5"); }

// The screen rectangle of the points the window calls `code`.
RECT HitRect(HWND hwnd, LRESULT code) {
  RECT w;
  GetWindowRect(hwnd, &w);
  RECT r = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = w.top; y < w.top + 60; y++) {
    for (int x = w.right - 200; x < w.right; x++) {
      if (SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != code) continue;
      r = {std::min<LONG>(r.left, x), std::min<LONG>(r.top, y), std::max<LONG>(r.right, x + 1),
           std::max<LONG>(r.bottom, y + 1)};
    }
  }
  return r;
}

// The smallest rectangle around the pixels of one colour.
RECT InkBox(const Shot& shot, const RECT& area, COLORREF ink) {
  RECT box = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = area.top; y < area.bottom; y++) {
    for (int x = area.left; x < area.right; x++) {
      if (shot.At(x, y) != ink) continue;
      box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
             std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
    }
  }
  return box;
}

class LookTest : public testing::Test {
 protected:
  void SetUp() override {
    engine_test::WriteSkin(kDark);
    ASSERT_EQ(SkinH_AttachEx(InApp(kDark.File()), L""), 1);
    hwnd = MakeWindow();
    ASSERT_TRUE(hwnd);
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    Pump(100);
  }
  HWND hwnd = nullptr;
};

// At 96 DPI: glyphs of 10 pixels with one-pixel strokes, in the middle of
// their buttons, whose middle is the title's.
TEST_F(LookTest, CaptionGlyphsAreTenPixelsWithOnePixelStrokesInTheMiddle) {
  ASSERT_EQ(96, GetDeviceCaps(GetDC(nullptr), LOGPIXELSY));
  RECT window;
  GetWindowRect(hwnd, &window);
  Shot shot(window);
  for (LRESULT code : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) {
    SCOPED_TRACE(code);
    RECT button = HitRect(hwnd, code);
    ASSERT_LT(button.left, button.right);
    RECT glyph = InkBox(shot, button, kInk);
    ASSERT_LT(glyph.left, glyph.right) << "no glyph in the caption text colour";
    EXPECT_EQ(10, glyph.right - glyph.left);
    EXPECT_LE(std::abs((glyph.left + glyph.right) - (button.left + button.right)), 2);
    if (code == HTMINBUTTON) {
      EXPECT_EQ(1, glyph.bottom - glyph.top);
      EXPECT_LE(std::abs((glyph.top + glyph.bottom) - (button.top + button.bottom)), 2);
      continue;
    }
    EXPECT_EQ(10, glyph.bottom - glyph.top);
    EXPECT_LE(std::abs((glyph.top + glyph.bottom) - (button.top + button.bottom)), 2);
    // One-pixel strokes: just inside the outline, and beside each
    // diagonal, lies the band.
    EXPECT_EQ(Hex(kBand), Hex(shot.At(glyph.left + 1, glyph.top + 1 + (code == HTCLOSE))));
    EXPECT_EQ(Hex(kBand), Hex(shot.At(glyph.left + 2, glyph.bottom - 2)));
  }
}

// The message box's text: one text colour on one background, no grey
// edge pixels, while the label still reports the font it was given.
struct BoxLook {
  std::set<COLORREF> colors;
  int quality = -1;
  bool seen = false;
};
BoxLook g_box;

void CALLBACK LookAtBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = engine_test::FindMessageBox();
  if (!box || g_box.seen) return;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t cls[16] = {}, text[64] = {};
    GetClassNameW(c, cls, 16);
    GetWindowTextW(c, text, 64);
    if (lstrcmpiW(cls, L"Static") || !text[0]) continue;
    RECT r = engine_test::ScreenRectOfClient(c);
    Shot shot(r);
    for (int y = r.top; y < r.bottom; y++) {
      for (int x = r.left; x < r.right; x++) g_box.colors.insert(shot.At(x, y));
    }
    LOGFONTW lf = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    g_box.quality = lf.lfQuality;
    g_box.seen = true;
  }
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(LookTest, MessageBoxTextHasSolidStrokesUnderWine) {
  g_box = {};
  UINT_PTR timer = SetTimer(nullptr, 0, 400, LookAtBox);
  MessageBoxW(hwnd, L"\u6d88\u606f Message text", L"Look", MB_OK);
  KillTimer(nullptr, timer);
  ASSERT_TRUE(g_box.seen);
  // The dark test skin's face #2C1A30 and face text #F8E0C0, nothing between.
  EXPECT_EQ(2u, g_box.colors.size());
  EXPECT_TRUE(g_box.colors.count(RGB(0x2C, 0x1A, 0x30)));
  EXPECT_TRUE(g_box.colors.count(RGB(0xF8, 0xE0, 0xC0)));
  EXPECT_NE(NONANTIALIASED_QUALITY, g_box.quality);
}

}  // namespace
