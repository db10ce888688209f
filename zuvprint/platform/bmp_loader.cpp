// Windows bitmap reader. Every size, offset and count in the headers is
// checked against the file (in 64-bit arithmetic) before anything is
// allocated or read, so a hostile header costs nothing.
//
// Choices where Windows is loose or unclear:
// - A palette index beyond the colour table is drawn black.
// - RLE pixels the stream never writes (skipped by end-of-line, delta or an
//   early end-of-bitmap) keep palette entry 0.
// - An RLE run, absolute run or delta that leaves the image rejects the file
//   rather than being clipped; an RLE stream that stops cleanly without an
//   end-of-bitmap marker is accepted (the rest stays entry 0), one cut in the
//   middle of a command is rejected.
// - Uncompressed pixel rows must all be in the file; a truncated file is
//   rejected, not drawn in part.
// - The colour table never overlaps the pixels: when bfOffBits leaves room for
//   fewer entries than declared, only those are used.
// - Bit-field channels are scaled to 0..255 by rounding (5 bits: 31 -> 255).
//   Alpha is ignored, images are drawn opaque.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <new>
#include <optional>

#include "platform/files.h"
#include "platform/images.h"

namespace zuvprint::platform {
namespace {

// Upper bound on the decoded image for every layout. For uncompressed rows
// the file size is the real bound; an RLE stream of a few bytes can declare
// any size, so this keeps a tiny file from claiming gigabytes.

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kLargestHeaderSize = 124;
// BITMAPINFOHEADER with BI_BITFIELDS: the red, green and blue masks follow it.
constexpr std::uint32_t kMasksAfterHeaderSize = 12;

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};
using Palette = std::vector<Rgb>;

// A read-only regular file (a FIFO named as an image is refused, see
// OpenRegularFile).
class ImageFile {
 public:
  bool Open(const std::string& path) {
    file_ = OpenRegularFile(path, &size_);
    return file_.IsOpen();
  }
  std::uint64_t Size() const { return size_; }

  // Reads exactly length bytes at offset; false when the file holds fewer.
  bool ReadAt(std::uint64_t offset, std::uint64_t length, std::string& bytes) const {
    if (offset > size_ || length > size_ - offset) return false;
    bytes.resize(length);
    std::uint64_t done = 0;
    while (done < length) {
      std::int64_t n = file_.ReadAt(offset + done, bytes.data() + done, length - done);
      if (n <= 0) return false;
      done += static_cast<std::uint64_t>(n);
    }
    return true;
  }

 private:
  NativeFile file_;
  std::uint64_t size_ = 0;
};

std::uint8_t Byte(const std::string& bytes, std::size_t at) { return static_cast<std::uint8_t>(bytes[at]); }
std::uint16_t U16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(Byte(bytes, at) | Byte(bytes, at + 1) << 8);
}
std::uint32_t U32(const std::string& bytes, std::size_t at) {
  return std::uint32_t{U16(bytes, at)} | std::uint32_t{U16(bytes, at + 2)} << 16;
}
std::int32_t I32(const std::string& bytes, std::size_t at) { return static_cast<std::int32_t>(U32(bytes, at)); }

// One colour channel of a 16- or 32-bit pixel.
struct ChannelMask {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;  // the channel's largest value; 0 for an absent channel

  std::uint8_t Extract(std::uint32_t pixel) const {
    if (max == 0) return 0;
    std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
  }
};

// Masks must be one run of bits, as Windows requires; an empty mask is a
// channel that is always 0.
std::optional<ChannelMask> MakeChannel(std::uint32_t mask) {
  if (mask == 0) return ChannelMask{};
  int shift = std::countr_zero(mask);
  std::uint32_t max = mask >> shift;
  if ((max & (max + 1)) != 0) return std::nullopt;
  return ChannelMask{mask, shift, max};
}

struct Layout {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool top_down = false;
  std::uint16_t bits_per_pixel = 0;
  std::uint32_t compression = kRgb;
  std::array<ChannelMask, 3> masks;  // red, green, blue of 16- and 32-bit pixels
  std::uint64_t palette_offset = 0;
  std::uint32_t palette_entries = 0;
  std::uint32_t palette_entry_size = 4;
  std::uint64_t pixel_offset = 0;

  bool IsRle() const { return compression == kRle8 || compression == kRle4; }
  std::uint64_t RowStride() const { return (std::uint64_t{width} * bits_per_pixel + 31) / 32 * 4; }
};

bool IsKnownHeaderSize(std::uint32_t size) {
  return size == kCoreHeaderSize || size == kInfoHeaderSize || size == 52 || size == 56 || size == 108 ||
         size == kLargestHeaderSize;
}

bool IsSupportedEncoding(std::uint16_t bits, std::uint32_t compression) {
  switch (compression) {
    case kRgb: return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kRle8: return bits == 8;
    case kRle4: return bits == 4;
    case kBitFields: return bits == 16 || bits == 32;
    default: return false;  // JPEG, PNG and others embedded in a bitmap
  }
}

std::array<std::uint32_t, 3> DefaultMasks(std::uint16_t bits) {
  if (bits == 16) return {0x7C00, 0x03E0, 0x001F};
  return {0xFF0000, 0x00FF00, 0x0000FF};
}

// Fills size, depth and compression from a core or info header (any
// version); false for a layout this reader does not take.
bool ReadHeaderFields(const std::string& head, std::uint32_t header_size, Layout& layout,
                      std::uint32_t& colors_used) {
  std::uint16_t planes;
  std::int64_t width, height;
  if (header_size == kCoreHeaderSize) {
    width = U16(head, 18);
    height = U16(head, 20);
    planes = U16(head, 22);
    layout.bits_per_pixel = U16(head, 24);
    layout.compression = kRgb;
    layout.palette_entry_size = 3;
    colors_used = 0;
    if (layout.bits_per_pixel == 16 || layout.bits_per_pixel == 32) return false;
  } else {
    width = I32(head, 18);
    height = I32(head, 22);
    planes = U16(head, 26);
    layout.bits_per_pixel = U16(head, 28);
    layout.compression = U32(head, 30);
    colors_used = U32(head, 46);
  }
  if (planes != 1 || !IsSupportedEncoding(layout.bits_per_pixel, layout.compression)) return false;
  if (width <= 0 || height == 0 || height == INT32_MIN) return false;
  layout.width = static_cast<std::uint32_t>(width);
  layout.top_down = height < 0;
  layout.height = static_cast<std::uint32_t>(height < 0 ? -height : height);
  if (layout.top_down && layout.IsRle()) return false;  // RLE is bottom-up only
  return layout.width <= kMaxImageSide && layout.height <= kMaxImageSide &&
         std::uint64_t{layout.width} * layout.height <= kMaxImagePixels;
}

bool ReadMasks(const ImageFile& file, const std::string& head, std::uint32_t header_size, Layout& layout) {
  std::array<std::uint32_t, 3> values = DefaultMasks(layout.bits_per_pixel);
  if (layout.compression == kBitFields) {
    if (header_size == kInfoHeaderSize) {
      std::string after;
      if (!file.ReadAt(kFileHeaderSize + header_size, kMasksAfterHeaderSize, after)) return false;
      values = {U32(after, 0), U32(after, 4), U32(after, 8)};
    } else {
      values = {U32(head, 54), U32(head, 58), U32(head, 62)};  // inside V2 and later headers
    }
  }
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::optional<ChannelMask> channel = MakeChannel(values[i]);
    if (!channel) return false;
    layout.masks[i] = *channel;
  }
  return true;
}

// Where the pixels are and that the file can hold them.
bool PlacePixelData(const ImageFile& file, std::uint32_t pixel_offset, Layout& layout) {
  layout.pixel_offset = pixel_offset;
  if (layout.pixel_offset < layout.palette_offset || layout.pixel_offset >= file.Size()) return false;
  if (layout.IsRle()) return true;
  return layout.RowStride() * layout.height <= file.Size() - layout.pixel_offset;
}

// Entries of the colour table: colors_used, or all 2^bits when it is 0 or
// more than that, but only as many as fit before the pixels.
std::uint32_t PaletteEntries(const Layout& layout, std::uint32_t colors_used) {
  if (layout.bits_per_pixel > 8) return 0;
  std::uint32_t full = 1u << layout.bits_per_pixel;
  std::uint32_t declared = colors_used == 0 || colors_used > full ? full : colors_used;
  std::uint64_t room = (layout.pixel_offset - layout.palette_offset) / layout.palette_entry_size;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(declared, room));
}

std::optional<Layout> ReadLayout(const ImageFile& file) {
  std::string head;
  std::uint64_t head_size = std::min<std::uint64_t>(file.Size(), kFileHeaderSize + kLargestHeaderSize);
  if (head_size < kFileHeaderSize + 4 || !file.ReadAt(0, head_size, head)) return std::nullopt;
  if (head[0] != 'B' || head[1] != 'M') return std::nullopt;
  std::uint32_t header_size = U32(head, 14);
  if (!IsKnownHeaderSize(header_size) || head.size() < kFileHeaderSize + header_size) return std::nullopt;

  Layout layout;
  std::uint32_t colors_used = 0;
  if (!ReadHeaderFields(head, header_size, layout, colors_used)) return std::nullopt;
  bool has_masks = layout.bits_per_pixel == 16 || layout.bits_per_pixel == 32;
  if (has_masks && !ReadMasks(file, head, header_size, layout)) return std::nullopt;
  bool masks_follow = header_size == kInfoHeaderSize && layout.compression == kBitFields;
  layout.palette_offset = kFileHeaderSize + header_size + (masks_follow ? kMasksAfterHeaderSize : 0);
  if (!PlacePixelData(file, U32(head, 10), layout)) return std::nullopt;
  layout.palette_entries = PaletteEntries(layout, colors_used);
  return layout;
}

Palette ReadPalette(const ImageFile& file, const Layout& layout) {
  std::string bytes;
  Palette palette;
  if (!file.ReadAt(layout.palette_offset, std::uint64_t{layout.palette_entries} * layout.palette_entry_size, bytes))
    return palette;
  for (std::size_t at = 0; at < bytes.size(); at += layout.palette_entry_size)
    palette.push_back({Byte(bytes, at + 2), Byte(bytes, at + 1), Byte(bytes, at)});  // stored blue, green, red
  return palette;
}

Rgb ColourOf(const Palette& palette, unsigned index) { return index < palette.size() ? palette[index] : Rgb{}; }

void Put(std::uint8_t* pixel, Rgb colour) {
  pixel[0] = colour.r;
  pixel[1] = colour.g;
  pixel[2] = colour.b;
}

// Palette index of pixel x in a row of 1, 4 or 8 bits per pixel; the
// leftmost pixel sits in the most significant bits.
unsigned IndexAt(const std::string& row, std::uint32_t x, unsigned bits) {
  std::uint64_t bit = std::uint64_t{x} * bits;
  unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
  return (Byte(row, static_cast<std::size_t>(bit / 8)) >> shift) & ((1u << bits) - 1);
}

void DecodeRow(const std::string& row, const Layout& layout, const Palette& palette, std::uint8_t* out) {
  for (std::uint32_t x = 0; x < layout.width; ++x, out += 3) {
    switch (layout.bits_per_pixel) {
      case 24: {
        std::size_t at = 3 * std::size_t{x};
        Put(out, {Byte(row, at + 2), Byte(row, at + 1), Byte(row, at)});  // stored blue, green, red
        break;
      }
      case 16:
      case 32: {
        std::uint32_t pixel = layout.bits_per_pixel == 16 ? U16(row, 2 * std::size_t{x}) : U32(row, 4 * std::size_t{x});
        Put(out, {layout.masks[0].Extract(pixel), layout.masks[1].Extract(pixel), layout.masks[2].Extract(pixel)});
        break;
      }
      default: Put(out, ColourOf(palette, IndexAt(row, x, layout.bits_per_pixel)));
    }
  }
}

bool DecodeUncompressed(const ImageFile& file, const Layout& layout, const Palette& palette, Bitmap& image) {
  std::uint64_t stride = layout.RowStride();
  std::size_t out_stride = std::size_t{layout.width} * 3;
  std::string row;
  for (std::uint32_t stored = 0; stored < layout.height; ++stored) {
    if (!file.ReadAt(layout.pixel_offset + stored * stride, stride, row)) return false;
    std::uint32_t y = layout.top_down ? stored : layout.height - 1 - stored;
    DecodeRow(row, layout, palette, image.rgb.data() + y * out_stride);
  }
  return true;
}

// The pen of an RLE stream: x from the left, y counting stored rows from the
// bottom. It may rest just past the last column or row, but writes only
// inside the image.
class RlePen {
 public:
  RlePen(Bitmap& image, const Palette& palette) : image_(image), palette_(palette) {}

  bool Paint(unsigned index) {
    if (x_ >= Width() || y_ >= Height()) return false;
    std::size_t row_from_top = Height() - 1 - y_;
    Put(image_.rgb.data() + (row_from_top * Width() + x_) * 3, ColourOf(palette_, index));
    ++x_;
    return true;
  }
  bool NextLine() { return MoveTo(0, y_ + 1); }
  bool Skip(std::uint8_t dx, std::uint8_t dy) { return MoveTo(x_ + dx, y_ + dy); }

 private:
  std::uint64_t Width() const { return static_cast<std::uint64_t>(image_.width); }
  std::uint64_t Height() const { return static_cast<std::uint64_t>(image_.height); }
  bool MoveTo(std::uint64_t x, std::uint64_t y) {
    if (x > Width() || y > Height()) return false;
    x_ = x;
    y_ = y;
    return true;
  }

  Bitmap& image_;
  const Palette& palette_;
  std::uint64_t x_ = 0;
  std::uint64_t y_ = 0;
};

// Pixel i of a run packed at 4 or 8 bits: RLE4 alternates high and low nibble.
unsigned RunIndex(std::uint8_t packed, unsigned i, unsigned bits) {
  if (bits == 8) return packed;
  return i % 2 == 0 ? packed >> 4 : packed & 0x0F;
}

bool DecodeRle(const std::string& data, unsigned bits, RlePen& pen) {
  enum Escape : std::uint8_t { kEndOfLine = 0, kEndOfBitmap = 1, kDelta = 2 };
  std::size_t at = 0;
  while (data.size() - at >= 2) {
    std::uint8_t count = Byte(data, at);
    std::uint8_t value = Byte(data, at + 1);
    at += 2;
    if (count > 0) {  // encoded run: count pixels from one byte
      for (unsigned i = 0; i < count; ++i)
        if (!pen.Paint(RunIndex(value, i, bits))) return false;
    } else if (value == kEndOfLine) {
      if (!pen.NextLine()) return false;
    } else if (value == kEndOfBitmap) {
      return true;
    } else if (value == kDelta) {
      if (data.size() - at < 2 || !pen.Skip(Byte(data, at), Byte(data, at + 1))) return false;
      at += 2;
    } else {  // absolute run of value pixels, padded to a 16-bit boundary
      std::size_t bytes = bits == 8 ? value : (value + 1u) / 2;
      std::size_t padded = (bytes + 1) & ~std::size_t{1};
      if (data.size() - at < padded) return false;
      for (unsigned i = 0; i < value; ++i)
        if (!pen.Paint(RunIndex(Byte(data, at + i * bits / 8), i, bits))) return false;
      at += padded;
    }
  }
  return at == data.size();  // ended without a marker; a half command left over is damage
}

// The longest RLE stream a w x h image can need: two bytes per pixel (runs
// of one) plus an end-of-line per row and the end marker. Bytes beyond are
// never read.
std::uint64_t MaxRleBytes(const Layout& layout) {
  return 2 * (std::uint64_t{layout.width} * layout.height + layout.height + 1);
}

bool DecodeCompressed(const ImageFile& file, const Layout& layout, const Palette& palette, Bitmap& image) {
  std::uint64_t length = std::min(file.Size() - layout.pixel_offset, MaxRleBytes(layout));
  std::string data;
  if (!file.ReadAt(layout.pixel_offset, length, data)) return false;
  Rgb background = ColourOf(palette, 0);
  for (std::size_t at = 0; at < image.rgb.size(); at += 3) Put(image.rgb.data() + at, background);
  RlePen pen(image, palette);
  return DecodeRle(data, layout.compression == kRle8 ? 8 : 4, pen);
}

ImageLoad DecodeBmp(const std::string& path, Bitmap& out) {
  ImageFile file;
  if (!file.Open(path)) return ImageLoad::NotThisFormat;
  std::optional<Layout> layout = ReadLayout(file);
  if (!layout) return ImageLoad::NotThisFormat;
  Palette palette = ReadPalette(file, *layout);
  if (palette.size() != layout->palette_entries) return ImageLoad::NotThisFormat;

  Bitmap image;
  image.width = static_cast<int>(layout->width);
  image.height = static_cast<int>(layout->height);
  image.rgb.resize(std::size_t{layout->width} * layout->height * 3);
  bool decoded = layout->IsRle() ? DecodeCompressed(file, *layout, palette, image)
                                 : DecodeUncompressed(file, *layout, palette, image);
  if (!decoded) return ImageLoad::NotThisFormat;
  out = std::move(image);
  return ImageLoad::Loaded;
}

}  // namespace

ImageLoad LoadBmp(const std::string& path, Bitmap& out) {
  try {
    return DecodeBmp(path, out);
  } catch (const std::bad_alloc&) {
    return ImageLoad::NotThisFormat;  // an image too large for this machine is not drawn
  }
}

}  // namespace zuvprint::platform
