// Drawing a run of text as a strict grid of character cells: every
// character takes one cell of the current character width whatever its
// glyph's own width; box-drawing characters become lines, so frames join
// from cell to cell and from line to line.
#pragma once

#include <string_view>

#include "platform/surface.h"
#include "render/print_mode.h"
#include "style/print_style.h"

namespace zuvprint {

// The character to draw for a byte of the print file: the 53 letters of code
// page 852 that a Windows font would otherwise show wrongly become their
// Unicode characters, every other byte the character with its own number.
char32_t ZnakDoRysowania(unsigned char kod);

// True for the codes drawn as lines instead of glyphs.
bool JestRamka(unsigned char kod);

// Draws text (no control sequences) with its first cell at miary.x on the
// baseline y, and leaves miary.x after the last cell.
void RysujNapis(platform::Surface& drukarka, MiaryStrony& miary, std::string_view tekst, float y,
                const TTrybyDruku& tryb, const TStylWydruku& styl);

}  // namespace zuvprint
