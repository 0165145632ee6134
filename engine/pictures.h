// The pictures of a format-2 skin: decoded from PNG files in the skin's
// own folder (Skin\<base>\), shifted with the skin's hue, and drawn as
// nine-grids with per-pixel alpha. A part whose picture cannot be used
// has none, and the look draws it from colours.
#pragma once

#include <windows.h>

#include <string>

#include "skin/palette.h"
#include "skin/she_file.h"

namespace dulib::pictures {

// Each side at most this many pixels; all decoded pixels of a skin at most
// kMaxSkinBytes. A picture beyond either is not used.
constexpr int kMaxSide = 2048;
constexpr size_t kMaxSkinBytes = 16u << 20;
// A PNG file larger than this is not read: a picture within the limits
// above is far smaller, even stored without compression.
constexpr DWORD kMaxFileBytes = 17u << 20;

// Replaces the pictures with those of `skin`, read from the folder named
// after the skin file (`she_path` without ".she"). Any earlier pictures
// and their shifted copies are freed first.
void Load(const std::wstring& she_path, const skin::Skin& skin);

// The shift to draw with; shifted pictures are made again when next drawn.
void SetAdjustment(const skin::Adjustment& adjustment);

bool Has(skin::ImagePart part);
// The number of frames of a part's picture (0 when it has none).
int Frames(skin::ImagePart part);

// Draws frame `frame` (0-based; frame 0 when the picture has fewer) of the
// part's picture into `rc`, blended over what is there. False when the
// part has no picture.
bool Draw(HDC dc, skin::ImagePart part, int frame, const RECT& rc);

}  // namespace dulib::pictures
