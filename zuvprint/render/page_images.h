// Images on the page: a background stretched over the printable area and
// logos placed in millimetres with a zoom factor.
#pragma once

#include <functional>
#include <string>

#include "platform/surface.h"

namespace zuvprint {

// Where an image goes: the whole page for a background; for a logo, X and Y
// millimetres from the page's left and top edges, zoom printer pixels per
// image pixel (0 counts as 1).
platform::Rect CelObrazu(const platform::Surface& drukarka, int szerokosc, int wysokosc, bool tlo, float x, float y,
                         float zoom);

// Draws the image file on the current page. "Brak", a name of 5 characters
// or fewer and a missing file draw nothing. The file is tried as a bitmap,
// then as PNG, whatever its extension; when it is neither, pokaz gets
// "Niewłaściwy format pliku: " + the name.
void RysujObraz(platform::Surface& drukarka, const std::function<void(const std::string&)>& pokaz,
                const std::string& plik, bool tlo, float x, float y, float zoom);

// Copies the source rectangle of the bitmap onto the destination rectangle
// of the page, stretched, opaque.
void RozciagnijBitmape(platform::Surface& drukarka, const platform::Rect& cel, const platform::Bitmap& bitmapa,
                       const platform::Rect& zrodlo);

}  // namespace zuvprint
