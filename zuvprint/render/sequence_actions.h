// What each control sequence does to the mode record, the measures and the
// rest of the line. The sequences that govern the print job itself (the
// orientation sequences and the form feed) belong to the print run.
#pragma once

#include <functional>
#include <string>

#include "platform/surface.h"
#include "render/line_splitter.h"
#include "render/print_mode.h"
#include "style/print_style.h"

namespace zuvprint {

// An image that ESC "LOGO" or ESC "TLO" asks for.
struct ZadanieObrazu {
  std::string plik;
  bool tlo = false;  // background: stretched over the page
  float x = 0, y = 0, zoom = 1;  // millimetres, image pixels to printer pixels
};

struct KontekstSekwencji {
  TTrybyDruku& tryb;
  MiaryStrony& miary;
  const TStylWydruku& styl;
  platform::Surface& drukarka;
  std::function<void(const ZadanieObrazu&)> rysujObraz;
};

// Carries out sequence numer (not 5, 6 or 23) on the rest of linia.
void WykonajSekwencje(int numer, LiniaDruku& linia, KontekstSekwencji& k);

// Reads a number field of ESC "LOGO": decimal, optionally signed, with "."
// or "," before the fraction. False for a field that is not a number.
bool CzytajLiczbePola(std::string_view pole, float& wartosc);

}  // namespace zuvprint
