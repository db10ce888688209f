// The BMP and PNG loaders against small files built here byte by byte (BMP)
// or with libpng's writer (PNG), whose pixels are known, and against damaged
// and hostile files.
#include <png.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/images.h"
#include "program_run.h"

// Fixtures use designated initializers that name only the fields a case
// changes; the rest keep their defaults on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace zuvprint::platform {
namespace {

using Pixels = std::vector<std::uint32_t>;  // 0xRRGGBB, rows top to bottom
using IndexRows = std::vector<std::vector<std::uint32_t>>;

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

ImageLoad LoadBytes(ImageLoad (*load)(const std::string&, Bitmap&), const std::string& bytes, Bitmap& out) {
  testing::ScratchDir dir;
  dir.Write("image", bytes);
  return load((dir / "image").string(), out);
}

Pixels PixelsOf(const Bitmap& image) {
  Pixels pixels;
  for (std::size_t at = 0; at + 2 < image.rgb.size(); at += 3)
    pixels.push_back(std::uint32_t{image.rgb[at]} << 16 | std::uint32_t{image.rgb[at + 1]} << 8 | image.rgb[at + 2]);
  return pixels;
}

// 256 different colours; entry 0 is not black, so "left at entry 0" and
// "drawn black" can be told apart.
std::vector<std::uint32_t> DistinctColours(unsigned count) {
  std::vector<std::uint32_t> colours;
  for (std::uint32_t i = 0; i < count; ++i)
    colours.push_back(((i * 37 + 11) & 0xFF) << 16 | ((i * 71 + 23) & 0xFF) << 8 | ((i * 113 + 47) & 0xFF));
  return colours;
}
const std::vector<std::uint32_t> kColours = DistinctColours(256);

std::vector<std::uint32_t> FirstColours(unsigned count) { return {kColours.begin(), kColours.begin() + count}; }

Pixels Paint(const IndexRows& rows, const std::vector<std::uint32_t>& palette) {
  Pixels pixels;
  for (const auto& row : rows)
    for (std::uint32_t index : row) pixels.push_back(palette.at(index));
  return pixels;
}

// ---------------------------------------------------------------- BMP files

void Put16(std::string& bytes, std::uint32_t v) {
  bytes += static_cast<char>(v & 0xFF);
  bytes += static_cast<char>(v >> 8 & 0xFF);
}
void Put32(std::string& bytes, std::uint32_t v) {
  Put16(bytes, v & 0xFFFF);
  Put16(bytes, v >> 16);
}

struct BmpFile {
  std::uint32_t header_size = 40;  // 12 core, 40 info, 52/56/108/124 later versions
  std::int32_t width = 3;
  std::int32_t height = 2;
  std::uint16_t planes = 1;
  std::uint16_t bits = 24;
  std::uint32_t compression = kRgb;
  std::uint32_t colors_used = 0;
  std::vector<std::uint32_t> palette;       // 0xRRGGBB
  std::array<std::uint32_t, 3> masks{};     // red, green, blue
  std::string gap;                          // between the colour table and the pixels
  std::string pixels;                       // as stored
  std::optional<std::uint32_t> pixel_offset;  // bfOffBits; by default where the pixels are
};

std::string Encode(const BmpFile& f) {
  bool core = f.header_size == 12;
  std::string header;
  Put32(header, f.header_size);
  if (core) {
    Put16(header, static_cast<std::uint32_t>(f.width));
    Put16(header, static_cast<std::uint32_t>(f.height));
    Put16(header, f.planes);
    Put16(header, f.bits);
  } else {
    Put32(header, static_cast<std::uint32_t>(f.width));
    Put32(header, static_cast<std::uint32_t>(f.height));
    Put16(header, f.planes);
    Put16(header, f.bits);
    for (std::uint32_t v : {f.compression, std::uint32_t(f.pixels.size()), 2835u, 2835u, f.colors_used, 0u})
      Put32(header, v);
    if (f.header_size >= 52)
      for (std::uint32_t mask : f.masks) Put32(header, mask);
    header.resize(f.header_size, '\0');
  }
  std::string tables;
  if (f.header_size == 40 && f.compression == kBitFields)
    for (std::uint32_t mask : f.masks) Put32(tables, mask);
  for (std::uint32_t colour : f.palette) {
    std::string entry;
    Put32(entry, colour);  // blue, green, red, reserved
    tables += core ? entry.substr(0, 3) : entry;
  }
  std::string body = header + tables + f.gap;
  std::string file = "BM";
  Put32(file, static_cast<std::uint32_t>(14 + body.size() + f.pixels.size()));
  Put32(file, 0);
  Put32(file, f.pixel_offset.value_or(static_cast<std::uint32_t>(14 + body.size())));
  return file + body + f.pixels;
}

// One stored row: palette indexes packed most significant bits first, or
// 16/24/32-bit values little-endian, padded to 4 bytes with filler that
// must never show.
std::string PackRow(unsigned bits, const std::vector<std::uint32_t>& values) {
  std::string row;
  unsigned pending = 0, used = 0;
  for (std::uint32_t v : values) {
    if (bits >= 8) {
      for (unsigned shift = 0; shift < bits; shift += 8) row += static_cast<char>(v >> shift & 0xFF);
      continue;
    }
    pending = pending << bits | v;
    used += bits;
    if (used == 8) {
      row += static_cast<char>(pending);
      pending = used = 0;
    }
  }
  if (used > 0) row += static_cast<char>(pending << (8 - used));
  row.resize((row.size() + 3) / 4 * 4, '\xEE');
  return row;
}

// Stores rows given top to bottom in the file's order: bottom-up unless the
// height is negative.
std::string StoreRows(const BmpFile& f, IndexRows rows) {
  if (f.height > 0) std::reverse(rows.begin(), rows.end());
  std::string pixels;
  for (const auto& row : rows) pixels += PackRow(f.bits, row);
  return pixels;
}

struct BmpCase {
  const char* name;
  std::string file;
  int width;
  int height;
  Pixels expected;
};

BmpCase Indexed(const char* name, BmpFile f, const IndexRows& rows) {
  if (f.palette.empty()) f.palette = FirstColours(1u << f.bits);
  f.pixels = StoreRows(f, rows);
  return {name, Encode(f), f.width, f.height < 0 ? -f.height : f.height, Paint(rows, f.palette)};
}

BmpCase Direct(const char* name, BmpFile f, const IndexRows& values, Pixels expected) {
  f.pixels = StoreRows(f, values);
  return {name, Encode(f), f.width, f.height < 0 ? -f.height : f.height, std::move(expected)};
}

BmpCase Rle(const char* name, BmpFile f, const std::string& stream, const IndexRows& rows) {
  f.pixels = stream;
  return {name, Encode(f), f.width, f.height, Paint(rows, f.palette)};
}

const IndexRows kOneBitPicture = {{1, 0, 1}, {0, 1, 1}};
const IndexRows kFourBitPicture = {{1, 15, 7}, {0, 9, 3}};
const IndexRows kEightBitPicture = {{200, 1, 255}, {17, 0, 128}};

const IndexRows k24BitValues = {{0xFF0000, 0x00FF00, 0x0000FF}, {0x123456, 0xFFFFFF, 0x000000}};
const Pixels k24BitPixels = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000000};

// 5-bit channel 16 scales to 132 (0x84), 6-bit 32 to 130 (0x82), 6-bit 42 to 170 (0xAA).
const IndexRows k555Values = {{0x7FFF, 0x7C00, 0x03E0}, {0x001F, 0x4210, 0x8000}};
const Pixels k555Pixels = {0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x848484, 0x000000};
const std::array<std::uint32_t, 3> k565Masks = {0xF800, 0x07E0, 0x001F};
const IndexRows k565Values = {{0xFFFF, 0xF800, 0x07E0}, {0x001F, 0x8410, 0x0540}};
const Pixels k565Pixels = {0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x848284, 0x00AA00};

// Red in the low byte: a mask order the BI_RGB default does not have.
const std::array<std::uint32_t, 3> kRgbxMasks = {0x000000FF, 0x0000FF00, 0x00FF0000};
const IndexRows kRgbxValues = {{0x00332211, 0x000000FF, 0x00FF0000}, {0xFF00FF00, 0x00000000, 0x00FFFFFF}};
const Pixels kRgbxPixels = {0x112233, 0xFF0000, 0x0000FF, 0x00FF00, 0x000000, 0xFFFFFF};

const std::vector<std::uint32_t> kRle8Palette = FirstColours(8);
const std::vector<std::uint32_t> kRle4Palette = FirstColours(16);

// Bottom row: two pixels, a delta up and right, one pixel, end of line; top
// row: an odd absolute run (padded), an encoded run, end of bitmap.
const std::string kRle8Stream(
    "\x02\x01" "\x00\x02\x01\x01" "\x01\x06" "\x00\x00" "\x00\x03\x02\x03\x04\x00" "\x02\x05" "\x00\x01", 20);
const IndexRows kRle8Picture = {{2, 3, 4, 5, 5}, {0, 0, 0, 6, 0}, {1, 1, 0, 0, 0}};

// Encoded run alternating nibbles; absolute run of five nibbles padded to
// four bytes; a delta within the row; end of bitmap before the row is full.
const std::string kRle4Stream(
    "\x05\x12" "\x00\x00" "\x00\x05\x34\x56\x70\x00" "\x00\x00" "\x00\x02\x02\x00" "\x02\x89" "\x00\x01", 20);
const IndexRows kRle4Picture = {{0, 0, 8, 9, 0}, {3, 4, 5, 6, 7}, {1, 2, 1, 2, 1}};

BmpFile RleFile(std::uint32_t compression) {
  bool eight = compression == kRle8;
  return {.width = 5, .height = 3, .bits = std::uint16_t(eight ? 8 : 4), .compression = compression,
          .palette = eight ? kRle8Palette : kRle4Palette};
}

std::vector<BmpCase> DecodableBmps() {
  BmpFile core{.header_size = 12};
  BmpFile info{};
  BmpFile cut_palette{.bits = 8, .palette = FirstColours(2)};  // room for 2 of 256 entries
  return {
      Indexed("Core1Bit", {.header_size = 12, .bits = 1}, kOneBitPicture),
      Indexed("Core4Bit", {.header_size = 12, .bits = 4}, kFourBitPicture),
      Indexed("Core8Bit", {.header_size = 12, .bits = 8}, kEightBitPicture),
      Direct("Core24Bit", core, k24BitValues, k24BitPixels),
      Indexed("Info1Bit", {.bits = 1, .colors_used = 2}, kOneBitPicture),
      Indexed("Info4Bit", {.bits = 4}, kFourBitPicture),
      Indexed("Info8Bit", {.bits = 8}, kEightBitPicture),
      Indexed("Info8BitShortPalette", {.bits = 8, .colors_used = 3, .palette = FirstColours(3)},
              {{2, 1, 0}, {0, 1, 2}}),
      Direct("Info8BitIndexBeyondPaletteIsBlack", {.bits = 8, .colors_used = 2, .palette = FirstColours(2)},
             {{0, 1, 7}, {200, 1, 0}}, {kColours[0], kColours[1], 0, 0, kColours[1], kColours[0]}),
      Direct("Info8BitPaletteEndsAtThePixels", cut_palette, {{0, 1, 5}, {1, 0, 255}},
             {kColours[0], kColours[1], 0, kColours[1], kColours[0], 0}),
      Indexed("Info8BitTopDown", {.height = -2, .bits = 8}, kEightBitPicture),
      Indexed("Info8BitPixelsAfterAGap", {.bits = 8, .gap = std::string("\xDE\xAD\xBE\xEF\x01", 5)},
              kEightBitPicture),
      Direct("Info16BitDefault555", {.bits = 16}, k555Values, k555Pixels),
      Direct("Info16BitFields565", {.bits = 16, .compression = kBitFields, .masks = k565Masks}, k565Values,
             k565Pixels),
      Direct("Info24BitOddWidth", info, k24BitValues, k24BitPixels),
      Direct("Info24BitTopDown", {.height = -2}, k24BitValues, k24BitPixels),
      Direct("Info24BitPixelsAfterAGap", {.gap = "gap"}, k24BitValues, k24BitPixels),
      Direct("Info32BitIgnoresFourthByte", {.bits = 32},
             {{0xAB112233, 0xFFFF0000, 0x0100FF00}, {0x000000FF, 0x7F123456, 0xFFFFFFFF}},
             {0x112233, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF}),
      Direct("Info32BitFieldsAfterHeader", {.bits = 32, .compression = kBitFields, .masks = kRgbxMasks},
             kRgbxValues, kRgbxPixels),
      // 10-bit channels: 512 of 1023 is 128, 1 of 1023 rounds to 0.
      Direct("Info32BitTenBitChannels",
             {.bits = 32, .compression = kBitFields, .masks = {0x3FF00000, 0x000FFC00, 0x000003FF}},
             {{0x3FF00000, 512 << 10, 1}, {0xFFFFFFFF, 0, 0x3FFFFFFF}},
             {0xFF0000, 0x008000, 0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF}),
      Direct("V2HeaderRgbIgnoresItsMasks", {.header_size = 52, .bits = 16, .masks = k565Masks}, k555Values,
             k555Pixels),
      Direct("V3HeaderFields565", {.header_size = 56, .bits = 16, .compression = kBitFields, .masks = k565Masks},
             k565Values, k565Pixels),
      Direct("V4HeaderFields", {.header_size = 108, .bits = 32, .compression = kBitFields, .masks = kRgbxMasks},
             kRgbxValues, kRgbxPixels),
      Indexed("V5Header8Bit", {.header_size = 124, .bits = 8, .colors_used = 4, .palette = FirstColours(4)},
              {{3, 2, 1}, {0, 1, 2}}),
      Direct("V5Header24Bit", {.header_size = 124}, k24BitValues, k24BitPixels),
      Rle("Rle8EscapesAndDelta", RleFile(kRle8), kRle8Stream, kRle8Picture),
      Rle("Rle4EscapesAndDelta", RleFile(kRle4), kRle4Stream, kRle4Picture),
      Rle("Rle8EndsWithoutMarker", {.width = 2, .height = 1, .bits = 8, .compression = kRle8,
                                    .palette = kRle8Palette},
          "\x02\x01", {{1, 1}}),
  };
}

TEST(BmpLoader, DecodesEveryLayoutToTopDownRgb) {
  for (const BmpCase& c : DecodableBmps()) {
    SCOPED_TRACE(c.name);
    Bitmap image;
    ASSERT_EQ(LoadBytes(LoadBmp, c.file, image), ImageLoad::Loaded);
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(PixelsOf(image), c.expected);
  }
}

struct HostileCase {
  const char* name;
  std::string file;
};

std::string Rle8WithStream(const std::string& stream) {
  BmpFile f = RleFile(kRle8);
  f.pixels = stream;
  return Encode(f);
}

std::vector<HostileCase> HostileBmps() {
  auto changed = [](BmpFile f, auto change) {
    change(f);
    return Encode(f);
  };
  BmpFile base{.pixels = StoreRows(BmpFile{}, k24BitValues)};
  std::string valid = Encode(base);
  std::string eight_bit = Encode({.bits = 8, .palette = FirstColours(256), .pixels = std::string(16, '\0')});
  return {
      {"EmptyFile", ""},
      {"TextFile", "Faktura VAT nr 1/2024\r\nnot a picture\r\n"},
      {"PngSignature", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(40, '\0')},
      {"WrongMagic", "BA" + valid.substr(2)},
      {"TruncatedFileHeader", valid.substr(0, 10)},
      {"TruncatedInfoHeader", valid.substr(0, 30)},
      {"TruncatedPixels", valid.substr(0, valid.size() - 1)},
      {"TruncatedPalette", eight_bit.substr(0, 54 + 100)},
      {"UnknownHeaderSize", changed(base, [](BmpFile& f) { f.header_size = 64; })},
      {"TwoPlanes", changed(base, [](BmpFile& f) { f.planes = 2; })},
      {"JpegInside", changed(base, [](BmpFile& f) { f.compression = 4; })},
      {"PngInside", changed(base, [](BmpFile& f) { f.compression = 5; })},
      {"AlphaBitFields", changed(base, [](BmpFile& f) { f.bits = 32;
         f.compression = 6; })},
      {"Rle8With24Bits", changed(base, [](BmpFile& f) { f.compression = kRle8; })},
      {"BitFieldsWith24Bits", changed(base, [](BmpFile& f) { f.compression = kBitFields; })},
      {"TwoBitsPerPixel", changed(base, [](BmpFile& f) { f.bits = 2; })},
      {"ZeroBitsPerPixel", changed(base, [](BmpFile& f) { f.bits = 0; })},
      {"CoreHeader16Bits", changed(base, [](BmpFile& f) { f.header_size = 12;
         f.bits = 16; })},
      {"NonContiguousMask",
       changed(base, [](BmpFile& f) { f.bits = 16, f.compression = kBitFields, f.masks = {0x0F0F, 0x00F0, 0}; })},
      {"ZeroWidth", changed(base, [](BmpFile& f) { f.width = 0; })},
      {"NegativeWidth", changed(base, [](BmpFile& f) { f.width = -3; })},
      {"ZeroHeight", changed(base, [](BmpFile& f) { f.height = 0; })},
      {"SmallestHeight", changed(base, [](BmpFile& f) { f.height = INT32_MIN; })},
      {"HugeDimensions", changed(base, [](BmpFile& f) { f.width = f.height = 0x7FFFFFFF; })},
      {"HugeCoreDimensions", changed(base, [](BmpFile& f) { f.header_size = 12, f.width = f.height = 0xFFFF; })},
      {"RowsBeyondTheFile", changed(base, [](BmpFile& f) { f.width = f.height = 10000; })},
      {"PixelOffsetBeyondTheFile",
       changed(base, [&](BmpFile& f) { f.pixel_offset = static_cast<std::uint32_t>(valid.size() + 100); })},
      {"PixelOffsetInsideTheHeader", changed(base, [](BmpFile& f) { f.pixel_offset = 20; })},
      {"RleTopDown", changed(RleFile(kRle8), [](BmpFile& f) { f.height = -3, f.pixels = kRle8Stream; })},
      {"RleWithoutData", changed(RleFile(kRle8), [](BmpFile& f) { f.pixels.clear(); })},
      {"RleHugeDimensions",
       changed(RleFile(kRle8), [](BmpFile& f) { f.width = f.height = 20000, f.pixels = std::string("\0\1", 2); })},
      {"Rle8RunPastRowEnd", Rle8WithStream(std::string("\x06\x01\x00\x01", 4))},
      {"Rle4RunPastRowEnd", changed(RleFile(kRle4), [](BmpFile& f) { f.pixels = std::string("\x06\x12\x00\x01", 4); })},
      {"RleAbsoluteRunPastRowEnd", Rle8WithStream(std::string("\x03\x01\x00\x03\x01\x01\x01\x00\x00\x01", 10))},
      {"RleDeltaPastRowEnd", Rle8WithStream(std::string("\x00\x02\x06\x00\x00\x01", 6))},
      {"RleDeltaPastLastRow", Rle8WithStream(std::string("\x00\x02\x00\x05\x00\x01", 6))},
      {"RlePixelsAboveLastRow", Rle8WithStream(std::string("\x00\x00\x00\x00\x00\x00\x01\x01\x00\x01", 10))},
      {"RleCutInAbsoluteRun", Rle8WithStream(std::string("\x00\x05\x01\x02", 4))},
      {"RleCutInDelta", Rle8WithStream(std::string("\x00\x02\x01", 3))},
      {"RleHalfCommandAtEnd", Rle8WithStream(std::string("\x02\x01\x00", 3))},
  };
}

TEST(BmpLoader, RejectsDamagedAndHostileFiles) {
  for (const HostileCase& c : HostileBmps()) {
    SCOPED_TRACE(c.name);
    Bitmap image;
    EXPECT_EQ(LoadBytes(LoadBmp, c.file, image), ImageLoad::NotThisFormat);
    EXPECT_EQ(image.width, 0);
    EXPECT_TRUE(image.rgb.empty());
  }
}

// ---------------------------------------------------------------- PNG files

struct PngPicture {
  int colour_type;
  int bit_depth;
  png_uint_32 width;
  png_uint_32 height;
  std::vector<std::uint16_t> samples;  // every channel of every pixel, rows top to bottom
  std::vector<std::uint32_t> palette;  // 0xRRGGBB
  std::vector<png_byte> palette_alpha;
  bool interlaced = false;
};

unsigned ChannelsOf(int colour_type) {
  switch (colour_type) {
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;
  }
}

// A row as PNG stores it: samples below 8 bits packed from the most
// significant bit, 16-bit samples big-endian.
std::string PngRow(const PngPicture& p, png_uint_32 y) {
  std::size_t per_row = std::size_t{p.width} * ChannelsOf(p.colour_type);
  std::string row;
  unsigned pending = 0, used = 0;
  for (std::size_t i = 0; i < per_row; ++i) {
    std::uint16_t sample = p.samples.at(y * per_row + i);
    if (p.bit_depth == 16) {
      row += {static_cast<char>(sample >> 8), static_cast<char>(sample & 0xFF)};
    } else {
      pending = pending << p.bit_depth | sample;
      used += static_cast<unsigned>(p.bit_depth);
      if (used == 8) {
        row += static_cast<char>(pending);
        pending = used = 0;
      }
    }
  }
  if (used > 0) row += static_cast<char>(pending << (8 - used));
  return row;
}

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
void FlushNothing(png_structp) {}

// libpng leaves this by longjmp on error, so it holds nothing with a destructor.
bool WritePng(png_structp png, png_infop info, const PngPicture& p, png_colorp palette, png_bytepp rows,
              std::string* sink) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, sink, AppendToString, FlushNothing);
  png_set_IHDR(png, info, p.width, p.height, p.bit_depth, p.colour_type,
               p.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!p.palette.empty()) png_set_PLTE(png, info, palette, static_cast<int>(p.palette.size()));
  if (!p.palette_alpha.empty())
    png_set_tRNS(png, info, p.palette_alpha.data(), static_cast<int>(p.palette_alpha.size()), nullptr);
  png_write_info(png, info);
  if (p.interlaced) png_set_interlace_handling(png);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

class PngWriteStruct {
 public:
  PngWriteStruct()
      : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr)),
        info_(png_ ? png_create_info_struct(png_) : nullptr) {}
  ~PngWriteStruct() { png_destroy_write_struct(&png_, &info_); }
  PngWriteStruct(const PngWriteStruct&) = delete;
  PngWriteStruct& operator=(const PngWriteStruct&) = delete;
  png_structp Png() const { return png_; }
  png_infop Info() const { return info_; }

 private:
  png_structp png_;
  png_infop info_;
};

std::string EncodePng(const PngPicture& p) {
  std::vector<std::string> packed;
  for (png_uint_32 y = 0; y < p.height; ++y) packed.push_back(PngRow(p, y));
  std::vector<png_bytep> rows;
  for (std::string& row : packed) rows.push_back(reinterpret_cast<png_bytep>(row.data()));
  std::vector<png_color> palette;
  for (std::uint32_t c : p.palette)
    palette.push_back(
        {static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8 & 0xFF), static_cast<png_byte>(c & 0xFF)});
  std::string encoded;
  PngWriteStruct writer;
  bool written = writer.Png() && writer.Info() &&
                 WritePng(writer.Png(), writer.Info(), p, palette.data(), rows.data(), &encoded);
  if (!written) ADD_FAILURE() << "libpng could not write the fixture";
  return encoded;
}

struct PngCase {
  const char* name;
  PngPicture picture;
  Pixels expected;
};

PngPicture FiveByThreeRgb(bool interlaced) {
  PngPicture p{PNG_COLOR_TYPE_RGB, 8, 5, 3, {}, {}, {}, interlaced};
  for (std::uint16_t y = 0; y < 3; ++y)
    for (std::uint16_t x = 0; x < 5; ++x)
      p.samples.insert(p.samples.end(), {std::uint16_t(x * 50), std::uint16_t(y * 80), 7});
  return p;
}
Pixels FiveByThreeRgbPixels() {
  Pixels pixels;
  for (std::uint32_t y = 0; y < 3; ++y)
    for (std::uint32_t x = 0; x < 5; ++x) pixels.push_back((x * 50) << 16 | (y * 80) << 8 | 7);
  return pixels;
}

// Alpha is composited onto white: a*c + (1-a)*255, rounded. With a = 128/255:
// c = 0 gives 127, c = 100 gives 177, c = 200 gives 227. 16-bit samples are
// rounded to 8 bits: 0x12FF -> 19, 0x8000 -> 128, 0x0100 -> 1.
std::vector<PngCase> DecodablePngs() {
  return {
      {"Gray1Bit", {PNG_COLOR_TYPE_GRAY, 1, 3, 2, {1, 0, 1, 0, 0, 1}}, {0xFFFFFF, 0, 0xFFFFFF, 0, 0, 0xFFFFFF}},
      {"Gray2Bit", {PNG_COLOR_TYPE_GRAY, 2, 4, 1, {0, 1, 2, 3}}, {0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF}},
      {"Gray16Bit", {PNG_COLOR_TYPE_GRAY, 16, 3, 1, {0x0000, 0xFFFF, 0x12FF}}, {0x000000, 0xFFFFFF, 0x131313}},
      {"GrayAlpha", {PNG_COLOR_TYPE_GRAY_ALPHA, 8, 3, 1, {100, 255, 100, 0, 0, 128}}, {0x646464, 0xFFFFFF, 0x7F7F7F}},
      {"PaletteWithTransparency",
       {PNG_COLOR_TYPE_PALETTE, 2, 4, 1, {0, 1, 2, 3}, {0xFF0000, 0x00FF00, 0x0000FF, 0x123456}, {0, 255, 128}},
       {0xFFFFFF, 0x00FF00, 0x7F7FFF, 0x123456}},
      {"Rgb8Bit", {PNG_COLOR_TYPE_RGB, 8, 3, 1, {255, 0, 0, 0, 255, 0, 0x12, 0x34, 0x56}},
       {0xFF0000, 0x00FF00, 0x123456}},
      {"Rgb16Bit", {PNG_COLOR_TYPE_RGB, 16, 2, 1, {0xFFFF, 0, 0, 0x12FF, 0x8000, 0x0100}}, {0xFF0000, 0x138001}},
      {"RgbaHalfAlpha", {PNG_COLOR_TYPE_RGB_ALPHA, 8, 3, 1, {200, 100, 0, 128, 10, 20, 30, 255, 0, 0, 0, 0}},
       {0xE3B17F, 0x0A141E, 0xFFFFFF}},
      {"RgbaSixteenBit", {PNG_COLOR_TYPE_RGB_ALPHA, 16, 1, 1, {0xFFFF, 0x0000, 0x0000, 0xFFFF}}, {0xFF0000}},
      {"InterlacedRgb", FiveByThreeRgb(true), FiveByThreeRgbPixels()},
  };
}

TEST(PngLoader, DecodesEveryColourTypeToRgbOnWhite) {
  for (const PngCase& c : DecodablePngs()) {
    SCOPED_TRACE(c.name);
    Bitmap image;
    ASSERT_EQ(LoadBytes(LoadPng, EncodePng(c.picture), image), ImageLoad::Loaded);
    EXPECT_EQ(image.width, static_cast<int>(c.picture.width));
    EXPECT_EQ(image.height, static_cast<int>(c.picture.height));
    EXPECT_EQ(PixelsOf(image), c.expected);
  }
}

std::uint32_t ReadBig32(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  return v;
}
void WriteBig32(std::string& bytes, std::size_t at, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (24 - 8 * i) & 0xFF);
}

std::uint32_t Crc32(const std::string& bytes, std::size_t from, std::size_t length) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = from; i < from + length; ++i) {
    crc ^= static_cast<std::uint8_t>(bytes[i]);
    for (int bit = 0; bit < 8; ++bit) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
  }
  return ~crc;
}

// The same file with other dimensions in IHDR, its checksum kept right, so
// that only the dimensions can make the loader refuse it.
std::string WithDimensions(std::string png, std::uint32_t width, std::uint32_t height) {
  constexpr std::size_t kIhdrType = 12, kIhdrData = 16, kIhdrCrc = 29;
  WriteBig32(png, kIhdrData, width);
  WriteBig32(png, kIhdrData + 4, height);
  WriteBig32(png, kIhdrCrc, Crc32(png, kIhdrType, 4 + 13));
  return png;
}

struct IdatChunk {
  std::size_t data;  // offset of the chunk's data
  std::size_t length;
};
IdatChunk FindIdat(const std::string& png) {
  std::size_t type = png.find("IDAT");
  return {type + 4, ReadBig32(png, type - 4)};
}

TEST(PngLoader, HeaderRewriteKeepsTheFileValid) {
  // Guards the hostile cases below: a rewrite to the true size still loads.
  Bitmap image;
  EXPECT_EQ(LoadBytes(LoadPng, WithDimensions(EncodePng(FiveByThreeRgb(false)), 5, 3), image), ImageLoad::Loaded);
}

std::vector<HostileCase> HostilePngs() {
  std::string valid = EncodePng(FiveByThreeRgb(false));
  IdatChunk idat = FindIdat(valid);
  std::string bad_crc = valid;
  bad_crc[idat.data + idat.length] ^= 0x01;
  return {
      {"EmptyFile", ""},
      {"TextFile", "Faktura VAT nr 1/2024\r\nnot a picture\r\n"},
      {"BitmapFile", Encode({.pixels = StoreRows(BmpFile{}, k24BitValues)})},
      {"SignatureOnly", valid.substr(0, 8)},
      {"TruncatedHeader", valid.substr(0, 20)},
      {"BrokenIdatChecksum", bad_crc},
      {"TruncatedIdat", valid.substr(0, idat.data + idat.length / 2)},
      {"ZeroWidth", WithDimensions(valid, 0, 3)},
      {"MillionByMillion", WithDimensions(valid, 1000000, 1000000)},
      {"MoreImageThanTheFileCanHold", WithDimensions(valid, 20000, 10000)},
  };
}

TEST(PngLoader, RejectsDamagedAndHostileFiles) {
  for (const HostileCase& c : HostilePngs()) {
    SCOPED_TRACE(c.name);
    Bitmap image;
    EXPECT_EQ(LoadBytes(LoadPng, c.file, image), ImageLoad::NotThisFormat);
    EXPECT_EQ(image.width, 0);
    EXPECT_TRUE(image.rgb.empty());
  }
}

// A FIFO named as a logo must not block the run waiting for a writer.
TEST(ImageLoaders, RefuseAFifoWithoutWaiting) {
  testing::ScratchDir dir;
  std::string fifo = (dir / "logo.bmp").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  Bitmap image;
  EXPECT_EQ(LoadBmp(fifo, image), ImageLoad::NotThisFormat);
  EXPECT_EQ(LoadPng(fifo, image), ImageLoad::NotThisFormat);
}

TEST(ImageLoaders, RefuseAMissingFile) {
  testing::ScratchDir dir;
  Bitmap image;
  EXPECT_EQ(LoadBmp((dir / "none.bmp").string(), image), ImageLoad::NotThisFormat);
  EXPECT_EQ(LoadPng((dir / "none.png").string(), image), ImageLoad::NotThisFormat);
}

}  // namespace
}  // namespace zuvprint::platform
