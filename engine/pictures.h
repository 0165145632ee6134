// The pictures of a format-2 skin: PNG files in the skin's own folder
// (Skin\<base>\), each read only if it is a plain file there and checked by
// our own reading of its structure and limits (skin/png_check.h) before
// the platform's decoder sees it, decoded when first drawn, shifted with
// the skin's hue, and drawn as nine-grids with per-pixel alpha. A part
// whose picture cannot be used has none, and the look draws it from
// colours.
#pragma once

#include <windows.h>

#include <string>

#include "skin/palette.h"
#include "skin/she_file.h"

namespace dulib::pictures {

// Replaces the pictures with those of `skin`, read and checked from the
// folder named after the skin file (`she_path` without ".she"; none for a
// file named just ".she"). Any earlier pictures and their shifted copies
// are freed first; the new ones are decoded as the look first asks.
void Load(const std::wstring& she_path, const skin::Skin& skin);

// The shift to draw with; shifted pictures are made again when next drawn.
void SetAdjustment(const skin::Adjustment& adjustment);

// Whether the part is drawn from a picture: decodes it at the first call.
bool Has(skin::ImagePart part);
// The number of frames of a part's picture (0 when it has none).
int Frames(skin::ImagePart part);

// Draws frame `frame` (0-based; frame 0 when the picture has fewer) of the
// part's picture into `rc`, blended over what is there. False when the
// part has no picture.
bool Draw(HDC dc, skin::ImagePart part, int frame, const RECT& rc);

}  // namespace dulib::pictures
