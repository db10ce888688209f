#include "platform/posix/fonts.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "platform/font_height.h"

namespace zuvprint::platform {

namespace {

// Each Windows face name of style files and captions becomes a face with
// the same advance widths, so a line, a cell grid or a caption is as wide as
// on Windows. "assign_replace" drops whatever the system's own rules put
// beside the Windows name, so every machine draws with the same face.
constexpr const char kAliases[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <match target="pattern">
    <test name="family"><string>Lucida Console</string></test>
    <edit name="family" mode="assign_replace" binding="strong"><string>DejaVu Sans Mono</string></edit>
  </match>
  <match target="pattern">
    <test name="family"><string>Courier New</string></test>
    <edit name="family" mode="assign_replace" binding="strong"><string>Liberation Mono</string></edit>
  </match>
  <match target="pattern">
    <test name="family"><string>Arial</string></test>
    <edit name="family" mode="assign_replace" binding="strong"><string>Liberation Sans</string></edit>
  </match>
  <match target="pattern">
    <test name="family"><string>Times New Roman</string></test>
    <edit name="family" mode="assign_replace" binding="strong"><string>Liberation Serif</string></edit>
  </match>
</fontconfig>
)";

}  // namespace

void InstallFontAliases() {
  static std::once_flag once;
  std::call_once(once, [] {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return;
    FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kAliases), FcTrue);
    FcConfigSetCurrent(config);  // takes its own reference
    FcConfigDestroy(config);
  });
}

double EmPixelsForHeight(cairo_font_face_t* face, int height) {
  if (height < 0) return -static_cast<double>(height);
  const double cell = height > 0 ? height : kDefaultCellHeight;
  // The face's cell at an em of 1000 pixels, unhinted, gives its proportions.
  constexpr double kProbe = 1000;
  cairo_matrix_t size, identity;
  cairo_matrix_init_scale(&size, kProbe, kProbe);
  cairo_matrix_init_identity(&identity);
  std::unique_ptr<cairo_font_options_t, decltype(&cairo_font_options_destroy)> options(
      cairo_font_options_create(), cairo_font_options_destroy);
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
  std::unique_ptr<cairo_scaled_font_t, decltype(&cairo_scaled_font_destroy)> probe(
      cairo_scaled_font_create(face, &size, &identity, options.get()), cairo_scaled_font_destroy);
  cairo_font_extents_t extents;
  cairo_scaled_font_extents(probe.get(), &extents);
  const double perEm = (extents.ascent + extents.descent) / kProbe;
  return perEm > 0 ? std::max(1.0, std::round(cell / perEm)) : cell;
}

void ReleaseFontCaches() {
  cairo_debug_reset_static_data();
  FcFini();
}

}  // namespace zuvprint::platform
