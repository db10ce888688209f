// Font lookup through fontconfig with the program's own face aliases, so the
// Windows face names of style files and captions ("Lucida Console", "Courier
// New", "Arial", "Times New Roman") find a face with every Polish letter and
// the advance widths of the Windows face on any Linux machine.
#pragma once

#include <cairo.h>

#include <string>

#include "platform/font_caches.h"

namespace zuvprint::platform {

// Makes fontconfig ready to find a face by name; call it before the face is
// asked for. For the Windows names we map, a small configuration of our own
// is enough: the system's font directories and caches and our aliases. Any
// other name is looked up as the system's whole configuration (some fifty
// files, which take longer to read than the rest of a one-page print) finds
// it, with our aliases on top: loaded the first time such a name comes.
void PrepareFontLookup(const std::string& face);

// The character (em) height in whole pixels of a face asked for with a
// Windows font height (FontHeightForPoints): a negative height is the em
// height itself; a positive one is the cell height (ascent + descent), and 0
// the default cell height, from which the em height follows by the face's
// own proportions, rounded to whole pixels as the Windows font mapper does.
double EmPixelsForHeight(cairo_font_face_t* face, int height);

}  // namespace zuvprint::platform
