#include "render/print_mode.h"

namespace zuvprint {

void ResetujTryb(TTrybyDruku& tryb, const TStylWydruku& styl) {
  tryb = TTrybyDruku{};
  tryb.kolorRamki = styl.ramkaKolor;
  tryb.kolorTekstu = tryb.kolorZapisany = styl.Colour(FontSlot::Normalna);
}

namespace {

// Takes a slot's face, size and character set; when the slot's colour is
// pending, applies it (to the saved colour too when asked) and clears it.
struct WybranySlot {
  FontSlot slot = FontSlot::Normalna;

  void Wez(FontSlot s, TTrybyDruku& tryb, const TStylWydruku& styl, int oczekiwany, bool teZapisany) {
    slot = s;
    if (tryb.oczekujacyKolor == oczekiwany) {
      tryb.kolorTekstu = styl.Colour(s);
      if (teZapisany) tryb.kolorZapisany = styl.Colour(s);
      tryb.oczekujacyKolor = 0;
    }
  }
};

}  // namespace

void WybierzCzcionke(TTrybyDruku& tryb, const TStylWydruku& styl, platform::Surface& drukarka, MiaryStrony& miary) {
  WybranySlot wybor;
  if (tryb.sciesnione && tryb.elite) {
    wybor.slot = FontSlot::EliteCondensed;
    if (tryb.oczekujacyKolor == 4 || tryb.oczekujacyKolor == 5) {
      tryb.kolorTekstu = tryb.kolorZapisany = styl.Colour(FontSlot::EliteCondensed);
      tryb.oczekujacyKolor = 0;
    }
  } else if (tryb.elite) {
    wybor.Wez(FontSlot::Elite, tryb, styl, 5, true);
  } else if (tryb.pica) {
    wybor.Wez(FontSlot::Pica, tryb, styl, 6, true);
  } else if (tryb.sciesnione) {
    wybor.Wez(FontSlot::Condensed, tryb, styl, 4, true);
  }
  if (tryb.wysokie) wybor.Wez(FontSlot::High, tryb, styl, 2, false);
  if (tryb.szerokie) wybor.Wez(FontSlot::Expanded, tryb, styl, 1, false);
  if (tryb.male) wybor.Wez(FontSlot::Small, tryb, styl, 3, false);

  platform::FontSpec font{styl.Face(wybor.slot), styl.Size(wybor.slot), styl.Charset(wybor.slot), false, false,
                          tryb.kolorTekstu};
  drukarka.SelectFont(font);
  miary.szerokoscZnaku = static_cast<float>(drukarka.TextWidth(U"W"));
  if (tryb.zmianaSkoku) {
    miary.szerokoscKomorki = miary.szerokoscZnaku;
    tryb.zmianaSkoku = false;
  }
  font.bold = tryb.pogrubienie;
  font.italic = tryb.kursywa;
  drukarka.SelectFont(font);
}

}  // namespace zuvprint
