// PNG reader on libpng. Every colour type and bit depth is turned into 8-bit
// RGBA by libpng's transforms (16-bit samples rounded to the nearest 8-bit
// value), then composited onto white paper: out = a*c + (1-a)*255.
// No gamma conversion is done: the samples are printed as stored, whatever
// gAMA, sRGB or iCCP say, the way the bitmap path prints BMP samples.
#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>

#include "platform/files.h"
#include "platform/images.h"

namespace zuvprint::platform {
namespace {

// Same output bound as for bitmaps.
// Deflate cannot expand data more than 1032-fold (a 258-byte match in two
// bits), so a file shorter than its image data / 1032 cannot be complete;
// refusing it up front keeps a small file from reserving a large image.
constexpr std::uint64_t kMaxDeflateRatio = 1032;
constexpr std::size_t kSignatureSize = 8;
constexpr int kRgbaChannels = 4;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The regular file as a stdio stream for libpng.
FilePtr OpenPngFile(const std::string& path, std::uint64_t& size) {
  NativeFile fd = OpenRegularFile(path, &size);
  if (!fd.IsOpen()) return nullptr;
  FilePtr file(::fdopen(static_cast<int>(fd.Get()), "rb"));
  if (file) fd.Release();
  return file;
}

// libpng's messages are not shown: a bad image gets the caller's own message.
[[noreturn]] void JumpOnError(png_structp png, png_const_charp /*message*/) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

class PngReadStruct {
 public:
  PngReadStruct()
      : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning)),
        info_(png_ ? png_create_info_struct(png_) : nullptr) {}
  ~PngReadStruct() { png_destroy_read_struct(&png_, &info_, nullptr); }
  PngReadStruct(const PngReadStruct&) = delete;
  PngReadStruct& operator=(const PngReadStruct&) = delete;

  bool IsValid() const { return png_ != nullptr && info_ != nullptr; }
  png_structp Png() const { return png_; }
  png_infop Info() const { return info_; }

 private:
  png_structp png_;
  png_infop info_;
};

// libpng leaves the two functions below by longjmp on any error. They hold
// no object with a destructor and touch nothing that is read after the jump.

bool ReadPngInfo(png_structp png, png_infop info, std::FILE* file) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_sig_bytes(png, kSignatureSize);
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
#ifdef PNG_IGNORE_ADLER32
  // Every byte of the compressed image is already checked by its chunk's
  // CRC; the stream's own Adler-32 costs as much again as inflating it.
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
  png_read_info(png, info);
  return true;
}

// True when the image has transparency to composite onto the paper.
bool HasAlpha(png_structp png, png_infop info) {
  return (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
}

// Reads the image as 8-bit RGBA (channels 4) or, for an image without
// transparency, straight as 8-bit RGB (channels 3).
bool ReadPngAs(png_structp png, png_infop info, png_bytepp rows, png_size_t expected_row_bytes, int channels) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_expand(png);  // palette to RGB, gray below 8 bits to 8, tRNS to alpha
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  if (channels == kRgbaChannels) png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);  // opaque where the file has none
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != expected_row_bytes) return false;
  png_read_image(png, rows);
  return true;
}

bool HasPngSignature(std::FILE* file) {
  png_byte signature[kSignatureSize];
  return std::fread(signature, 1, kSignatureSize, file) == kSignatureSize &&
         png_sig_cmp(signature, 0, kSignatureSize) == 0;
}

// Whether the declared image is within bounds and could be stored in a file
// of this size.
bool IsPlausibleSize(png_structp png, png_infop info, std::uint64_t file_size) {
  std::uint64_t width = png_get_image_width(png, info);
  std::uint64_t height = png_get_image_height(png, info);
  std::uint64_t stored_bytes = std::uint64_t{png_get_rowbytes(png, info)} * height;
  return width > 0 && height > 0 && width * height <= kMaxImagePixels &&
         stored_bytes / kMaxDeflateRatio <= file_size;
}

std::uint8_t OnWhite(std::uint8_t colour, std::uint8_t alpha) {
  return static_cast<std::uint8_t>((colour * alpha + 255 * (255 - alpha) + 127) / 255);
}

// Composites RGBA onto white, packing the result into the front of the same buffer.
void CompositeInPlace(std::vector<std::uint8_t>& pixels) {
  std::size_t out = 0;
  for (std::size_t in = 0; in < pixels.size(); in += kRgbaChannels) {
    std::uint8_t alpha = pixels[in + 3];
    if (alpha == 255) {  // most pixels of a logo: no arithmetic
      pixels[out] = pixels[in], pixels[out + 1] = pixels[in + 1], pixels[out + 2] = pixels[in + 2];
      out += 3;
      continue;
    }
    for (std::size_t c = 0; c < 3; ++c) pixels[out++] = OnWhite(pixels[in + c], alpha);
  }
  pixels.resize(out);
}

ImageLoad DecodePng(const std::string& path, Bitmap& out) {
  std::uint64_t file_size = 0;
  FilePtr file = OpenPngFile(path, file_size);
  if (!file || !HasPngSignature(file.get())) return ImageLoad::NotThisFormat;
  PngReadStruct reader;
  if (!reader.IsValid() || !ReadPngInfo(reader.Png(), reader.Info(), file.get()) ||
      !IsPlausibleSize(reader.Png(), reader.Info(), file_size))
    return ImageLoad::NotThisFormat;

  png_uint_32 width = png_get_image_width(reader.Png(), reader.Info());
  png_uint_32 height = png_get_image_height(reader.Png(), reader.Info());
  const bool alpha = HasAlpha(reader.Png(), reader.Info());
  const int channels = alpha ? kRgbaChannels : 3;
  std::size_t row_bytes = std::size_t{width} * channels;
  std::vector<std::uint8_t> pixels(row_bytes * height);
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + y * row_bytes;
  if (!ReadPngAs(reader.Png(), reader.Info(), rows.data(), row_bytes, channels)) return ImageLoad::NotThisFormat;

  if (alpha) CompositeInPlace(pixels);
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.rgb = std::move(pixels);
  return ImageLoad::Loaded;
}

}  // namespace

ImageLoad LoadPng(const std::string& path, Bitmap& out) {
  try {
    return DecodePng(path, out);
  } catch (const std::bad_alloc&) {
    return ImageLoad::NotThisFormat;  // an image too large for this machine is not drawn
  }
}

}  // namespace zuvprint::platform
