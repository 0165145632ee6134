// Pictures of a format-2 skin under Wine, through the real dulib.dll: PNG
// files written here from stated pixels, read back from the screen. A bad
// picture falls back to colours with bounded memory.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "png_writer.h"
#include "skins/SkinH.h"
#include "support/screen.h"
#include "support/wine_test.h"
#include "test_skins.h"

namespace {

using engine_test::Hex;
using engine_test::kLight;
using engine_test::Shot;
using wine_test::InApp;
using wine_test::Pump;
using wine_test::PumpUntil;

using png_writer::Ihdr;
using png_writer::kSignature;
using png_writer::Png;

// ---- the caption picture: two frames of 12 x 8, margins 4 2 4 2 ----

// Active frame: each corner's two rows differ (so a stretched corner
// shows), the top edge and centre are pure red, the bottom edge is white
// at half alpha (premultiplied or not, PNG stores it straight).
constexpr uint32_t kTopLeft[2] = {0xFF103050, 0xFF800000};
constexpr uint32_t kTopRight[2] = {0xFF205070, 0xFF008000};
constexpr uint32_t kBottomLeft[2] = {0xFF000080, 0xFF306090};
constexpr uint32_t kBottomRight[2] = {0xFF408020, 0xFF602040};
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kHalfWhite = 0x80FFFFFF;
constexpr uint32_t kInactive = 0xFF20A040;  // the whole second frame

std::vector<uint32_t> CaptionPixels() {
  std::vector<uint32_t> p(12 * 16, kInactive);
  for (int y = 0; y < 8; y++) {
    for (int x = 0; x < 12; x++) {
      uint32_t c = kRed;
      bool left = x < 4, right = x >= 8;
      if (y < 2 && left) c = kTopLeft[y];
      if (y < 2 && right) c = kTopRight[y];
      if (y >= 6 && left) c = kBottomLeft[y - 6];
      if (y >= 6 && right) c = kBottomRight[y - 6];
      if (y >= 6 && !left && !right) c = kHalfWhite;
      p[y * 12 + x] = c;
    }
  }
  return p;
}

COLORREF Ref(uint32_t argb) { return RGB(argb >> 16 & 0xFF, argb >> 8 & 0xFF, argb & 0xFF); }

using Files = std::vector<std::pair<std::wstring, std::string>>;

// The light test skin in format 2 with picture keys, and its pictures in
// Skin\Pic\ (which holds nothing else).
std::wstring WriteSkin(const std::string& image_lines, const Files& files) {
  std::string text = engine_test::SkinText(kLight);
  text.replace(0, 7, "she = 2");
  text += image_lines + "\n";
  CreateDirectoryW(InApp(L"Skin").c_str(), nullptr);
  CreateDirectoryW(InApp(L"Skin\\Pic").c_str(), nullptr);
  for (const wchar_t* old : {L"caption.png", L"close.png", L"button.png"}) {
    DeleteFileW(InApp(L"Skin\\Pic\\" + std::wstring(old)).c_str());
  }
  for (const auto& [name, bytes] : files) {
    wine_test::WriteBytes(InApp(L"Skin\\Pic\\" + name), bytes);
  }
  std::wstring path = InApp(L"Skin\\Pic.she");
  wine_test::WriteBytes(path, text);
  return path;
}

std::wstring WriteSkin(const std::string& image_line, const std::string& png) {
  if (png.empty()) return WriteSkin(image_line, Files{});
  return WriteSkin(image_line, Files{{L"caption.png", png}});
}

const char kCaptionKey[] = "image_caption = caption.png, 2, 4 2 4 2";

HWND MakeWindow(int width, int height) {
  return engine_test::MakeShownWindow(60, 60, width, height, L"");
}

// The caption band's height: from the window's top to its client area.
int BandHeight(HWND hwnd) {
  RECT w = engine_test::ScreenRectOfWindow(hwnd), c = engine_test::ScreenRectOfClient(hwnd);
  return c.top - w.top;
}

size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX m = {};
  m.cb = sizeof m;
  K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m),
                          sizeof m);
  return m.PrivateUsage;
}

class PictureTest : public testing::Test {
 protected:
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    SkinH::SkinH_AdjustHSV(0, 0, 0);
    Pump(100);
  }
  // Attaches the skin, shows a 300 x 200 window and gives it as seen.
  Shot Showing(const std::string& keys, const Files& files) {
    EXPECT_EQ(SkinH::SkinH_AttachEx(WriteSkin(keys, files), L""), 1);
    hwnd = MakeWindow(300, 200);
    return Shot::Settled(engine_test::ScreenRectOfWindow(hwnd));
  }
  HWND hwnd = nullptr;
};

// At two sizes the corners keep their 4 x 2 pixels: the pixel just past
// each corner is already the edge. The outer line (the frame's edge) is
// drawn over the picture's outermost pixels.
TEST_F(PictureTest, NineGridKeepsCornersPixelForPixelAtEverySize) {
  const std::wstring path = WriteSkin(kCaptionKey, Png(12, 16, CaptionPixels()));
  LARGE_INTEGER f, t0, t1;  // not a check: the time of attaching, for the log
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  ASSERT_EQ(SkinH::SkinH_AttachEx(path, L""), 1);
  QueryPerformanceCounter(&t1);
  printf("SkinH_AttachEx with a picture: %.2f ms\n",
         (t1.QuadPart - t0.QuadPart) * 1000.0 / f.QuadPart);
  for (SIZE size : {SIZE{300, 200}, SIZE{520, 260}}) {
    SCOPED_TRACE(size.cx);
    hwnd = MakeWindow(size.cx, size.cy);
    RECT w = engine_test::ScreenRectOfWindow(hwnd);
    Shot shot = Shot::Settled(w);
    const int l = w.left, t = w.top, r = w.right - 1, b = w.top + BandHeight(hwnd) - 1;
    for (int x = 1; x < 4; x++) {
      EXPECT_COLOR(shot.At(l + x, t + 1), Ref(kTopLeft[1]));
      EXPECT_COLOR(shot.At(r - x, t + 1), Ref(kTopRight[1]));
      EXPECT_COLOR(shot.At(l + x, b - 1), Ref(kBottomLeft[0]));
      EXPECT_COLOR(shot.At(l + x, b), Ref(kBottomLeft[1]));
      EXPECT_COLOR(shot.At(r - x, b - 1), Ref(kBottomRight[0]));
      EXPECT_COLOR(shot.At(r - x, b), Ref(kBottomRight[1]));
    }
    EXPECT_COLOR(shot.At(l + 4, t + 1), Ref(kRed));
    EXPECT_COLOR(shot.At(r - 4, t + 1), Ref(kRed));
    EXPECT_COLOR(shot.At(l + 1, t + 2), Ref(kRed));  // left edge, stretched
    // Half-transparent white over the band's colour #8A1C6C beneath:
    // 255 * 128/255 + 0x8A * 127/255 = 196.7, and so on.
    COLORREF blended = shot.At((l + r) / 2, b);
    EXPECT_NEAR(GetRValue(blended), 197, 2);
    EXPECT_NEAR(GetGValue(blended), 142, 2);
    EXPECT_NEAR(GetBValue(blended), 182, 2);
    DestroyWindow(hwnd);
    Pump(100);
  }
}

// A format-1 skin draws as it always did: an image_ key in it, and a folder
// of pictures named after it, change no pixel of a window.
TEST_F(PictureTest, AFormatOneSkinIgnoresPictureKeysAndItsFolder) {
  const std::wstring path = WriteSkin(kCaptionKey, Png(12, 16, CaptionPixels()));
  const std::string colours = engine_test::SkinText(kLight);  // "she = 1" first
  auto shoot = [&](const std::string& text) {
    wine_test::WriteBytes(path, text);
    EXPECT_EQ(SkinH::SkinH_AttachEx(path, L""), 1);
    hwnd = MakeWindow(300, 200);
    Shot shot = Shot::Settled(engine_test::ScreenRectOfWindow(hwnd));
    DestroyWindow(hwnd);
    Pump(100);
    return shot;
  };
  const Shot with_key = shoot(colours + kCaptionKey + "\n");
  EXPECT_EQ(with_key.CountNear(Ref(kRed), 0), 0) << "the caption picture shows";
  const Shot without = shoot(colours);
  EXPECT_TRUE(with_key == without) << "the image_ key changed pixels";
}

TEST_F(PictureTest, AnInactiveWindowShowsTheSecondFrame) {
  ASSERT_EQ(SkinH::SkinH_AttachEx(WriteSkin(kCaptionKey, Png(12, 16, CaptionPixels())), L""), 1);
  hwnd = MakeWindow(300, 200);
  HWND other = MakeWindow(200, 150);
  SetWindowPos(other, nullptr, 700, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Pump(300);
  RECT w = engine_test::ScreenRectOfWindow(hwnd);
  Shot shot = Shot::Settled(w);
  EXPECT_COLOR(shot.At(w.left + 2, w.top + 1), Ref(kInactive));
  EXPECT_COLOR(shot.At((w.left + w.right) / 2, w.top + 1), Ref(kInactive));
  DestroyWindow(other);
}

// Turned by 120 degrees: pure red becomes pure green, (0x80, 0, 0)
// becomes (0, 0x80, 0), (0x10, 0x30, 0x50) becomes (0x50, 0x10, 0x30).
TEST_F(PictureTest, AHueShiftTurnsThePicture) {
  ASSERT_EQ(SkinH::SkinH_AttachEx(WriteSkin(kCaptionKey, Png(12, 16, CaptionPixels())), L""), 1);
  hwnd = MakeWindow(300, 200);
  // Not a check: the time of a preview step with a picture, for the log.
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  SkinH::SkinH_AdjustHSV(120, 0, 0);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  QueryPerformanceCounter(&t1);
  printf("hue shift with a picture, repainted: %.2f ms\n",
         (t1.QuadPart - t0.QuadPart) * 1000.0 / f.QuadPart);
  Pump(300);
  RECT w = engine_test::ScreenRectOfWindow(hwnd);
  Shot shot = Shot::Settled(w);
  EXPECT_COLOR(shot.At(w.left + 2, w.top + 1), RGB(0x00, 0x80, 0x00));
  EXPECT_COLOR(shot.At(w.left + 5, w.top + 1), RGB(0x00, 0xFF, 0x00));
  EXPECT_COLOR(shot.At(w.left + 2, w.top + BandHeight(hwnd) - 2), RGB(0x80, 0x00, 0x00));
  // Another hue: measured from the picture, not from the last shift
  // (red turned by 240 degrees is blue), and then none.
  SkinH::SkinH_AdjustHSV(240, 0, 0);
  Pump(300);
  EXPECT_COLOR(Shot::Settled(w).At(w.left + 5, w.top + 1), RGB(0x00, 0x00, 0xFF));
  SkinH::SkinH_AdjustHSV(0, 0, 0);
  Pump(300);
  EXPECT_COLOR(Shot::Settled(w).At(w.left + 5, w.top + 1), Ref(kRed));
}

// Each bad picture leaves the caption in its colour, the skin attached,
// and the process without a large allocation.
TEST_F(PictureTest, ABadPictureFallsBackToColoursWithBoundedMemory) {
  const std::string good = Png(12, 16, CaptionPixels());
  std::vector<uint32_t> wide(2049 * 2, kRed);
  struct Case {
    const char* what;
    std::string key;
    std::string png;
  } cases[] = {
      {"missing", kCaptionKey, ""},
      {"truncated", kCaptionKey, good.substr(0, good.size() / 2)},
      {"garbage", kCaptionKey, std::string(300, '\x5A')},
      {"not a png", kCaptionKey, "BM" + std::string(200, '\0')},
      {"2049 wide", "image_caption = caption.png, 2, 4 0 4 0", Png(2049, 2, wide)},
      // The header claims 60000 x 60000 (14 GB decoded); the data is tiny.
      {"lying header", kCaptionKey,
       kSignature + Ihdr(60000, 60000) + good.substr(kSignature.size() + 25)},
      {"frames do not divide", "image_caption = caption.png, 3, 4 2 4 2", good},
      {"margins too large", "image_caption = caption.png, 2, 6 2 6 2", good},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    size_t before = PrivateBytes();
    ASSERT_EQ(SkinH::SkinH_AttachEx(WriteSkin(c.key, c.png), L""), 1);
    EXPECT_LT(PrivateBytes(), before + (4u << 20));
    hwnd = MakeWindow(300, 200);
    RECT w = engine_test::ScreenRectOfWindow(hwnd);
    Shot shot = Shot::Settled(w);
    EXPECT_COLOR(shot.At(w.left + 2, w.top + 1), kLight[engine_test::caption_active]);
    EXPECT_COLOR(shot.At((w.left + w.right) / 2, w.top + 1), kLight[engine_test::caption_active]);
    DestroyWindow(hwnd);
    Pump(100);
  }
}

// With `tile` the top edge repeats at its own size: two red columns, two
// blue, again and again across the band; stretched, they would be one red
// half and one blue half.
TEST_F(PictureTest, TiledEdgesRepeatAtTheirOwnSize) {
  std::vector<uint32_t> pixels = CaptionPixels();
  for (int y = 0; y < 6; y++) {
    for (int x = 6; x < 8; x++) pixels[y * 12 + x] = 0xFF0000FF;
  }
  ASSERT_EQ(
      SkinH::SkinH_AttachEx(
          WriteSkin("image_caption = caption.png, 2, 4 2 4 2, tile", Png(12, 16, pixels)), L""),
      1);
  hwnd = MakeWindow(300, 200);
  RECT w = engine_test::ScreenRectOfWindow(hwnd);
  Shot shot = Shot::Settled(w);
  const int y = w.top + 1;  // the top edge, clear of the window's icon
  EXPECT_COLOR(shot.At(w.left + 3, y), Ref(kTopLeft[1]));
  for (int k = 0; k < 16; k++) {
    EXPECT_COLOR(shot.At(w.left + 4 + k, y), k % 4 < 2 ? Ref(kRed) : RGB(0, 0, 0xFF)) << k;
  }
}

// A push button's five frames, each one colour, picked by its state.
TEST_F(PictureTest, EachButtonStatePicksItsFrame) {
  const uint32_t frames[5] = {0xFF2060A0, 0xFF60A020, 0xFFA02060, 0xFF808040, 0xFF40C0C0};
  std::vector<uint32_t> pixels;
  for (uint32_t c : frames) pixels.insert(pixels.end(), 8 * 8, c);
  ASSERT_EQ(SkinH::SkinH_AttachEx(WriteSkin("image_button = button.png, 5, 0 0 0 0",
                                            Files{{L"button.png", Png(8, 40, pixels)}}),
                                  L""),
            1);
  hwnd = MakeWindow(300, 200);
  HWND button = CreateWindowExW(0, L"Button", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20,
                                90, 30, hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetFocus(hwnd);
  Pump(200);
  auto centre = [button] {
    RECT r = engine_test::ScreenRectOfClient(button);
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(200);
    return Shot::Settled(r).At((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  };
  EXPECT_COLOR(centre(), Ref(frames[0]));
  SendMessageW(button, BM_SETSTATE, TRUE, 0);
  EXPECT_COLOR(centre(), Ref(frames[2]));
  SendMessageW(button, BM_SETSTATE, FALSE, 0);
  SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_COLOR(centre(), Ref(frames[4]));
  EnableWindow(button, FALSE);
  EXPECT_COLOR(centre(), Ref(frames[3]));
}

// A part as small as a button is composed once at its size and then drawn
// whole: its corners still keep their pixels, and a new hue, no hue again
// and another picture of the same name each show at once.
TEST_F(PictureTest, ASmallPartFollowsEveryChangeOfItsPicture) {
  constexpr uint32_t kCorner = 0xFF800000, kMiddle = 0xFF008000, kOther = 0xFF2060A0;
  auto picture = [](uint32_t corner, uint32_t middle) {  // 8 x 8, corners 2 x 2
    std::vector<uint32_t> p(8 * 8, middle);
    for (int i : {0, 1, 6, 7, 8, 9, 14, 15, 48, 49, 54, 55, 56, 57, 62, 63}) p[i] = corner;
    return Files{{L"button.png", Png(8, 8, p)}};
  };
  const char kKey[] = "image_button = button.png, 1, 2 2 2 2";
  Showing(kKey, picture(kCorner, kMiddle));
  HWND button = CreateWindowExW(0, L"Button", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20,
                                60, 24, hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
  auto seen = [button](int x, int y) {
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(200);
    const RECT r = engine_test::ScreenRectOfClient(button);
    return Shot::Settled(r).At(r.left + x, r.top + y);
  };
  EXPECT_COLOR(seen(1, 1), Ref(kCorner));
  EXPECT_COLOR(seen(2, 2), Ref(kMiddle));
  EXPECT_COLOR(seen(58, 22), Ref(kCorner));
  SkinH::SkinH_AdjustHSV(120, 0, 0);  // red turns green, green blue
  EXPECT_COLOR(seen(1, 1), RGB(0x00, 0x80, 0x00));
  EXPECT_COLOR(seen(30, 12), RGB(0x00, 0x00, 0x80));
  SkinH::SkinH_AdjustHSV(0, 0, 0);
  EXPECT_COLOR(seen(30, 12), Ref(kMiddle));
  ASSERT_EQ(SkinH::SkinH_AttachEx(WriteSkin(kKey, picture(kOther, kOther)), L""), 1);
  EXPECT_COLOR(seen(30, 12), Ref(kOther));
}

// Left and right margins of different widths (2 and 5) with a colour each:
// each corner keeps its own width, so margins read the wrong way round
// would paint the left corner 5 pixels wide.
TEST_F(PictureTest, AsymmetricMarginsKeepEachCornersOwnWidth) {
  constexpr uint32_t kLeft = 0xFF803010, kRight = 0xFF103080, kMiddle = 0xFF30A030;
  std::vector<uint32_t> pixels(10 * 4);
  for (int y = 0; y < 4; y++) {
    for (int x = 0; x < 10; x++) pixels[y * 10 + x] = x < 2 ? kLeft : x >= 5 ? kRight : kMiddle;
  }
  const Shot shot =
      Showing("image_caption = caption.png, 1, 2 1 5 1", {{L"caption.png", Png(10, 4, pixels)}});
  const RECT w = shot.rect();
  const int y = w.top + BandHeight(hwnd) - 2;  // the bottom rows, below the buttons
  EXPECT_COLOR(shot.At(w.left + 1, y), Ref(kLeft));
  EXPECT_COLOR(shot.At(w.left + 2, y), Ref(kMiddle));
  EXPECT_COLOR(shot.At(w.right - 5, y), Ref(kRight));
  EXPECT_COLOR(shot.At(w.right - 6, y), Ref(kMiddle));
}

// A check box's and a radio button's eight frames, each one colour: the
// checked states take frames 5 to 8, not the unchecked ones.
TEST_F(PictureTest, CheckedBoxesPickTheCheckedFrames) {
  const uint32_t frames[8] = {0xFF2060A0, 0xFF60A020, 0xFFA02060, 0xFF808040,
                              0xFF40C0C0, 0xFFC04040, 0xFF4040C0, 0xFF208020};
  std::vector<uint32_t> pixels;
  for (uint32_t c : frames) pixels.insert(pixels.end(), 13 * 13, c);
  const std::string strip = Png(13, 104, pixels);
  ASSERT_EQ(SkinH::SkinH_AttachEx(WriteSkin("image_check = check.png, 8, 0 0 0 0\n"
                                            "image_radio = radio.png, 8, 0 0 0 0",
                                            Files{{L"check.png", strip}, {L"radio.png", strip}}),
                                  L""),
            1);
  hwnd = MakeWindow(300, 200);
  auto box_centre = [](HWND box) {
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(200);
    const RECT r = engine_test::ScreenRectOfClient(box);
    return Shot::Settled(r).At(r.left + 6, (r.top + r.bottom) / 2);
  };
  for (DWORD kind : {DWORD(BS_AUTOCHECKBOX), DWORD(BS_AUTORADIOBUTTON)}) {
    SCOPED_TRACE(kind);
    HWND box = CreateWindowExW(0, L"Button", L"box", WS_CHILD | WS_VISIBLE | kind, 20, 20, 120, 24,
                               hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_COLOR(box_centre(box), Ref(frames[0]));
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_COLOR(box_centre(box), Ref(frames[4]));
    SendMessageW(box, BM_SETSTATE, TRUE, 0);
    EXPECT_COLOR(box_centre(box), Ref(frames[6]));
    SendMessageW(box, BM_SETSTATE, FALSE, 0);
    EnableWindow(box, FALSE);
    EXPECT_COLOR(box_centre(box), Ref(frames[7]));
    DestroyWindow(box);
  }
}

// A centre of two pixels (one of each colour) tiled over the band would
// take one blend a repeat, thousands of them: past 1024 repeats in the part
// it is stretched, one colour a half, while the top edge (repeated fewer
// times) still alternates.
TEST_F(PictureTest, ATinyTileOverALargePartIsStretched) {
  constexpr uint32_t kA = 0xFF2050A0, kB = 0xFFA05020;
  const std::vector<uint32_t> pixels = {kRed, kRed, kRed, kRed, kRed, kA, kB, kRed,
                                        kRed, kRed, kRed, kRed, kRed, kA, kB, kRed};
  const Shot shot = Showing("image_caption = caption.png, 1, 1 1 1 2, tile",
                            {{L"caption.png", Png(4, 4, pixels)}});
  const RECT w = shot.rect();
  const int y = w.top + BandHeight(hwnd) / 2, mid = (w.left + w.right) / 2;
  for (int x = w.left + 40; x < mid - 10; x += 7) EXPECT_COLOR(shot.At(x, y), Ref(kA)) << x;
  for (int x = mid + 10; x < mid + 40; x += 7) EXPECT_COLOR(shot.At(x, y), Ref(kB)) << x;
}

// The first picture takes the whole 16 MiB a skin may decode (2048 x 2048
// at 4 bytes); the next one is over the limit and its part keeps its
// colours: the close button shows the caption picture beneath its glyph.
TEST_F(PictureTest, PicturesBeyondTheSkinsBudgetAreNotUsed) {
  constexpr uint32_t kBig = 0xFF3070B0, kClose = 0xFFC04020;
  const std::string big = Png(2048, 2048, std::vector<uint32_t>(2048 * 2048, kBig));
  const std::string close = Png(4, 4, std::vector<uint32_t>(16, kClose));
  const std::string keys =
      "image_caption = caption.png, 2, 0 0 0 0\nimage_caption_close = close.png, 1, 0 0 0 0";
  // The close picture alone is used: the check sees it when it can.
  ASSERT_EQ(SkinH::SkinH_AttachEx(
                WriteSkin(keys, Files{{L"caption.png", Png(4, 8, std::vector<uint32_t>(32, kBig))},
                                      {L"close.png", close}}),
                L""),
            1);
  hwnd = MakeWindow(300, 200);
  auto close_corner = [this] {
    RECT w = engine_test::ScreenRectOfWindow(hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(200);
    Shot shot = Shot::Settled(w);
    // Just inside the close button's top right corner, clear of its glyph.
    for (int x = w.right - 2; x > w.right - 40; x--) {
      if (SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, w.top + 8)) == HTCLOSE) {
        return shot.At(x - 1, w.top + 8);
      }
    }
    return COLORREF(CLR_INVALID);
  };
  EXPECT_COLOR(close_corner(), Ref(kClose));
  const std::wstring full = WriteSkin(keys, Files{{L"caption.png", big}, {L"close.png", close}});
  LARGE_INTEGER f, t0, t1;  // not a check: the time of the largest skin, for the log
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  ASSERT_EQ(SkinH::SkinH_AttachEx(full, L""), 1);
  QueryPerformanceCounter(&t1);
  printf("SkinH_AttachEx with 16 MiB of pictures: %.2f ms\n",
         (t1.QuadPart - t0.QuadPart) * 1000.0 / f.QuadPart);
  EXPECT_COLOR(close_corner(), Ref(kBig));
}

// A caption button's picture lies on the band in every state: a round
// button (here a wholly clear one) shows the caption picture around it
// under the pointer too, not a square of the hover colour.
TEST_F(PictureTest, ACaptionButtonPictureKeepsTheBandAroundItUnderThePointer) {
  constexpr uint32_t kBand = 0xFF3070B0;
  const std::string clear = Png(4, 16, std::vector<uint32_t>(64, 0x00000000));
  const std::string keys =
      "image_caption = caption.png, 1, 0 0 0 0\nimage_caption_close = close.png, 4, 0 0 0 0";
  ASSERT_EQ(SkinH::SkinH_AttachEx(
                WriteSkin(keys, Files{{L"caption.png", Png(4, 4, std::vector<uint32_t>(16, kBand))},
                                      {L"close.png", clear}}),
                L""),
            1);
  hwnd = MakeWindow(300, 200);
  RECT w = engine_test::ScreenRectOfWindow(hwnd);
  POINT corner = {-1, -1}, inside = {-1, -1};
  for (int x = w.right - 2; x > w.right - 60 && corner.x < 0; x--) {
    if (SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, w.top + 8)) == HTCLOSE) {
      corner = {x - 1, w.top + 8};
      inside = {x - 6, w.top + 10};
    }
  }
  ASSERT_GE(corner.x, 0) << "no close button";
  SetCursorPos(inside.x, inside.y);
  Pump(300);
  ASSERT_EQ(HTCLOSE, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)));
  EXPECT_COLOR(Shot::Settled(w).At(corner.x, corner.y), Ref(kBand));
  SetCursorPos(0, 0);
  Pump(100);
}

}  // namespace
