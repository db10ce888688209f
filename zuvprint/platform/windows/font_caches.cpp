#include "platform/font_caches.h"

namespace zuvprint::platform {

// GDI's fonts are objects of each surface, released with it: the program
// keeps no cache of its own on Windows.
void ReleaseFontCaches() {}

}  // namespace zuvprint::platform
