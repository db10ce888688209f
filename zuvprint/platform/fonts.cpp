#include "platform/fonts.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <mutex>

namespace zuvprint::platform {

namespace {

// "assign_replace" drops whatever the system's own rules put beside the
// Windows name, so every machine draws with the same face and the same
// metrics.
constexpr const char kAliases[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <match target="pattern">
    <test name="family"><string>Lucida Console</string></test>
    <edit name="family" mode="assign_replace" binding="strong"><string>DejaVu Sans Mono</string></edit>
  </match>
  <match target="pattern">
    <test name="family"><string>Courier New</string></test>
    <edit name="family" mode="assign_replace" binding="strong"><string>DejaVu Sans Mono</string></edit>
  </match>
  <match target="pattern">
    <test name="family"><string>Arial</string></test>
    <edit name="family" mode="assign_replace" binding="strong"><string>DejaVu Sans</string></edit>
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

void ReleaseFontCaches() {
  cairo_debug_reset_static_data();
  FcFini();
}

}  // namespace zuvprint::platform
