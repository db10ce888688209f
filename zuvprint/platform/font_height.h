// Font sizes as a Windows canvas turns them into a font's height: points
// become pixels at the device's resolution, and the sign of the size tells
// which height is meant.
#pragma once

namespace zuvprint::platform {

// The LOGFONT height for a size in points at dpi pixels per inch:
// -MulDiv(points, dpi, 72). Negative for a positive size (a character, or
// em, height), positive for a negative size (a cell height: ascent plus
// descent), and 0 for 0, which leaves the height to the platform.
int FontHeightForPoints(int points, int dpi);

// The cell height, in pixels, of a font asked for with height 0, as the
// Windows font mapper answers it.
constexpr int kDefaultCellHeight = 16;

}  // namespace zuvprint::platform
