// Feeds arbitrary bytes to the skin file parser and checks the promises the
// engine relies on: no crash, and a refused file leaves the skin alone.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "skin/she_file.h"
#include "skin/skin_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);

  skin::Skin before = skin::DefaultSkin();
  skin::Skin skin = before;
  skin::ParseError error;
  if (skin::ParseSkin(text, &skin, &error)) {
    // A name for people: 1 to 100 bytes, no control character.
    if (skin.name.empty() || skin.name.size() > 100) abort();
    for (unsigned char c : skin.name) {
      if (c < 0x20 || c == 0x7F) abort();
    }
    const skin::Metrics& m = skin.metrics;
    if (m.caption_height < skin::kMinCaptionHeight || m.caption_height > skin::kMaxCaptionHeight ||
        m.border_width < skin::kMinBorderWidth || m.border_width > skin::kMaxBorderWidth) {
      abort();
    }
    // Pictures only in format 2, and only names and numbers the engine
    // may use to build a path and cut a strip.
    if (skin.version != 1 && skin.version != 2) abort();
    for (const auto& image : skin.images) {
      if (!image) continue;
      if (skin.version != 2 || !skin::IsImageFileName(image->file)) abort();
      if (image->file.find_first_of("\\/:") != std::string::npos || image->file[0] == '.') abort();
      if (image->frames < 1 || image->frames > skin::kMaxImageFrames) abort();
      for (int side : {image->left, image->top, image->right, image->bottom}) {
        if (side < 0 || side > skin::kMaxImageMargin) abort();
      }
    }
  } else {
    if (skin.name != before.name || !(skin.palette == before.palette)) abort();
    if (error.message.empty()) abort();
  }

  // The report reads on past faults, but the verdict, the skin and the
  // first fault are the engine's: the same with it as without.
  skin::Skin reported = before;
  skin::ParseError first;
  skin::SkinReport report;
  const bool loads = skin::ParseSkin(text, &reported, &first, &report);
  if (loads != skin::ParseSkin(text, &skin, nullptr)) abort();
  if (loads != report.faults.empty()) abort();
  if (loads && !(reported.palette == skin.palette && reported.name == skin.name)) abort();
  if (!loads && (report.faults[0].line != first.line || report.faults[0].message != first.message ||
                 first.line != error.line || first.message != error.message)) {
    abort();
  }

  skin::SkinState state;
  state.SetAdjustment({static_cast<int>(size) * 7919, static_cast<int>(size) - 2000, 0});
  skin::Palette shown = state.palette();
  if (!state.Load(text)) {
    if (!(state.palette() == shown)) abort();
  }
  return 0;
}
