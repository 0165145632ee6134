// Skin files (".she"): our own small text format, described in
// docs/skin-format.md. Pure C++: no Windows headers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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

struct Metrics {
  int caption_height = 26;  // title bar, below the top border
  int border_width = 4;     // sizing border on every side
};

struct Skin {
  std::string name;  // UTF-8, for people only: the engine never shows it
  Palette palette;
  Metrics metrics;
};

// The look before any skin file is attached: quiet blue-grey, dark text.
Skin DefaultSkin();

// Files larger than this are refused unread; a real skin is a few hundred bytes.
constexpr size_t kMaxSkinFileSize = 64 * 1024;

struct ParseError {
  int line = 0;  // 1-based; 0 when the error is about the file as a whole
  std::string message;
};

// Reads a whole skin file. On any fault returns false, leaves *out as it
// was and says why in *error (which may be null): a skin is taken
// completely or not at all.
bool ParseSkin(std::string_view text, Skin* out, ParseError* error);

}  // namespace skin
