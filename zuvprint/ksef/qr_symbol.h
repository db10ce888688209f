// A verification link as a QR Code on the page: the symbol (error correction
// level L, a quiet zone of 4 modules) enlarged by whole pixels per module,
// with its caption written into the symbol's bottom quiet zone.
#pragma once

#include <string>
#include <string_view>

#include "ksef/qr_context.h"
#include "platform/images.h"

namespace zuvprint {

constexpr int kStrefaCiszy = 4;  // light modules around the symbol

// The module image of the link: one pixel per module, quiet zone included,
// dark modules black, light ones white. Data that no QR version holds at
// level L gives the quiet zone alone (8 x 8 white pixels).
platform::Bitmap ObrazModulow(std::string_view link);

// The measures of a code image of height S: b = S div 10 pixels lie below
// the symbol's square of side D = S - b.
struct UkladKodu {
  int S = 0, b = 0, D = 0;
};
UkladKodu UkladKoduQR(int S);

// The caption's size in points: b div 2 + 1 for fewer than 27 characters,
// b div 3 for more.
int RozmiarPodpisu(std::string_view podpis, int b);

// Where the caption of width w starts: centred under the symbol, its top
// S div 20 - b pixels below the symbol's square (inside its quiet zone).
struct PolozeniePodpisu {
  int left = 0, top = 0;
};
PolozeniePodpisu PolozeniePodpisuQR(const UkladKodu& uklad, int w);

// The code image, D pixels wide and S high: the module image enlarged by
// k = D div M pixels a module at the top left (the rest white; k = 0 leaves
// the symbol blank) and the caption in "Arial" black on white. S must be 1
// or more; modules must be square.
platform::Bitmap ZlozObrazQR(const platform::Bitmap& moduly, int S, std::string_view podpis);

// Draws the link's code with its caption at x, y (top left) and height H,
// all printer pixels, cut toward zero. A code image that cannot be made or
// drawn (no height, larger than the printer can take) is reported as
// "Błąd towrzenia kodu QR " + caption and left out.
void RysujQR(const KontekstQR& kontekst, const std::string& podpis, const std::string& link, float x, float y,
             float H);

}  // namespace zuvprint
