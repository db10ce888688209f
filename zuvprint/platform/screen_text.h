// Text written into an image the way a window's canvas writes it: a Windows
// face name, a size in points at the screen's 96 pixels per inch, the top of
// the character cell at the given row, an opaque background behind the
// characters. What falls outside the image is cut off.
#pragma once

#include <string>
#include <string_view>

#include "platform/images.h"
#include "platform/surface.h"

namespace zuvprint::platform {

constexpr int kScreenDpi = 96;

struct ScreenFont {
  std::string face;  // UTF-8, e.g. "Arial"
  int points = 10;
};

// Width in pixels of the text in that font. Texts are UTF-8; a byte that is
// not is taken as the character of its own number.
int ScreenTextWidth(const ScreenFont& font, std::string_view text);

// Writes the text at (left, top): the rectangle of its width and the font's
// cell height (ascent + descent) is filled with background, the characters
// are drawn in colour on it. The size goes to the font as on a Windows
// canvas (FontHeightForPoints): 0 points is the platform's default height.
void DrawScreenText(Bitmap& image, const ScreenFont& font, std::string_view text, int left, int top,
                    Colour colour, Colour background);

}  // namespace zuvprint::platform
