#include "skin/png_check.h"

#include <array>

namespace skin {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kSignatureSize = sizeof kSignature;
// Length, type and CRC around every chunk's data.
constexpr size_t kChunkOverhead = 12;
constexpr uint32_t kHeaderSize = 13;
// Chunk lengths are at most 2^31 - 1.
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFFu;
// The smallest file: signature, header, end.
constexpr size_t kMinFileSize = kSignatureSize + kChunkOverhead + kHeaderSize + kChunkOverhead;
// A palette holds 1 to 256 entries of three bytes.
constexpr uint32_t kMaxPaletteEntries = 256;
constexpr uint32_t kPaletteEntrySize = 3;

constexpr uint32_t Type(const char (&name)[5]) {
  return uint32_t(uint8_t(name[0])) << 24 | uint32_t(uint8_t(name[1])) << 16 |
         uint32_t(uint8_t(name[2])) << 8 | uint32_t(uint8_t(name[3]));
}
constexpr uint32_t kHeader = Type("IHDR");
constexpr uint32_t kPalette = Type("PLTE");
constexpr uint32_t kData = Type("IDAT");
constexpr uint32_t kEnd = Type("IEND");

// Bit 5 of a chunk type's first letter: lower case for a chunk a reader
// may skip, upper case for one it must understand.
bool IsCritical(uint32_t type) { return (type >> 24 & 0x20) == 0; }

uint32_t BigEndian(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

bool IsLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The CRC-32 of ISO 3309 that PNG uses (polynomial 0xEDB88320, reflected).
const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; n++) {
      uint32_t c = n;
      for (int k = 0; k < 8; k++) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

// Over the chunk's type and data, as PNG defines it.
uint32_t Crc(const uint8_t* p, size_t n) {
  const auto& table = CrcTable();
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; i++) c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

// Bit depths PNG allows for each colour type.
bool ValidFormat(int colour_type, int depth) {
  switch (colour_type) {
    case 0:  // grey
      return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:  // palette
      return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:  // RGB
    case 4:  // grey and alpha
    case 6:  // RGBA
      return depth == 8 || depth == 16;
    default:
      return false;
  }
}

PngFault ReadHeader(const uint8_t* data, PngInfo* info) {
  const uint32_t width = BigEndian(data), height = BigEndian(data + 4);
  if (width < 1 || height < 1) return PngFault::Format;
  if (width > uint32_t(kMaxPictureSide) || height > uint32_t(kMaxPictureSide)) {
    return PngFault::Size;
  }
  const int depth = data[8], colour_type = data[9];
  const int compression = data[10], filter = data[11], interlace = data[12];
  if (!ValidFormat(colour_type, depth) || compression != 0 || filter != 0 || interlace > 1) {
    return PngFault::Format;
  }
  info->width = int(width);
  info->height = int(height);
  info->bit_depth = depth;
  info->colour_type = colour_type;
  info->interlaced = interlace == 1;
  return PngFault::None;
}

// What the walk over the chunks has seen so far.
struct Walk {
  bool header = false;
  bool palette = false;
  bool data = false;        // a run of image data has started
  bool data_ended = false;  // ... and another chunk came after it
  PngInfo info;
};

PngFault TakeChunk(uint32_t type, const uint8_t* body, uint32_t length, Walk* walk) {
  if (!walk->header && type != kHeader) return PngFault::HeaderFirst;
  if (walk->data && type != kData) walk->data_ended = true;
  switch (type) {
    case kHeader:
      if (walk->header) return PngFault::HeaderTwice;
      if (length != kHeaderSize) return PngFault::HeaderFirst;
      walk->header = true;
      return ReadHeader(body, &walk->info);
    case kPalette:
      if (walk->data) return PngFault::DataOutOfOrder;
      if (walk->palette || length == 0 || length % kPaletteEntrySize != 0 ||
          length / kPaletteEntrySize > kMaxPaletteEntries ||
          length / kPaletteEntrySize > (1u << walk->info.bit_depth) ||
          walk->info.colour_type == 0 || walk->info.colour_type == 4) {
        return PngFault::PaletteBad;
      }
      walk->palette = true;
      return PngFault::None;
    case kData:
      if (walk->data_ended) return PngFault::DataSplit;
      if (walk->info.colour_type == 3 && !walk->palette) return PngFault::PaletteMissing;
      walk->data = true;
      return PngFault::None;
    default:
      return IsCritical(type) ? PngFault::UnknownCritical : PngFault::None;
  }
}

}  // namespace

PngFault CheckPng(const uint8_t* data, size_t size, PngInfo* info) {
  if (size < kMinFileSize) return PngFault::TooShort;
  for (size_t i = 0; i < kSignatureSize; i++) {
    if (data[i] != kSignature[i]) return PngFault::Signature;
  }
  Walk walk;
  size_t at = kSignatureSize;
  for (;;) {
    // Each step reads from `at` only what the file still holds: the
    // remaining size is compared, never a sum that could wrap.
    if (size - at < kChunkOverhead) return at == size ? PngFault::EndMissing : PngFault::ChunkCut;
    const uint32_t length = BigEndian(data + at);
    if (length > kMaxChunkLength) return PngFault::ChunkLength;
    if (size - at - kChunkOverhead < length) return PngFault::ChunkCut;
    const uint8_t* type_and_body = data + at + 4;
    for (int i = 0; i < 4; i++) {
      if (!IsLetter(type_and_body[i])) return PngFault::ChunkType;
    }
    if (Crc(type_and_body, size_t(4) + length) != BigEndian(type_and_body + 4 + length)) {
      return PngFault::Crc;
    }
    const uint32_t type = BigEndian(type_and_body);
    if (type == kEnd) {
      if (!walk.header) return PngFault::HeaderFirst;
      if (!walk.data) return PngFault::DataMissing;
      if (size - at != kChunkOverhead + length) return PngFault::AfterEnd;
      break;
    }
    const PngFault fault = TakeChunk(type, type_and_body + 4, length, &walk);
    if (fault != PngFault::None) return fault;
    at += kChunkOverhead + length;
  }
  if (info) *info = walk.info;
  return PngFault::None;
}

uint64_t DecodedBytes(const PngInfo& info) { return uint64_t(info.width) * info.height * 4; }

std::string_view PngFaultText(PngFault fault) {
  switch (fault) {
    case PngFault::None:
      return "sound";
    case PngFault::TooShort:
      return "too short to be a PNG file";
    case PngFault::Signature:
      return "not a PNG file (no PNG signature)";
    case PngFault::ChunkCut:
      return "a chunk runs past the end of the file";
    case PngFault::ChunkLength:
      return "a chunk length of 2^31 or more";
    case PngFault::ChunkType:
      return "a chunk type that is not four letters";
    case PngFault::Crc:
      return "a chunk's CRC does not match";
    case PngFault::HeaderFirst:
      return "the first chunk is not a 13-byte IHDR";
    case PngFault::HeaderTwice:
      return "a second IHDR";
    case PngFault::Size:
      return "a side of more than 2048 pixels";
    case PngFault::Format:
      return "a side of 0, or a bit depth, colour type or method PNG does not have";
    case PngFault::PaletteMissing:
      return "a paletted picture without PLTE before its IDAT";
    case PngFault::PaletteBad:
      return "a PLTE of the wrong size or where none belongs";
    case PngFault::DataMissing:
      return "no IDAT";
    case PngFault::DataSplit:
      return "IDAT chunks with other chunks between them";
    case PngFault::UnknownCritical:
      return "a critical chunk of an unknown type";
    case PngFault::EndMissing:
      return "no IEND";
    case PngFault::AfterEnd:
      return "bytes after IEND";
    case PngFault::DataOutOfOrder:
      return "a PLTE after the IDAT";
  }
  return "damaged";
}

std::string_view PictureVerdictText(PictureVerdict verdict) {
  switch (verdict) {
    case PictureVerdict::Used:
      return "used";
    case PictureVerdict::Missing:
      return "missing";
    case PictureVerdict::NotPlainFile:
      return "not a plain file in the skin's folder";
    case PictureVerdict::FileTooLarge:
      return "empty or larger than 17 MiB";
    case PictureVerdict::Damaged:
      return "damaged";
    case PictureVerdict::SideTooLarge:
      return "a side of more than 2048 pixels";
    case PictureVerdict::OverBudget:
      return "over the skin's 16 MiB of decoded pixels";
    case PictureVerdict::FramesUneven:
      return "its height is not a whole number of frames";
    case PictureVerdict::NoCentre:
      return "its margins leave no centre";
    case PictureVerdict::DecodeFailed:
      return "the system's decoder refused it";
  }
  return "not used";
}

PictureVerdict JudgePicture(const ImageLayout& layout, const uint8_t* data, size_t size,
                            uint64_t* budget, PngInfo* info, PngFault* fault) {
  PngInfo header;
  const PngFault found = CheckPng(data, size, &header);
  if (fault) *fault = found;
  if (found == PngFault::Size) return PictureVerdict::SideTooLarge;
  if (found != PngFault::None) return PictureVerdict::Damaged;
  if (info) *info = header;
  if (header.height % layout.frames != 0) return PictureVerdict::FramesUneven;
  if (!ImageFits(layout, header.width, header.height)) return PictureVerdict::NoCentre;
  const uint64_t bytes = DecodedBytes(header);
  if (bytes > *budget) return PictureVerdict::OverBudget;
  *budget -= bytes;
  return PictureVerdict::Used;
}

}  // namespace skin
