#include "render/sequence_actions.h"

#include <charconv>

#include "platform/files.h"
#include "run/text_utils.h"

namespace zuvprint {

namespace {

// Six hex digits RRGGBB off the front of the rest; missing pairs count 0.
platform::Colour CzytajKolor(LiniaDruku& linia) {
  std::string_view r = linia.Reszta();
  auto para = [&](std::size_t i) -> long long { return i < r.size() ? HexNaLiczbe(r.substr(i, 2)) : 0; };
  long long kolor = para(0) + 256 * para(2) + 65536 * para(4);
  linia.Usun(6);
  return static_cast<platform::Colour>(kolor);
}

// Cuts the text before the next ";" and the ";" off the rest. False, with
// nothing removed, when there is no ";".
bool WezPole(LiniaDruku& linia, std::string& pole) {
  std::string_view r = linia.Reszta();
  auto koniec = r.find(';');
  if (koniec == std::string_view::npos) return false;
  pole.assign(r.substr(0, koniec));
  linia.Usun(koniec + 1);
  return true;
}

void Logo(LiniaDruku& linia, KontekstSekwencji& k) {
  std::string pole[4];
  for (auto& p : pole)
    if (!WezPole(linia, p)) return;
  ZadanieObrazu obraz{pole[3], false};
  if (!CzytajLiczbePola(pole[0], obraz.x) || !CzytajLiczbePola(pole[1], obraz.y) ||
      !CzytajLiczbePola(pole[2], obraz.zoom))
    return;
  if (platform::FileExists(obraz.plik) && k.rysujObraz) k.rysujObraz(obraz);
}

void Tlo(LiniaDruku& linia, KontekstSekwencji& k) {
  std::string plik;
  if (!WezPole(linia, plik)) return;
  if (platform::FileExists(plik) && k.rysujObraz) k.rysujObraz(ZadanieObrazu{plik, true, 0, 0, 1});
}

// D units per inch to pixels: (n + 1) * dpi / D.
float Przesuniecie(int n, int dpi, int d) { return static_cast<float>(static_cast<double>(n + 1) * dpi / d); }

unsigned char Pierwszy(const LiniaDruku& linia) { return static_cast<unsigned char>(linia.Reszta().front()); }

}  // namespace

bool CzytajLiczbePola(std::string_view pole, float& wartosc) {
  // A decimal number may carry its sign: "+5" is five, "+-5" no number.
  if (pole.size() > 1 && pole.front() == '+' && pole[1] != '-' && pole[1] != '+') pole.remove_prefix(1);
  std::string tekst(pole);
  for (char& c : tekst)
    if (c == ',') c = '.';
  auto [end, ec] = std::from_chars(tekst.data(), tekst.data() + tekst.size(), wartosc);
  return ec == std::errc() && end == tekst.data() + tekst.size() && !tekst.empty();
}

void WykonajSekwencje(int numer, LiniaDruku& linia, KontekstSekwencji& k) {
  TTrybyDruku& t = k.tryb;
  MiaryStrony& m = k.miary;
  switch (numer) {
    case kTekstRGB: t.kolorTekstu = CzytajKolor(linia); break;
    case kRamkaRGB: t.kolorRamki = CzytajKolor(linia); break;
    case kTekstZapisany: t.kolorTekstu = t.kolorZapisany; break;
    case kRamkaStylu: t.kolorRamki = k.styl.ramkaKolor; break;
    case kLogo: Logo(linia, k); break;
    case kTlo: Tlo(linia, k); break;
    case kPogrubienieWl: t.pogrubienie = true; break;
    case kPogrubienieWyl: t.pogrubienie = false; break;
    case kPodkreslenieWl: t.podkreslenie = true; break;
    case kPodkreslenieWyl: t.podkreslenie = false; break;
    case kKursywaWl: t.kursywa = true; break;
    case kKursywaWyl: t.kursywa = false; break;
    case kSzerokieWl:
      t.szerokie = true;
      t.wysokie = t.male = false;
      t.oczekujacyKolor = 1;
      break;
    case kSzerokieWyl:
      t.szerokie = false;
      t.kolorTekstu = t.kolorZapisany;
      break;
    case kWysokieWl:
      t.wysokie = true;
      t.szerokie = t.male = false;
      t.oczekujacyKolor = 2;
      break;
    case kWysokieWyl:
      t.wysokie = false;
      t.kolorTekstu = t.kolorZapisany;
      break;
    case kMaleWl:
      t.male = true;
      t.szerokie = t.wysokie = false;
      t.oczekujacyKolor = 3;
      break;
    case kMaleWyl:
      t.male = false;
      t.kolorTekstu = t.kolorZapisany;
      break;
    case kSciesnione:
    case kSciesnioneEsc:
      t.sciesnione = true;
      t.male = t.szerokie = t.wysokie = false;
      t.zmianaSkoku = true;
      t.oczekujacyKolor = 4;
      break;
    case kElite:
      t.elite = true;
      t.pica = t.male = t.szerokie = t.wysokie = false;
      t.zmianaSkoku = true;
      t.oczekujacyKolor = 5;
      break;
    case kPica:
      t.pica = true;
      t.elite = t.male = t.szerokie = t.wysokie = false;
      t.zmianaSkoku = true;
      t.oczekujacyKolor = 6;
      break;
    case kReset:
      t.elite = t.pica = t.male = t.szerokie = t.wysokie = false;
      t.pogrubienie = t.podkreslenie = t.kursywa = false;
      t.kolorRamki = k.styl.ramkaKolor;
      t.kolorTekstu = k.styl.Colour(FontSlot::Normalna);
      t.zmianaSkoku = true;
      t.wlasneOdstepy = false;
      break;
    case kDlugoscStrony: linia.Usun(1); break;
    case kGrafikaNaroznika:
      if (!linia.Pusta()) {
        int n = Pierwszy(linia);
        linia.ZastapPoczatek(12, '\xff');
        m.x += Przesuniecie(n, k.drukarka.DpiX(), m.rozdzielczosc);
      }
      break;
    case kPominGrafike:
      if (!linia.Pusta()) {
        int n = Pierwszy(linia);
        linia.Usun(3);
        m.x += Przesuniecie(n, k.drukarka.DpiX(), m.rozdzielczosc);
      }
      break;
    case kOdstepLinii:
      if (!linia.Pusta()) {
        int n = Pierwszy(linia);
        linia.Usun(1);
        m.wysokoscLinii = static_cast<float>(static_cast<double>(k.drukarka.DpiY()) / m.rozdzielczosc * n);
        t.wlasneOdstepy = true;
      }
      break;
    case kNowaLinia:
      if (t.wlasneOdstepy) m.y += m.wysokoscLinii;
      break;
    default: break;  // ESC "x1", ESC "k" ...: no effect
  }
}

}  // namespace zuvprint
