// Picture files made to harm: headers that wrap a decoder's buffer size,
// decompression bombs, damaged checksums, links out of the skin's folder,
// devices, pipes. Each leaves its part in the skin's colours, the skin
// attached and the process whole; a crash ends this program, and the test.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "png_writer.h"
#include "skins/SkinH.h"
#include "support/screen.h"
#include "support/wine_test.h"
#include "test_skins.h"

namespace {

using engine_test::kLight;
using engine_test::Shot;
using png_writer::Chunk;
using png_writer::Ihdr;
using png_writer::kSignature;
using png_writer::Png;
using wine_test::InApp;
using wine_test::Pump;

constexpr uint32_t kRed = 0xFFE01010;
const COLORREF kCaption = kLight[engine_test::caption_active];
const char kCaptionKey[] = "image_caption = caption.png, 1, 0 0 0 0";

COLORREF Ref(uint32_t argb) { return RGB(argb >> 16 & 0xFF, argb >> 8 & 0xFF, argb & 0xFF); }

std::string RedPicture() { return Png(4, 4, std::vector<uint32_t>(16, kRed)); }

// Skin\<name>.she, the light test skin in format 2 with `keys`; its
// pictures, when given, written into Skin\<name>\.
std::wstring WriteSkin(const std::wstring& name, const std::string& keys,
                       const std::vector<std::pair<std::wstring, std::string>>& files = {}) {
  std::string text = engine_test::SkinText(kLight);
  text.replace(0, 7, "she = 2");
  CreateDirectoryW(InApp(L"Skin").c_str(), nullptr);
  if (!files.empty()) CreateDirectoryW(InApp(L"Skin\\" + name).c_str(), nullptr);
  for (const auto& [file, bytes] : files) {
    wine_test::WriteBytes(InApp(L"Skin\\" + name + L"\\" + file), bytes);
  }
  const std::wstring path = InApp(L"Skin\\" + name + L".she");
  wine_test::WriteBytes(path, text + keys + "\n");
  return path;
}

PROCESS_MEMORY_COUNTERS Memory() {
  PROCESS_MEMORY_COUNTERS m = {};
  m.cb = sizeof m;
  K32GetProcessMemoryInfo(GetCurrentProcess(), &m, sizeof m);
  return m;
}

class HostilePictureTest : public testing::Test {
 protected:
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    SkinH::SkinH_AdjustHSV(0, 0, 0);
    Pump(100);
  }

  // Attaches the skin (which must load whatever its pictures hold), shows
  // a window and gives the colour at the caption's left end and middle.
  std::pair<COLORREF, COLORREF> CaptionAfterAttaching(const std::wstring& skin) {
    EXPECT_EQ(SkinH::SkinH_AttachEx(skin, L""), 1);
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    hwnd = engine_test::MakeShownWindow(60, 60, 300, 200, L"");
    const RECT w = engine_test::ScreenRectOfWindow(hwnd);
    const Shot shot = Shot::Settled(w);
    return {shot.At(w.left + 2, w.top + 1), shot.At((w.left + w.right) / 2, w.top + 1)};
  }

  void ExpectColoursOnly(const std::wstring& skin) {
    const auto [left, middle] = CaptionAfterAttaching(skin);
    EXPECT_COLOR(left, kCaption);
    EXPECT_COLOR(middle, kCaption);
  }

  HWND hwnd = nullptr;
};

// First in this program, so that no earlier test has raised the peak: a
// 1.7 MB file claiming 8192 x 8192 pixels (256 MiB once decoded) costs no
// more memory than it takes to read it.
TEST_F(HostilePictureTest, ADecompressionBombIsRefusedBeforeDecoding) {
  constexpr uint32_t kSide = 8192;
  const std::string bomb = kSignature + Ihdr(kSide, kSide) +
                           Chunk("IDAT", png_writer::Zeros(uint64_t(kSide) * (1 + kSide * 4))) +
                           Chunk("IEND", "");
  const std::wstring skin = WriteSkin(L"Bomb", kCaptionKey, {{L"caption.png", bomb}});
  const PROCESS_MEMORY_COUNTERS before = Memory();
  ExpectColoursOnly(skin);
  const PROCESS_MEMORY_COUNTERS after = Memory();
  // Wine keeps the peak of the working set, not of the committed memory.
  EXPECT_LT(after.PeakWorkingSetSize, before.PeakWorkingSetSize + (24u << 20))
      << "decoded before it was refused";
}

// Headers that lie about the data behind them: sizes that wrap 32 bits,
// and one within the limits, over 2000 rows of data.
TEST_F(HostilePictureTest, HeadersThatLieAboutTheirDataAreRefused) {
  const struct {
    uint32_t width, height;
    char depth;
  } cases[] = {{32768, 32768, 8},
               {32768, 32769, 8},
               {16384, 32768, 16},
               {65536, 16384, 8},
               {2048, 2048, 8}};  // within the limits, its data 48 rows short
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    // 2000 rows of zeros: far more than a wrapped buffer holds.
    const uint64_t row = 1 + uint64_t(c.width) * 4 * (c.depth / 8);
    const std::string file = kSignature + Ihdr(c.width, c.height, c.depth) +
                             Chunk("IDAT", png_writer::Zeros(row * 2000)) + Chunk("IEND", "");
    ExpectColoursOnly(WriteSkin(L"Wrap", kCaptionKey, {{L"caption.png", file}}));
  }
}

// The same red picture: drawn from a plain folder; refused with a wrong
// checksum, through a link, from a linked folder, from a device or a pipe,
// and for a skin file without a base name.
TEST_F(HostilePictureTest, OnlyASoundPlainFileInThePlainFolderIsDrawn) {
  const std::string red = RedPicture();
  const auto [left, middle] =
      CaptionAfterAttaching(WriteSkin(L"Plain", kCaptionKey, {{L"caption.png", red}}));
  EXPECT_COLOR(left, Ref(kRed)) << "a sound picture is drawn";
  EXPECT_COLOR(middle, Ref(kRed));

  std::string bad_header = red, bad_data = red;
  bad_header[kSignature.size() + 8 + 13] ^= 1;  // IHDR's CRC
  bad_data[bad_data.size() - 12 - 1] ^= 1;      // IDAT's CRC
  for (const auto& [name, file] : {std::pair{L"BadHeader", bad_header}, {L"BadData", bad_data}}) {
    SCOPED_TRACE(testing::Message() << name);
    ExpectColoursOnly(WriteSkin(name, kCaptionKey, {{L"caption.png", file}}));
  }

  // Planted by plant_links.sh: the targets are written here.
  wine_test::WriteBytes(InApp(L"outside.png"), red);
  wine_test::WriteBytes(InApp(L"RealFolder\\caption.png"), red);
  ASSERT_EQ(wine_test::ReadBytes(InApp(L"Skin\\Linked\\caption.png")), red)
      << "the fixture plants the link";
  const char kDeviceKeys[] =
      "image_caption = caption.png, 1, 0 0 0 0\n"
      "image_caption_close = close.png, 1, 0 0 0 0\n"
      "image_button = button.png, 1, 0 0 0 0";
  for (const auto& [name, keys] : {std::pair{L"Linked", kCaptionKey},
                                   {L"LinkedFolder", kCaptionKey},
                                   {L"Devices", kDeviceKeys},
                                   {L"Pipe", kCaptionKey}}) {
    SCOPED_TRACE(testing::Message() << name);
    ExpectColoursOnly(WriteSkin(name, keys));
  }

  wine_test::WriteBytes(InApp(L"Skin\\caption.png"), red);
  ExpectColoursOnly(WriteSkin(L"", kCaptionKey));  // Skin\.she
  DeleteFileW(InApp(L"Skin\\caption.png").c_str());
}

// Turned by 120 degrees the caption picture turns, the close button's
// hover frame keeps its red (and its white glyph its contrast).
TEST_F(HostilePictureTest, TheCloseButtonStaysRedUnderAnyHue) {
  constexpr uint32_t kBand = 0xFF3070B0, kCloseRed = 0xFFC42B1C, kClear = 0;
  std::vector<uint32_t> close(4 * 16, kClear);
  std::fill(close.begin() + 16, close.begin() + 48, kCloseRed);  // hover, pressed
  const std::wstring skin = WriteSkin(
      L"Close",
      "image_caption = caption.png, 1, 0 0 0 0\nimage_caption_close = close.png, 4, 0 0 0 0",
      {{L"caption.png", Png(4, 4, std::vector<uint32_t>(16, kBand))},
       {L"close.png", Png(4, 16, close)}});
  CaptionAfterAttaching(skin);
  SkinH::SkinH_AdjustHSV(120, 0, 0);
  const RECT w = engine_test::ScreenRectOfWindow(hwnd);
  POINT inside = {-1, -1};
  for (int x = w.right - 2; x > w.right - 60 && inside.x < 0; x--) {
    if (SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, w.top + 8)) == HTCLOSE) {
      inside = {x - 2, w.top + 8};
    }
  }
  ASSERT_GE(inside.x, 0) << "no close button";
  SetCursorPos(inside.x, inside.y);
  Pump(300);
  const Shot shot = Shot::Settled(w);
  // (0x30, 0x70, 0xB0) turned by 120 degrees is (0xB0, 0x30, 0x70).
  EXPECT_COLOR(shot.At((w.left + w.right) / 2, w.top + 1), RGB(0xB0, 0x30, 0x70));
  EXPECT_COLOR(shot.At(inside.x, inside.y), Ref(kCloseRed));
  SetCursorPos(0, 0);
  Pump(100);
}

}  // namespace
