#include "platform/posix/fonts.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

#include "platform/font_height.h"

namespace zuvprint::platform {

namespace {

// Each Windows face name of style files and captions becomes a face with
// the same advance widths, so a line, a cell grid or a caption is as wide as
// on Windows. "assign_replace" drops whatever the system's own rules put
// beside the Windows name, so every machine draws with the same face.
struct Alias {
  const char* windows;
  const char* face;
};
constexpr Alias kAliases[] = {
    {"Lucida Console", "DejaVu Sans Mono"},
    {"Courier New", "Liberation Mono"},
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
};

std::string AliasRules() {
  std::string rules;
  for (const Alias& a : kAliases)
    rules += std::string("<match target=\"pattern\"><test name=\"family\"><string>") + a.windows +
             "</string></test><edit name=\"family\" mode=\"assign_replace\" binding=\"strong\"><string>" +
             a.face + "</string></edit></match>\n";
  return rules;
}

// Where the system keeps its fonts and their caches, as its own
// configuration says on Debian.
constexpr const char kFontPlaces[] = R"(
  <dir>/usr/share/fonts</dir>
  <dir>/usr/local/share/fonts</dir>
  <dir prefix="xdg">fonts</dir>
  <cachedir>/var/cache/fontconfig</cachedir>
  <cachedir prefix="xdg">fontconfig</cachedir>
)";

// Makes config, with our aliases added, the current configuration.
void MakeCurrent(FcConfig* config, bool withFontPlaces) {
  if (!config) return;
  const std::string xml = std::string("<?xml version=\"1.0\"?>\n<fontconfig>\n") +
                          (withFontPlaces ? kFontPlaces : "") + AliasRules() + "</fontconfig>\n";
  FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(xml.c_str()), FcTrue);
  if (withFontPlaces) FcConfigBuildFonts(config);
  FcConfigSetCurrent(config);  // takes its own reference
  FcConfigDestroy(config);
}

bool IsAliased(const std::string& face) {
  for (const Alias& a : kAliases)
    if (face == a.windows) return true;
  return false;
}

enum class Configuration { None, Ours, Systems };
std::mutex configurationMutex;
Configuration configuration = Configuration::None;

}  // namespace

void PrepareFontLookup(const std::string& face) {
  std::lock_guard<std::mutex> lock(configurationMutex);
  if (configuration == Configuration::Systems) return;
  if (!IsAliased(face)) {
    MakeCurrent(FcInitLoadConfigAndFonts(), false);
    configuration = Configuration::Systems;
  } else if (configuration == Configuration::None) {
    MakeCurrent(FcConfigCreate(), true);
    configuration = Configuration::Ours;
  }
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
  std::lock_guard<std::mutex> lock(configurationMutex);
  cairo_debug_reset_static_data();
  FcFini();
  configuration = Configuration::None;
}

}  // namespace zuvprint::platform
