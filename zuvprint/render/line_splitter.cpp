#include "render/line_splitter.h"

namespace zuvprint {

void LiniaDruku::Ustaw(std::string tekst) {
  tekst_ = std::move(tekst);
  poczatek_ = 0;
  znane_.fill(false);
}

void LiniaDruku::Usun(std::size_t n) { poczatek_ = n >= tekst_.size() - poczatek_ ? tekst_.size() : poczatek_ + n; }

void LiniaDruku::ZastapPoczatek(std::size_t n, char c) {
  Usun(n);
  if (poczatek_ == 0) {
    // Nothing consumed yet to make room in: start over with a new text.
    Ustaw(std::string(1, c) + tekst_);
    return;
  }
  // The character before the rest was already consumed; reuse its place.
  // A remembered occurrence that started on that character is gone.
  tekst_[--poczatek_] = c;
  for (int k = 0; k < kLiczbaSekwencji; ++k)
    if (nastepne_[k] == poczatek_) znane_[k] = false;
}

std::size_t LiniaDruku::Nastepne(int k) {
  if (!znane_[k] || (nastepne_[k] != kBrak && nastepne_[k] < poczatek_)) {
    nastepne_[k] = std::string_view(tekst_).find(kSekwencje[k], poczatek_);
    znane_[k] = true;
  }
  return nastepne_[k];
}

bool PodzielLinie(LiniaDruku& linia, std::string_view& przed, int& numer) {
  std::size_t najblizsza = linia.poczatek_ + kZasiegSzukania - 1;  // position 99,999 counted from 1
  int znaleziona = -1;
  for (int k = 0; k < kLiczbaSekwencji; ++k) {
    std::size_t pozycja = linia.Nastepne(k);
    if (pozycja != LiniaDruku::kBrak && pozycja < najblizsza) {
      najblizsza = pozycja;
      znaleziona = k;
    }
  }
  std::string_view reszta = linia.Reszta();
  if (znaleziona < 0) {
    przed = reszta;
    numer = 0;
    linia.poczatek_ = linia.tekst_.size();
    return false;
  }
  przed = reszta.substr(0, najblizsza - linia.poczatek_);
  numer = znaleziona + 1;
  linia.poczatek_ = najblizsza + kSekwencje[znaleziona].size();
  return true;
}

}  // namespace zuvprint
