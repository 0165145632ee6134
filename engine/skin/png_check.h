// Our own reading of a PNG file's structure, before any decoder sees a
// byte of it: the signature, every chunk's length, type and CRC, the
// header's fields, the order of the chunks. A picture file comes with a
// skin that anyone may have made, so it is read as hostile. Pure C++: no
// Windows headers, tested natively and fuzzed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "skin/she_file.h"

namespace skin {

// Each side of a picture at most this many pixels; the decoded pixels of
// one skin (4 bytes a pixel) at most kMaxSkinPictureBytes, pictures taken
// in the order of ImagePart; a file larger than kMaxPictureFileBytes is
// not read (a picture within the limits is far smaller, even stored
// without compression).
constexpr int kMaxPictureSide = 2048;
constexpr uint64_t kMaxSkinPictureBytes = uint64_t(16) << 20;
constexpr uint64_t kMaxPictureFileBytes = uint64_t(17) << 20;

enum class PngFault {
  None,
  TooShort,         // shorter than a signature, a header and an end
  Signature,        // not the eight bytes every PNG starts with
  ChunkCut,         // a chunk's length runs past the end of the file
  ChunkLength,      // a length of 2^31 or more
  ChunkType,        // a type that is not four ASCII letters
  Crc,              // a chunk's CRC does not match its type and data
  HeaderFirst,      // the first chunk is not a header of 13 bytes
  HeaderTwice,      // a second header
  Size,             // a side of more than kMaxPictureSide
  Format,           // a side of 0; a bit depth, colour type or method no PNG has
  PaletteMissing,   // a paletted picture without a palette before its data
  PaletteBad,       // a palette of no whole number of entries, or too many
  DataMissing,      // no image data
  DataSplit,        // image data in runs with other chunks between them
  UnknownCritical,  // a critical chunk this reader does not know
  EndMissing,       // no end chunk
  AfterEnd,         // bytes after the end chunk
  DataOutOfOrder,   // a header or palette after the image data
};

// What the header says, filled when the check passes.
struct PngInfo {
  int width = 0;
  int height = 0;
  int bit_depth = 0;
  int colour_type = 0;
  bool interlaced = false;
};

// Checks the whole file. PngFault::None only for a file whose every chunk
// is whole and sound, with a header first, one run of image data and the
// end chunk last.
PngFault CheckPng(const uint8_t* data, size_t size, PngInfo* info);

// The bytes the engine holds for a picture of this size: 4 a pixel,
// computed in 64 bits.
uint64_t DecodedBytes(const PngInfo& info);

// A short English text for a fault ("a chunk's CRC does not match").
std::string_view PngFaultText(PngFault fault);

// Whether a picture is used, decided before it is decoded.
enum class PictureVerdict {
  Used,
  Missing,       // no such file
  NotPlainFile,  // a link, a folder, a device, or not inside the folder
  FileTooLarge,  // larger than kMaxPictureFileBytes (or empty)
  Damaged,       // CheckPng found a fault
  SideTooLarge,  // a side of more than kMaxPictureSide pixels
  OverBudget,    // the skin's decoded pixels would pass kMaxSkinPictureBytes
  FramesUneven,  // the height is not a whole number of frames
  NoCentre,      // the margins leave no centre in a frame
  DecodeFailed,  // the platform's decoder refused a file we found sound
};

std::string_view PictureVerdictText(PictureVerdict verdict);

// The verdict on one picture file's bytes, for the part's layout, with
// `*budget` the decoded bytes the skin may still use; a used picture's
// bytes are taken off it. `*info` (may be null) gets the header.
PictureVerdict JudgePicture(const ImageLayout& layout, const uint8_t* data, size_t size,
                            uint64_t* budget, PngInfo* info, PngFault* fault);

}  // namespace skin
