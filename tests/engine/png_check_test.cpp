// Our reading of a PNG file's structure: every kind of damaged or hostile
// file is refused before a decoder would see it.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "png_writer.h"
#include "skin/png_check.h"

namespace skin {
namespace {

using Bytes = std::vector<uint8_t>;

// A 1 x 1 RGBA picture, made by another PNG writer (Python's zlib).
const Bytes kOnePixel = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D,
                         0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01,
                         0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00,
                         0x0D, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x10, 0x54, 0x32, 0x76,
                         0x01, 0x00, 0x01, 0x59, 0x00, 0xAB, 0x13, 0x2A, 0x25, 0xAB, 0x00, 0x00,
                         0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

void Put32(Bytes* out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(uint8_t(v >> shift));
}

struct Chunk {
  std::string type;
  Bytes body;
  bool bad_crc = false;
};

Bytes Header(uint32_t w, uint32_t h, uint8_t depth = 8, uint8_t colour = 6, uint8_t interlace = 0,
             uint8_t compression = 0) {
  Bytes b;
  Put32(&b, w);
  Put32(&b, h);
  for (uint8_t v : {depth, colour, compression, uint8_t(0), interlace}) b.push_back(v);
  return b;
}

// Any data will do for the image data: the reader never inflates it.
const Bytes kData = {0x78, 0x9C, 0x63, 0x00, 0x00};

Bytes File(const std::vector<Chunk>& chunks) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const Chunk& c : chunks) {
    Put32(&out, uint32_t(c.body.size()));
    Bytes typed(c.type.begin(), c.type.end());
    typed.insert(typed.end(), c.body.begin(), c.body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    Put32(&out, png_writer::Crc(typed.data(), typed.size()) ^ (c.bad_crc ? 1u : 0u));
  }
  return out;
}

Bytes Simple(const Bytes& header) {
  return File({{"IHDR", header}, {"IDAT", kData}, {"IEND", {}}});
}

PngFault Check(const Bytes& b, PngInfo* info = nullptr) {
  return CheckPng(b.data(), b.size(), info);
}

TEST(PngCheckTest, ASoundFileGivesItsHeader) {
  PngInfo info;
  ASSERT_EQ(Check(kOnePixel, &info), PngFault::None);
  EXPECT_EQ(info.width, 1);
  EXPECT_EQ(info.height, 1);
  EXPECT_EQ(info.bit_depth, 8);
  EXPECT_EQ(info.colour_type, 6);
  EXPECT_FALSE(info.interlaced);
  // The builder agrees with the other writer: same bytes for the same picture.
  EXPECT_EQ(File({{"IHDR", Header(1, 1)},
                  {"IDAT", Bytes(kOnePixel.begin() + 41, kOnePixel.begin() + 54)},
                  {"IEND", {}}}),
            kOnePixel);

  ASSERT_EQ(Check(Simple(Header(2048, 2048, 16, 6, 1)), &info), PngFault::None);
  EXPECT_EQ(info.width, 2048);
  EXPECT_TRUE(info.interlaced);
  EXPECT_EQ(DecodedBytes(info), 16777216u);
}

TEST(PngCheckTest, RefusesHeadersNoPictureMayHave) {
  const struct {
    Bytes header;
    PngFault fault;
  } cases[] = {
      {Header(2049, 1), PngFault::Size},         {Header(1, 2049), PngFault::Size},
      {Header(32768, 32768), PngFault::Size},  // what wraps a 32-bit buffer size
      {Header(32768, 32769), PngFault::Size},    {Header(16384, 32768, 16), PngFault::Size},
      {Header(65536, 16384), PngFault::Size},    {Header(0xFFFFFFFFu, 1), PngFault::Size},
      {Header(0, 1), PngFault::Format},          {Header(1, 0), PngFault::Format},
      {Header(1, 1, 3, 0), PngFault::Format},   // grey has no depth 3
      {Header(1, 1, 16, 3), PngFault::Format},  // nor a palette 16 bits
      {Header(1, 1, 4, 2), PngFault::Format},   // nor RGB 4
      {Header(1, 1, 8, 5), PngFault::Format},   // no colour type 5
      {Header(1, 1, 8, 6, 2), PngFault::Format}, {Header(1, 1, 8, 6, 0, 1), PngFault::Format},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Check(Simple(c.header)), c.fault)
        << "header bytes " << int(c.header[3]) << " " << int(c.header[7]);
  }
  // The limit itself is allowed, in every valid format.
  for (auto [depth, colour] : {std::pair{1, 0}, {16, 0}, {8, 2}, {4, 3}, {16, 4}, {8, 6}}) {
    Bytes plte = Bytes(3 * 2, 0);
    auto file = colour == 3 ? File({{"IHDR", Header(2048, 1, uint8_t(depth), uint8_t(colour))},
                                    {"PLTE", plte},
                                    {"IDAT", kData},
                                    {"IEND", {}}})
                            : Simple(Header(2048, 1, uint8_t(depth), uint8_t(colour)));
    EXPECT_EQ(Check(file), PngFault::None) << depth << " bits, colour type " << colour;
  }
}

TEST(PngCheckTest, RefusesDamagedStructure) {
  const Bytes header = Header(4, 4);
  const struct {
    std::vector<Chunk> chunks;
    PngFault fault;
  } cases[] = {
      {{{"IHDR", header, true}, {"IDAT", kData}, {"IEND", {}}}, PngFault::Crc},
      {{{"IHDR", header}, {"IDAT", kData, true}, {"IEND", {}}}, PngFault::Crc},
      {{{"IHDR", header}, {"IDAT", kData}, {"IEND", {}, true}}, PngFault::Crc},
      {{{"IDAT", kData}, {"IHDR", header}, {"IEND", {}}}, PngFault::HeaderFirst},
      {{{"IHDR", Bytes(12, 1)}, {"IDAT", kData}, {"IEND", {}}}, PngFault::HeaderFirst},
      {{{"IHDR", header}, {"IHDR", header}, {"IDAT", kData}, {"IEND", {}}}, PngFault::HeaderTwice},
      {{{"IHDR", header}, {"IEND", {}}}, PngFault::DataMissing},
      {{{"IHDR", header}, {"IDAT", kData}, {"tEXt", {'a', 0, 'b'}}, {"IDAT", kData}, {"IEND", {}}},
       PngFault::DataSplit},
      {{{"IHDR", header}, {"IDAT", kData}, {"IDAT", {}}, {"tEXt", {'a'}}, {"IEND", {}}},
       PngFault::None},
      {{{"IHDR", header}, {"ABCD", {}}, {"IDAT", kData}, {"IEND", {}}}, PngFault::UnknownCritical},
      {{{"IHDR", header}, {"abCD", {1}}, {"IDAT", kData}, {"IEND", {}}}, PngFault::None},
      {{{"IHDR", header}, {"1DAT", {}}, {"IDAT", kData}, {"IEND", {}}}, PngFault::ChunkType},
      {{{"IHDR", header}, {"IDAT", kData}}, PngFault::EndMissing},
      {{{"IHDR", Header(4, 4, 8, 3)}, {"IDAT", kData}, {"IEND", {}}}, PngFault::PaletteMissing},
      {{{"IHDR", Header(4, 4, 8, 3)}, {"IDAT", kData}, {"PLTE", Bytes(6)}, {"IEND", {}}},
       PngFault::PaletteMissing},
      {{{"IHDR", Header(4, 4, 8, 2)}, {"IDAT", kData}, {"PLTE", Bytes(6)}, {"IEND", {}}},
       PngFault::DataOutOfOrder},
      {{{"IHDR", Header(4, 4, 8, 0)}, {"PLTE", Bytes(6)}, {"IDAT", kData}, {"IEND", {}}},
       PngFault::PaletteBad},
      {{{"IHDR", Header(4, 4, 8, 3)}, {"PLTE", Bytes(4)}, {"IDAT", kData}, {"IEND", {}}},
       PngFault::PaletteBad},
      {{{"IHDR", Header(4, 4, 1, 3)}, {"PLTE", Bytes(9)}, {"IDAT", kData}, {"IEND", {}}},
       PngFault::PaletteBad},  // three entries for a 1-bit picture
      {{{"IHDR", Header(4, 4, 8, 3)}, {"PLTE", Bytes(768)}, {"IDAT", kData}, {"IEND", {}}},
       PngFault::None},
      {{{"IHDR", Header(4, 4, 8, 3)}, {"PLTE", Bytes(771)}, {"IDAT", kData}, {"IEND", {}}},
       PngFault::PaletteBad},
  };
  int i = 0;
  for (const auto& c : cases) EXPECT_EQ(Check(File(c.chunks)), c.fault) << "case " << i++;
}

// Lengths that lie: the reader compares each with what the file holds.
TEST(PngCheckTest, RefusesCutAndLyingLengths) {
  const Bytes good = Simple(Header(4, 4));
  const size_t data_length_at = 8 + 25;  // after the signature and IHDR
  const struct {
    uint32_t length;
    PngFault fault;
  } lengths[] = {{0x80000000u, PngFault::ChunkLength},
                 {0xFFFFFFF4u, PngFault::ChunkLength},
                 {0x7FFFFFFFu, PngFault::ChunkCut},
                 {uint32_t(kData.size()) + 13, PngFault::ChunkCut}};
  for (const auto& c : lengths) {
    Bytes b = good;
    for (int k = 0; k < 4; k++) b[data_length_at + k] = uint8_t(c.length >> (24 - 8 * k));
    EXPECT_EQ(Check(b), c.fault) << std::hex << c.length;
  }
  for (size_t cut = 0; cut < good.size(); cut++) {
    const Bytes b(good.begin(), good.begin() + cut);
    EXPECT_NE(Check(b), PngFault::None) << "cut at " << cut;
  }
  EXPECT_EQ(Check(Bytes(good.begin(), good.begin() + 48)), PngFault::ChunkCut);
  EXPECT_EQ(Check(Bytes(good.begin(), good.begin() + 20)), PngFault::TooShort);
  EXPECT_EQ(Check(Bytes(good.begin(), good.end() - 12)), PngFault::EndMissing);
  Bytes trailing = good;
  trailing.push_back(0);
  EXPECT_EQ(Check(trailing), PngFault::AfterEnd);
  Bytes signature = good;
  signature[1] = 'p';
  EXPECT_EQ(Check(signature), PngFault::Signature);
}

ImageLayout Layout(int frames, int left, int top, int right, int bottom) {
  ImageLayout layout;
  layout.file = "x.png";
  layout.frames = frames;
  layout.left = left, layout.top = top, layout.right = right, layout.bottom = bottom;
  return layout;
}

TEST(PngCheckTest, JudgesPicturesInOrderAgainstTheSkinsBudget) {
  uint64_t budget = 16u << 20;
  const Bytes half = Simple(Header(2048, 1024));  // 8 MiB decoded
  const Bytes small = Simple(Header(10, 12));
  PngInfo info;
  PngFault fault;
  const ImageLayout plain = Layout(1, 0, 0, 0, 0);
  EXPECT_EQ(JudgePicture(plain, half.data(), half.size(), &budget, &info, &fault),
            PictureVerdict::Used);
  EXPECT_EQ(budget, 8u << 20);
  EXPECT_EQ(JudgePicture(plain, half.data(), half.size(), &budget, &info, &fault),
            PictureVerdict::Used);
  EXPECT_EQ(budget, 0u);
  EXPECT_EQ(JudgePicture(plain, small.data(), small.size(), &budget, &info, &fault),
            PictureVerdict::OverBudget);
  budget = 480;  // 10 x 12 x 4: exactly enough
  EXPECT_EQ(JudgePicture(plain, small.data(), small.size(), &budget, &info, &fault),
            PictureVerdict::Used);
  EXPECT_EQ(budget, 0u);

  budget = 16u << 20;
  const struct {
    ImageLayout layout;
    Bytes file;
    PictureVerdict verdict;
  } cases[] = {
      {Layout(5, 0, 0, 0, 0), small, PictureVerdict::FramesUneven},
      {Layout(4, 0, 0, 0, 0), small, PictureVerdict::Used},
      {Layout(1, 5, 0, 5, 0), small, PictureVerdict::NoCentre},
      {Layout(1, 6, 0, 3, 0), small, PictureVerdict::Used},      // one column left in the middle
      {Layout(3, 0, 2, 0, 2), small, PictureVerdict::NoCentre},  // frames 4 high
      {plain, Simple(Header(4096, 1)), PictureVerdict::SideTooLarge},
      {plain, Simple(Header(0, 1)), PictureVerdict::Damaged},
      {plain, Bytes(100, 'A'), PictureVerdict::Damaged},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JudgePicture(c.layout, c.file.data(), c.file.size(), &budget, nullptr, nullptr),
              c.verdict)
        << PictureVerdictText(c.verdict);
  }
}

}  // namespace
}  // namespace skin
