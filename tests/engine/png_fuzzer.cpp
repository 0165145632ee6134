// Feeds arbitrary bytes to our PNG structure check and holds it to what
// the engine relies on before it hands a file to the platform's decoder:
// no crash, and a file it passes has a sane header whose decoded size
// fits the limits.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "png_writer.h"
#include "skin/png_check.h"

namespace {

// Most mutations break a CRC, which the check refuses first; a copy with
// every whole chunk's CRC made right reaches the checks behind it.
std::vector<uint8_t> WithCrcsMended(const uint8_t* data, size_t size) {
  std::vector<uint8_t> out(data, data + size);
  for (size_t at = 8; size >= 12 && at <= size - 12;) {
    const uint32_t length =
        uint32_t(out[at]) << 24 | out[at + 1] << 16 | out[at + 2] << 8 | out[at + 3];
    if (length > size - 12 - at) break;
    const uint32_t crc = png_writer::Crc(&out[at + 4], size_t(length) + 4);
    for (int k = 0; k < 4; k++) out[at + 8 + length + k] = uint8_t(crc >> (24 - 8 * k));
    at += size_t(length) + 12;
  }
  return out;
}

void Check(const uint8_t* data, size_t size) {
  skin::PngInfo info;
  if (skin::CheckPng(data, size, &info) != skin::PngFault::None) return;
  if (info.width < 1 || info.height < 1 || info.width > skin::kMaxPictureSide ||
      info.height > skin::kMaxPictureSide) {
    abort();
  }
  if (skin::DecodedBytes(info) > uint64_t(skin::kMaxPictureSide) * skin::kMaxPictureSide * 4) {
    abort();
  }
  // Signature, header and end at least.
  if (size < 8 + 25 + 12) abort();

  skin::ImageLayout layout;
  layout.file = "a.png";
  layout.frames = int(data[size / 2] % skin::kMaxImageFrames) + 1;
  uint64_t budget = skin::kMaxSkinPictureBytes;
  if (skin::JudgePicture(layout, data, size, &budget, nullptr, nullptr) ==
          skin::PictureVerdict::Used &&
      budget != skin::kMaxSkinPictureBytes - skin::DecodedBytes(info)) {
    abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Check(data, size);
  const std::vector<uint8_t> mended = WithCrcsMended(data, size);
  Check(mended.data(), mended.size());
  return 0;
}
