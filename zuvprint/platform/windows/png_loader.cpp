// PNG reader on WIC: the PNG decoder for the file, its first frame, turned
// into 8-bit BGRA by WIC's format converter (or, for 16-bit samples, read as
// they are and rounded to the nearest 8-bit value here, as libpng rounds
// them on Linux), then composited onto white paper: out = a*c + (1-a)*255.
// Samples are printed as stored, without gamma conversion, as on Linux.
#include <windows.h>
#include <wincodec.h>
// files.h names a function DeleteFile, which windows.h makes a macro.
#undef DeleteFile

#include <cstdint>
#include <new>
#include <vector>

#include "platform/files.h"
#include "platform/images.h"
#include "platform/windows/wide_text.h"

namespace zuvprint::platform {
namespace {

// Deflate cannot expand data more than 1032-fold, so a file shorter than
// its image data / 1032 cannot be complete; refusing it up front keeps a
// small file from reserving a large image.
constexpr std::uint64_t kMaxDeflateRatio = 1032;
constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// A COM interface pointer, released when it goes.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* operator->() const { return p_; }
  T* Get() const { return p_; }
  T** Put() {
    Reset();
    return &p_;
  }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

// COM for this thread while the image is read; a thread that has COM set up
// already in another mode keeps it and is not torn down.
class ComScope {
 public:
  ComScope() : result_(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

// A regular file that starts with the PNG signature; its size.
bool IsPngFile(const std::string& path, std::uint64_t& size) {
  NativeFile file = OpenRegularFile(path, &size);
  unsigned char head[sizeof kSignature];
  if (!file.IsOpen() || file.Read(head, sizeof head) != sizeof head) return false;
  for (std::size_t i = 0; i < sizeof head; ++i)
    if (head[i] != kSignature[i]) return false;
  return true;
}

unsigned BitsPerPixel(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
  ComPtr<IWICComponentInfo> component;
  ComPtr<IWICPixelFormatInfo> info;
  UINT bits = 0;
  if (FAILED(factory->CreateComponentInfo(format, component.Put())) ||
      FAILED(component->QueryInterface(IID_IWICPixelFormatInfo, reinterpret_cast<void**>(info.Put()))) ||
      FAILED(info->GetBitsPerPixel(&bits)))
    return 0;
  return bits;
}

// Whether the declared image is within bounds and could be stored in a file
// of this size.
bool IsPlausibleSize(UINT width, UINT height, unsigned bits, std::uint64_t fileSize) {
  if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide || bits == 0) return false;
  const std::uint64_t storedBytes = (std::uint64_t{width} * bits + 7) / 8 * height;
  return std::uint64_t{width} * height <= kMaxImagePixels && storedBytes / kMaxDeflateRatio <= fileSize;
}

std::uint8_t OnWhite(std::uint8_t colour, std::uint8_t alpha) {
  return static_cast<std::uint8_t>((colour * alpha + 255 * (255 - alpha) + 127) / 255);
}

// A 16-bit sample rounded to the nearest 8-bit value, as libpng's
// png_set_scale_16 does.
std::uint8_t Scale16(std::uint16_t v) { return static_cast<std::uint8_t>((v * 255u + 32767u) / 65535u); }

// BGRA rows (stride width * 4) into RGB composited onto white.
void FromBgra(const std::vector<std::uint8_t>& bgra, Bitmap& out) {
  const std::size_t pixels = bgra.size() / 4;
  out.rgb.resize(pixels * 3);
  for (std::size_t i = 0; i < pixels; ++i) {
    const std::uint8_t* in = &bgra[i * 4];
    std::uint8_t* o = &out.rgb[i * 3];
    const std::uint8_t a = in[3];
    if (a == 255) {
      o[0] = in[2], o[1] = in[1], o[2] = in[0];
    } else {
      o[0] = OnWhite(in[2], a), o[1] = OnWhite(in[1], a), o[2] = OnWhite(in[0], a);
    }
  }
}

// The 16-bit layouts of WIC's PNG decoder (little-endian samples): gray,
// RGB and RGBA (gray with alpha comes as RGBA). Each sample is rounded to 8
// bits first and then composited, as on Linux.
void From16Bit(const std::vector<std::uint8_t>& raw, unsigned channels, Bitmap& out) {
  const std::size_t pixels = raw.size() / (2 * channels);
  out.rgb.resize(pixels * 3);
  auto sample = [&](std::size_t i, unsigned c) {
    const std::size_t at = (i * channels + c) * 2;
    return Scale16(static_cast<std::uint16_t>(raw[at] | (raw[at + 1] << 8)));
  };
  for (std::size_t i = 0; i < pixels; ++i) {
    std::uint8_t* o = &out.rgb[i * 3];
    if (channels == 1) {
      o[0] = o[1] = o[2] = sample(i, 0);
      continue;
    }
    const std::uint8_t a = channels == 4 ? sample(i, 3) : 255;
    for (unsigned c = 0; c < 3; ++c) o[c] = a == 255 ? sample(i, c) : OnWhite(sample(i, c), a);
  }
}

unsigned SixteenBitChannels(const WICPixelFormatGUID& format) {
  if (format == GUID_WICPixelFormat16bppGray) return 1;
  if (format == GUID_WICPixelFormat48bppRGB) return 3;
  if (format == GUID_WICPixelFormat64bppRGBA) return 4;
  return 0;
}

ImageLoad DecodePng(const std::string& path, Bitmap& out) {
  std::uint64_t fileSize = 0;
  if (!IsPngFile(path, fileSize)) return ImageLoad::NotThisFormat;
  ComScope com;
  if (!com.Usable()) return ImageLoad::NotThisFormat;

  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.Put()))) ||
      FAILED(factory->CreateStream(stream.Put())) ||
      FAILED(stream->InitializeFromFilename(Wide(path).c_str(), GENERIC_READ)) ||
      FAILED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.Put())) ||
      FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) ||
      FAILED(decoder->GetFrame(0, frame.Put())))
    return ImageLoad::NotThisFormat;

  UINT width = 0, height = 0;
  WICPixelFormatGUID format{};
  if (FAILED(frame->GetSize(&width, &height)) || FAILED(frame->GetPixelFormat(&format)) ||
      !IsPlausibleSize(width, height, BitsPerPixel(factory.Get(), format), fileSize))
    return ImageLoad::NotThisFormat;

  if (unsigned channels = SixteenBitChannels(format)) {
    const UINT stride = width * channels * 2;
    std::vector<std::uint8_t> raw(std::size_t{stride} * height);
    if (FAILED(frame->CopyPixels(nullptr, stride, static_cast<UINT>(raw.size()), raw.data())))
      return ImageLoad::NotThisFormat;
    From16Bit(raw, channels, out);
  } else {
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.Put())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)))
      return ImageLoad::NotThisFormat;
    const UINT stride = width * 4;
    std::vector<std::uint8_t> bgra(std::size_t{stride} * height);
    if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(bgra.size()), bgra.data())))
      return ImageLoad::NotThisFormat;
    FromBgra(bgra, out);
  }
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  return ImageLoad::Loaded;
}

}  // namespace

ImageLoad LoadPng(const std::string& path, Bitmap& out) {
  try {
    Bitmap image;
    ImageLoad result = DecodePng(path, image);
    if (result == ImageLoad::Loaded) out = std::move(image);
    return result;
  } catch (const std::bad_alloc&) {
    return ImageLoad::NotThisFormat;  // an image too large for this machine is not drawn
  }
}

}  // namespace zuvprint::platform
