#include "platform/screen_text.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/font_height.h"
#include "platform/posix/fonts.h"
#include "platform/utf8.h"

namespace zuvprint::platform {
namespace {

struct CairoDeleter {
  void operator()(cairo_t* p) const { cairo_destroy(p); }
  void operator()(cairo_surface_t* p) const { cairo_surface_destroy(p); }
};
template <typename T>
using CairoPtr = std::unique_ptr<T, CairoDeleter>;


// A cairo context on a scratch surface of the given size, with the font set.
struct Context {
  CairoPtr<cairo_surface_t> surface;
  CairoPtr<cairo_t> cr;
};

// The image goes to the printer pixel for pixel, so the characters are drawn
// without antialiasing: grey edge pixels would print as a halftone fringe
// (and a black-and-white image embeds in a PDF at one bit a pixel).
Context MakeContext(const ScreenFont& font, int width, int height) {
  PrepareFontLookup(font.face);
  Context c;
  c.surface.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(width, 1), std::max(height, 1)));
  c.cr.reset(cairo_create(c.surface.get()));
  cairo_select_font_face(c.cr.get(), font.face.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(c.cr.get(), EmPixelsForHeight(cairo_get_font_face(c.cr.get()),
                                                    FontHeightForPoints(font.points, kScreenDpi)));
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
  cairo_set_font_options(c.cr.get(), options);
  cairo_font_options_destroy(options);
  return c;
}

struct Extent {
  int width = 0, ascent = 0, height = 0;
};

Extent Measure(cairo_t* cr, const std::string& utf8) {
  cairo_text_extents_t te;
  cairo_text_extents(cr, utf8.c_str(), &te);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  int ascent = static_cast<int>(std::lround(fe.ascent));
  return {static_cast<int>(std::lround(te.x_advance)), ascent, ascent + static_cast<int>(std::lround(fe.descent))};
}

void SetColour(cairo_t* cr, Colour c) {
  cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, ((c >> 16) & 0xFF) / 255.0);
}

}  // namespace

int ScreenTextWidth(const ScreenFont& font, std::string_view text) {
  Context c = MakeContext(font, 1, 1);
  return Measure(c.cr.get(), DisplayUtf8(text)).width;
}

void DrawScreenText(Bitmap& image, const ScreenFont& font, std::string_view text, int left, int top,
                    Colour colour, Colour background) {
  if (text.empty()) return;
  const std::string utf8 = DisplayUtf8(text);
  Context probe = MakeContext(font, 1, 1);
  const auto [width, ascent, height] = Measure(probe.cr.get(), utf8);

  // Only the part of the text's cell that lies inside the image is drawn.
  const int x0 = std::max(left, 0), y0 = std::max(top, 0);
  const int x1 = std::min<long long>(static_cast<long long>(left) + width, image.width);
  const int y1 = std::min<long long>(static_cast<long long>(top) + height, image.height);
  if (x0 >= x1 || y0 >= y1) return;

  Context c = MakeContext(font, x1 - x0, y1 - y0);
  SetColour(c.cr.get(), background);
  cairo_paint(c.cr.get());
  SetColour(c.cr.get(), colour);
  cairo_move_to(c.cr.get(), left - x0, top - y0 + ascent);
  cairo_show_text(c.cr.get(), utf8.c_str());
  cairo_surface_flush(c.surface.get());

  const unsigned char* data = cairo_image_surface_get_data(c.surface.get());
  const int stride = cairo_image_surface_get_stride(c.surface.get());
  for (int y = y0; y < y1; ++y) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y - y0) * stride);
    std::uint8_t* dst = image.rgb.data() + (static_cast<std::size_t>(y) * image.width + x0) * 3;
    for (int x = 0; x < x1 - x0; ++x, dst += 3) {
      std::uint32_t px = src[x];  // x8r8g8b8 in native order
      dst[0] = static_cast<std::uint8_t>(px >> 16);
      dst[1] = static_cast<std::uint8_t>(px >> 8);
      dst[2] = static_cast<std::uint8_t>(px);
    }
  }
}

}  // namespace zuvprint::platform
