// Small PNG files for the image tests, written byte for byte: the image
// data goes into stored (uncompressed) deflate blocks, so every pixel of the
// file is known to the test without a PNG library.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace zuvprint::testing {

inline std::uint32_t Crc32(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

inline void PutBigEndian(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

inline void PutChunk(std::string& png, const std::string& type, const std::string& data) {
  PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
  png += type + data;
  PutBigEndian(png, Crc32(type + data));
}

// A zlib stream of stored blocks holding data.
inline std::string StoredZlib(const std::string& data) {
  std::string z = "\x78\x01";
  std::size_t at = 0;
  do {
    const std::size_t size = std::min<std::size_t>(data.size() - at, 65535);
    const bool last = at + size == data.size();
    z += static_cast<char>(last ? 1 : 0);
    z += static_cast<char>(size & 0xFF);
    z += static_cast<char>(size >> 8);
    z += static_cast<char>(~size & 0xFF);
    z += static_cast<char>((~size >> 8) & 0xFF);
    z += data.substr(at, size);
    at += size;
  } while (at < data.size());
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : data) a = (a + c) % 65521, b = (b + a) % 65521;
  PutBigEndian(z, (b << 16) | a);
  return z;
}

struct PngImage {
  std::uint32_t width = 0, height = 0;
  int bitDepth = 8;
  int colourType = 2;                 // 0 gray, 2 RGB, 3 palette, 4 gray+alpha, 6 RGBA
  std::vector<std::string> rows;      // each row's packed samples, without the filter byte
  std::string palette;                // PLTE: R, G, B per entry
  std::string transparency;           // tRNS as stored
};

// The file: signature, IHDR, PLTE and tRNS when given, one IDAT, IEND.
inline std::string EncodePng(const PngImage& image) {
  std::string png = "\x89PNG\r\n\x1A\n";
  std::string header;
  PutBigEndian(header, image.width);
  PutBigEndian(header, image.height);
  header += static_cast<char>(image.bitDepth);
  header += static_cast<char>(image.colourType);
  header += std::string(3, '\0');  // deflate, adaptive filtering, no interlace
  PutChunk(png, "IHDR", header);
  if (!image.palette.empty()) PutChunk(png, "PLTE", image.palette);
  if (!image.transparency.empty()) PutChunk(png, "tRNS", image.transparency);
  std::string raw;
  for (const auto& row : image.rows) raw += '\0' + row;  // filter type None
  PutChunk(png, "IDAT", StoredZlib(raw));
  PutChunk(png, "IEND", "");
  return png;
}

}  // namespace zuvprint::testing
