// The mode record that the control sequences change, the page measures, and
// the font selection that turns both and the font slots of the style into
// the font of the printer surface.
#pragma once

#include "platform/surface.h"
#include "style/print_style.h"

namespace zuvprint {

struct TTrybyDruku {
  bool pogrubienie = false;   // bold
  bool podkreslenie = false;  // underline
  bool kursywa = false;       // italic
  bool sciesnione = false;    // condensed
  bool elite = false;
  bool pica = false;
  bool szerokie = false;      // expanded
  bool wysokie = false;       // high
  bool male = false;          // small
  platform::Colour kolorTekstu = 0;
  platform::Colour kolorZapisany = 0;
  platform::Colour kolorRamki = 0;
  // Slot whose colour the next font selection applies: 0 none, 1 Expanded,
  // 2 High, 3 Small, 4 Condensed, 5 Elite, 6 Pica.
  int oczekujacyKolor = 0;
  bool zmianaSkoku = false;      // pitch changed: take a new cell width
  bool wlasneOdstepy = false;    // custom line spacing (ESC "3")
};

// Page measures in printer pixels.
struct MiaryStrony {
  float x = 0;                 // left edge of the next cell
  float y = 0;                 // baseline of the current line
  float szerokoscZnaku = 0;    // W: width of "W" in the current font
  float szerokoscKomorki = 0;  // cell width, taken at the last pitch change
  float wysokoscLinii = 0;     // width of "J", or what ESC "3" set
  float odstepLinii = 0;       // line gap from Odstep
  int rozdzielczosc = 216;     // D of ESC "3" and ESC "K"

  float KrokLinii() const { return odstepLinii + wysokoscLinii; }
};

// All mode flags off, colours from the style, custom line spacing off.
void ResetujTryb(TTrybyDruku& tryb, const TStylWydruku& styl);

// Chooses the slot for the current modes, applies a pending slot colour,
// sets the surface font and measures W (taking it as the cell width after a
// pitch change).
void WybierzCzcionke(TTrybyDruku& tryb, const TStylWydruku& styl, platform::Surface& drukarka, MiaryStrony& miary);

}  // namespace zuvprint
