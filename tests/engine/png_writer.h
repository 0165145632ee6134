// A tiny PNG writer for the picture tests and the PNG check's tests: RGBA at 8 bits, stored
// (uncompressed) deflate, and a deflate stream of zeros packed as tightly
// as fixed Huffman codes allow, for pictures that claim far more pixels
// than their file holds. Written from the formats' definitions, not from
// the engine's code.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace png_writer {

// CRC-32 bit by bit, straight from its definition (the engine uses a table).
inline uint32_t Crc(const uint8_t* bytes, size_t n) {
  uint32_t crc = 0xFFFFFFFF;
  for (size_t i = 0; i < n; i++) {
    crc ^= bytes[i];
    for (int k = 0; k < 8; k++) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}
inline uint32_t Crc(const std::string& bytes) {
  return Crc(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

inline std::string Be32(uint32_t v) {
  return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

inline std::string Chunk(const char* type, const std::string& data) {
  std::string body = type + data;
  return Be32(uint32_t(data.size())) + body + Be32(Crc(body));
}

inline std::string Ihdr(uint32_t w, uint32_t h, char depth = 8) {
  return Chunk("IHDR", Be32(w) + Be32(h) + std::string{depth, 6, 0, 0, 0});
}

const std::string kSignature = "\x89PNG\r\n\x1a\n";

inline std::string Adler(uint32_t a, uint32_t b) { return Be32(b << 16 | a); }

// `raw` in stored deflate blocks, with its zlib header and Adler-32.
inline std::string Stored(const std::string& raw) {
  std::string z = "\x78\x01";
  for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    size_t n = std::min<size_t>(65535, raw.size() - at);
    bool last = at + n >= raw.size();
    z += char(last ? 1 : 0);
    z += {char(n), char(n >> 8), char(~n), char(~n >> 8)};
    z += raw.substr(at, n);
    if (last) break;
  }
  uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  return z + Adler(a, b);
}

// `count` zero bytes in one fixed-Huffman block: a literal 0, then copies
// of 258 bytes at distance 1 (13 bits each), then literals for the rest.
inline std::string Zeros(uint64_t count) {
  std::string z = "\x78\x01";
  uint32_t bits = 0;
  int used = 0;
  auto put = [&](uint32_t value, int n) {  // LSB first, as deflate packs
    for (int i = 0; i < n; i++) {
      bits |= ((value >> i) & 1) << used;
      if (++used == 8) {
        z += char(bits);
        bits = 0;
        used = 0;
      }
    }
  };
  auto code = [&](uint32_t value, int n) {  // Huffman codes go MSB first
    for (int i = n - 1; i >= 0; i--) put(value >> i & 1, 1);
  };
  put(1, 1);  // the last block
  put(1, 2);  // fixed codes
  auto literal_zero = [&] { code(0x30, 8); };
  literal_zero();
  uint64_t left = count - 1;
  for (; left >= 258; left -= 258) {
    code(0xC5, 8);  // length 258: symbol 285
    code(0, 5);     // distance 1
  }
  for (; left > 0; left--) literal_zero();
  code(0, 7);  // end of block
  if (used) z += char(bits);
  // Adler-32 of zeros: a stays 1, b adds 1 for each byte.
  return z + Adler(1, uint32_t(count % 65521));
}

// Pixels 0xAARRGGBB, rows top-down.
inline std::string Png(int w, int h, const std::vector<uint32_t>& pixels) {
  std::string raw;
  for (int y = 0; y < h; y++) {
    raw += '\0';  // no filter
    for (int x = 0; x < w; x++) {
      uint32_t p = pixels[size_t(y) * w + x];
      raw += {char(p >> 16), char(p >> 8), char(p), char(p >> 24)};
    }
  }
  return kSignature + Ihdr(w, h) + Chunk("IDAT", Stored(raw)) + Chunk("IEND", "");
}

}  // namespace png_writer
