// Text written into an image through GDI: the characters are drawn into a
// 24-bit DIB section the size of the part of the text's cell that lies in
// the image, opaque, top-aligned, without antialiasing, and copied into the
// bitmap from there.
#include "platform/screen_text.h"

#include <windows.h>
// files.h names a function DeleteFile, which windows.h makes a macro.
#undef DeleteFile

#include <algorithm>
#include <cstdint>

#include "platform/font_height.h"
#include "platform/utf8.h"
#include "platform/windows/wide_text.h"

namespace zuvprint::platform {
namespace {

// A memory device context with the font selected into it; everything put
// into it is taken out again and deleted when it goes.
class FontContext {
 public:
  explicit FontContext(const ScreenFont& font) : dc_(::CreateCompatibleDC(nullptr)) {
    // The image goes to the printer pixel for pixel, so the characters are
    // drawn without antialiasing: grey edge pixels would print as a
    // halftone fringe.
    font_ = ::CreateFontW(FontHeightForPoints(font.points, kScreenDpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, Wide(font.face).c_str());
    if (dc_ && font_) oldFont_ = ::SelectObject(dc_, font_);
  }
  ~FontContext() {
    if (oldBitmap_) ::SelectObject(dc_, oldBitmap_);
    if (bitmap_) ::DeleteObject(bitmap_);
    if (oldFont_) ::SelectObject(dc_, oldFont_);
    if (font_) ::DeleteObject(font_);
    if (dc_) ::DeleteDC(dc_);
  }
  FontContext(const FontContext&) = delete;
  FontContext& operator=(const FontContext&) = delete;

  bool Usable() const { return oldFont_ != nullptr; }
  HDC Dc() const { return dc_; }

  // A top-down 24-bit DIB section of that size as the drawing target;
  // nullptr when it cannot be made.
  std::uint8_t* UseCanvas(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_ || !bits) return nullptr;
    oldBitmap_ = ::SelectObject(dc_, bitmap_);
    return oldBitmap_ ? static_cast<std::uint8_t*>(bits) : nullptr;
  }

 private:
  HDC dc_;
  HFONT font_ = nullptr;
  HGDIOBJ oldFont_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
};

int Width(HDC dc, const std::wstring& text) {
  SIZE size{};
  if (text.empty() || !::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

}  // namespace

int ScreenTextWidth(const ScreenFont& font, std::string_view text) {
  FontContext context(font);
  if (!context.Usable()) return 0;
  return Width(context.Dc(), Wide(DisplayUtf8(text)));
}

void DrawScreenText(Bitmap& image, const ScreenFont& font, std::string_view text, int left, int top,
                    Colour colour, Colour background) {
  if (text.empty()) return;
  const std::wstring wide = Wide(DisplayUtf8(text));
  FontContext context(font);
  TEXTMETRICW metrics{};
  if (!context.Usable() || !::GetTextMetricsW(context.Dc(), &metrics)) return;
  const int width = Width(context.Dc(), wide);
  const int height = metrics.tmHeight;

  // Only the part of the text's cell that lies inside the image is drawn.
  const int x0 = std::max(left, 0), y0 = std::max(top, 0);
  const int x1 = std::min<long long>(static_cast<long long>(left) + width, image.width);
  const int y1 = std::min<long long>(static_cast<long long>(top) + height, image.height);
  if (x0 >= x1 || y0 >= y1) return;

  const int w = x1 - x0, h = y1 - y0;
  std::uint8_t* pixels = context.UseCanvas(w, h);
  if (!pixels) return;
  HDC dc = context.Dc();
  RECT all{0, 0, w, h};
  HBRUSH brush = ::CreateSolidBrush(background);
  if (brush) {
    ::FillRect(dc, &all, brush);
    ::DeleteObject(brush);
  }
  ::SetBkMode(dc, OPAQUE);
  ::SetBkColor(dc, background);
  ::SetTextColor(dc, colour);
  ::SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
  ::TextOutW(dc, left - x0, top - y0, wide.data(), static_cast<int>(wide.size()));
  ::GdiFlush();

  // DIB rows are B, G, R, padded to four bytes.
  const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* src = pixels + static_cast<std::size_t>(y) * stride;
    std::uint8_t* dst = image.rgb.data() + (static_cast<std::size_t>(y0 + y) * image.width + x0) * 3;
    for (int x = 0; x < w; ++x, src += 3, dst += 3) {
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
    }
  }
}

}  // namespace zuvprint::platform
