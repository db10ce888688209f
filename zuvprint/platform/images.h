// Loading logo and background images: Windows bitmaps (BMP) in every layout
// a Windows loader takes, and PNG through libpng. Files are untrusted: a
// damaged or hostile file is rejected, never read or allocated beyond what
// it can justify.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zuvprint::platform {

// A 24-bit RGB image, rows top to bottom, 3 bytes (R, G, B) per pixel, no
// row padding.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

enum class ImageLoad { Loaded, NotThisFormat };

// The largest image either loader takes. A page is about 35 million printer
// pixels, and cairo draws no image wider or taller than 32767, so a larger
// file is refused (and reported) rather than loaded into gigabytes and then
// silently not drawn.
constexpr std::uint32_t kMaxImageSide = 32767;
constexpr std::uint64_t kMaxImagePixels = std::uint64_t{64} << 20;

// Reads a BMP file: core and info headers up to V5; 1, 4, 8, 16, 24 and 32
// bits per pixel; RLE4 and RLE8; bit fields; bottom-up and top-down rows;
// palettes. Anything else, or a damaged file, is NotThisFormat.
ImageLoad LoadBmp(const std::string& path, Bitmap& out);

// Reads a PNG file of any colour type and bit depth into 24-bit RGB of the
// same pixel size; an alpha channel is composited onto white paper.
ImageLoad LoadPng(const std::string& path, Bitmap& out);

}  // namespace zuvprint::platform
