// Skin files (".she"): our own small text format, described in
// docs/skin-format.md. Pure C++: no Windows headers.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/palette.h"

namespace skin {

// Sizes of the self-drawn frame, in pixels at 96 DPI; the engine scales
// them with the display. A skin file may set them within these bounds: a
// caption must hold a line of caption text and the caption buttons, and a
// border of at least one pixel keeps the window resizable by its frame.
constexpr int kMinCaptionHeight = 18;
constexpr int kMaxCaptionHeight = 48;
constexpr int kMinBorderWidth = 1;
constexpr int kMaxBorderWidth = 12;
// Round corners wider than this would cut into the caption buttons.
constexpr int kMaxCornerRadius = 16;

struct Metrics {
  int caption_height = 26;  // title bar, below the top border
  int border_width = 4;     // sizing border on every side
  int corner_radius = 0;    // of the window's outer corners; 0 for square
  // The file gave at least one of the sizes: the engine then lays the
  // frame out itself at these sizes. Without any, the platform's own
  // title bar height and border width stay, as in skins made before.
  bool given = false;
};

// The parts a format-2 skin may draw from a picture, in the order of
// docs/skin-format.md.
enum class ImagePart : int {
  Caption,
  CaptionClose,
  CaptionMaximize,
  CaptionRestore,
  CaptionMinimize,
  MenuBar,
  MenuHighlight,
  Button,
  Check,
  Radio,
  ScrollTrack,
  ScrollThumb,
};
constexpr size_t kImagePartCount = 12;

// The key of a part's picture ("image_caption").
std::string_view ImageKey(ImagePart part);

constexpr int kMaxImageFrames = 8;
constexpr int kMaxImageMargin = 255;
constexpr size_t kMaxImageFileName = 64;

// One picture key: a strip of `frames` frames stacked top to bottom,
// drawn as a nine-grid with these margins (in the picture's pixels).
struct ImageLayout {
  std::string file;  // a bare file name, checked by IsImageFileName
  int frames = 1;
  int left = 0, top = 0, right = 0, bottom = 0;
  bool tile = false;  // edges and centre repeat instead of stretching
};

// 1-64 of A-Z a-z 0-9 _ - ., not starting with '.', ending in ".png" in
// any case: no separator, drive, stream or parent can hide in it.
bool IsImageFileName(std::string_view name);

// Whether a decoded picture of this size can be drawn as the key says:
// its height a whole number of frames and the margins inside a frame.
bool ImageFits(const ImageLayout& layout, int width, int height);

struct Skin {
  std::string name;  // UTF-8, for people only: the engine never shows it
  Palette palette;
  Metrics metrics;
  int version = 1;
  // Format 2 only: the parts drawn from pictures; the others from colours.
  std::array<std::optional<ImageLayout>, kImagePartCount> images;
};

// The look before any skin file is attached: quiet blue-grey, dark text.
Skin DefaultSkin();

// Files larger than this are refused unread; a real skin is a few hundred bytes.
constexpr size_t kMaxSkinFileSize = 64 * 1024;

struct ParseError {
  int line = 0;  // 1-based; 0 when the error is about the file as a whole
  std::string message;
};

// What the parser saw and decided, for a skin maker (skincheck): the
// engine itself never asks for it.
struct SkinReport {
  // Every fault, in the order of the file; the file-wide ones (a missing
  // key) last. Reading goes on past a fault of one line, so that each is
  // told at once; it stops where what follows cannot be read as a skin
  // (no version yet, a file too large or not text).
  std::vector<ParseError> faults;
  // The line of each colour and picture key the file gives; 0 for none.
  std::array<int, kRoleCount> colour_lines{};
  std::array<int, kImagePartCount> image_lines{};
  // The colours the derivation filled in and moved.
  DeriveReport derived;
};

// Reads a whole skin file. On any fault returns false, leaves *out as it
// was and says why in *error (which may be null): a skin is taken
// completely or not at all. *report (may be null) gets every fault and
// what the derivation did; the result is the same with or without it.
bool ParseSkin(std::string_view text, Skin* out, ParseError* error, SkinReport* report = nullptr);

}  // namespace skin
