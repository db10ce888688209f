// Font lookup through fontconfig with the program's own face aliases, so the
// Windows face names of style files and captions ("Lucida Console", "Courier
// New", "Arial", "Times New Roman") find a face with every Polish letter and
// the advance widths of the Windows face on any Linux machine.
#pragma once

#include <cairo.h>

#include "platform/font_caches.h"

namespace zuvprint::platform {

// Loads the system's fontconfig configuration plus our aliases and makes it
// current. Cheap after the first call; call it before any font is used.
void InstallFontAliases();

// The character (em) height in whole pixels of a face asked for with a
// Windows font height (FontHeightForPoints): a negative height is the em
// height itself; a positive one is the cell height (ascent + descent), and 0
// the default cell height, from which the em height follows by the face's
// own proportions, rounded to whole pixels as the Windows font mapper does.
double EmPixelsForHeight(cairo_font_face_t* face, int height);

}  // namespace zuvprint::platform
