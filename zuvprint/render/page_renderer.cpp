#include "render/page_renderer.h"

#include <array>
#include <initializer_list>

namespace zuvprint {

namespace {

// Code page 852 letters converted when drawn, and their characters.
constexpr std::array<std::pair<unsigned char, char32_t>, 53> kLitery852 = {{
    {129, U'ü'}, {130, U'é'}, {132, U'ä'}, {134, U'ć'}, {136, U'ł'}, {137, U'ë'}, {141, U'Ź'}, {142, U'Ä'},
    {143, U'Ć'}, {144, U'É'}, {148, U'ö'}, {151, U'Ś'}, {152, U'ś'}, {153, U'Ö'}, {154, U'Ü'}, {155, U'Ť'},
    {156, U'ť'}, {157, U'Ł'}, {159, U'č'}, {160, U'á'}, {161, U'í'}, {162, U'ó'}, {163, U'ú'}, {164, U'Ą'},
    {165, U'ą'}, {166, U'Ž'}, {167, U'ž'}, {168, U'Ę'}, {169, U'ę'}, {171, U'ź'}, {172, U'Č'}, {181, U'Á'},
    {183, U'Ě'}, {189, U'Ż'}, {190, U'ż'}, {210, U'Ď'}, {211, U'Ë'}, {212, U'ď'}, {213, U'Ň'}, {214, U'Í'},
    {216, U'ě'}, {222, U'Ů'}, {224, U'Ó'}, {225, U'ß'}, {227, U'Ń'}, {228, U'ń'}, {229, U'ň'}, {230, U'Š'},
    {231, U'š'}, {236, U'ý'}, {237, U'Ý'}, {252, U'Ř'}, {253, U'ř'},
}};

constexpr std::array<char32_t, 256> ZbudujTablice() {
  std::array<char32_t, 256> t{};
  for (unsigned i = 0; i < 256; ++i) t[i] = i;
  for (auto [kod, znak] : kLitery852) t[kod] = znak;
  return t;
}
constexpr std::array<char32_t, 256> kZnaki = ZbudujTablice();

// Points of a box cell: the column and row coordinates a polyline uses.
enum Kol { L, R, C, Cm, Cp };  // left, right, centre, centre - g, centre + g
enum Wie { T, B, M, Mm, Mp, K };  // top, bottom, middle, middle - g, middle + g, corner foot
struct Punkt {
  Kol k;
  Wie w;
};
using Lamana = std::initializer_list<Punkt>;

struct Ramka {
  unsigned char kod;
  std::initializer_list<Lamana> linie;
};

const Ramka kRamki[] = {
    {179, {{{C, T}, {C, B}}}},
    {180, {{{C, T}, {C, B}}, {{C, M}, {L, M}}}},
    {185, {{{Cp, T}, {Cp, B}}, {{Cm, T}, {Cm, Mm}, {L, Mm}}, {{Cm, B}, {Cm, Mp}, {L, Mp}}}},
    {186, {{{Cm, T}, {Cm, B}}, {{Cp, T}, {Cp, B}}}},
    {187, {{{L, Mm}, {Cp, Mm}, {Cp, B}}, {{L, Mp}, {Cm, Mp}, {Cm, B}}}},
    {188, {{{L, Mp}, {Cp, Mp}, {Cp, T}}, {{L, Mm}, {Cm, Mm}, {Cm, T}}}},
    {191, {{{L, M}, {C, M}, {C, B}}}},
    {192, {{{C, T}, {C, M}, {R, M}}}},
    {193, {{{L, M}, {R, M}}, {{C, M}, {C, T}}}},
    {194, {{{L, M}, {R, M}}, {{C, M}, {C, B}}}},
    {195, {{{C, T}, {C, B}}, {{C, M}, {R, M}}}},
    {196, {{{L, M}, {R, M}}}},
    {197, {{{C, T}, {C, B}}, {{L, M}, {R, M}}}},
    {200, {{{Cm, T}, {Cm, Mp}, {R, Mp}}, {{Cp, T}, {Cp, Mm}, {R, Mm}}}},
    {201, {{{Cm, B}, {Cm, Mm}, {R, Mm}}, {{Cp, B}, {Cp, Mp}, {R, Mp}}}},
    {202, {{{L, Mp}, {R, Mp}}, {{L, Mm}, {Cm, Mm}, {Cm, T}}, {{R, Mm}, {Cp, Mm}, {Cp, T}}}},
    {203, {{{L, Mm}, {R, Mm}}, {{L, Mp}, {Cm, Mp}, {Cm, B}}, {{R, Mp}, {Cp, Mp}, {Cp, B}}}},
    {204, {{{Cm, T}, {Cm, B}}, {{Cp, T}, {Cp, Mm}, {R, Mm}}, {{Cp, B}, {Cp, Mp}, {R, Mp}}}},
    {205, {{{L, Mm}, {R, Mm}}, {{L, Mp}, {R, Mp}}}},
    {206, {{{L, Mm}, {Cm, Mm}, {Cm, T}}, {{Cp, T}, {Cp, Mm}, {R, Mm}}, {{R, Mp}, {Cp, Mp}, {Cp, B}}, {{Cm, B}, {Cm, Mp}, {L, Mp}}}},
    {217, {{{L, M}, {C, M}, {C, T}}}},
    {218, {{{C, B}, {C, M}, {R, M}}}},
    {255, {{{L, K}, {L, T}, {R, T}}}},
};

const std::array<const Ramka*, 256>& IndeksRamek() {
  static const std::array<const Ramka*, 256> indeks = [] {
    std::array<const Ramka*, 256> t{};
    for (const Ramka& r : kRamki) t[r.kod] = &r;
    return t;
  }();
  return indeks;
}

int Obetnij(float v) { return platform::TruncatePixels(v); }

// The cell's coordinates for one box character, each truncated separately.
struct Komorka {
  float x, y, w, h, asc, g, wysokoscLinii;

  int Kolumna(Kol k) const {
    switch (k) {
      case L: return Obetnij(x);
      case R: return Obetnij(x + w);
      case C: return Obetnij(x + w / 2);
      case Cm: return Obetnij(x + w / 2 - g);
      case Cp: return Obetnij(x + w / 2 + g);
    }
    return 0;
  }
  int Wiersz(Wie v) const {
    switch (v) {
      case T: return Obetnij(y - asc);
      case B: return Obetnij(y + h - asc);
      case M: return Obetnij(y + h / 2 - asc);
      case Mm: return Obetnij(y + h / 2 - asc - g);
      case Mp: return Obetnij(y + h / 2 - asc + g);
      case K: return Obetnij(y + wysokoscLinii - asc);
    }
    return 0;
  }
};

void RysujRamke(platform::Surface& drukarka, const Ramka& ramka, const Komorka& komorka) {
  for (const Lamana& lamana : ramka.linie) {
    bool pierwszy = true;
    for (Punkt p : lamana) {
      int px = komorka.Kolumna(p.k), py = komorka.Wiersz(p.w);
      if (pierwszy)
        drukarka.MoveTo(px, py);
      else
        drukarka.LineTo(px, py);
      pierwszy = false;
    }
  }
}

}  // namespace

char32_t ZnakDoRysowania(unsigned char kod) { return kZnaki[kod]; }

bool JestRamka(unsigned char kod) { return IndeksRamek()[kod] != nullptr; }

void RysujNapis(platform::Surface& drukarka, MiaryStrony& miary, std::string_view tekst, float y,
                const TTrybyDruku& tryb, const TStylWydruku& styl) {
  const float w = miary.szerokoscZnaku;
  const float h = miary.KrokLinii();
  const float asc = static_cast<float>(drukarka.Ascent());
  const bool mniejsza = miary.szerokoscKomorki > w;
  long long i = 0;
  for (unsigned char kod : tekst) {
    ++i;
    if (const Ramka* ramka = IndeksRamek()[kod]) {
      drukarka.SetPen(styl.grubosc, tryb.kolorRamki);
      RysujRamke(drukarka, *ramka, Komorka{miary.x, y, w, h, asc, static_cast<float>(styl.przerwa),
                                           miary.wysokoscLinii});
      if (kod != 255) miary.x += w;
    } else {
      drukarka.DrawChar(Obetnij(miary.x), Obetnij(y), ZnakDoRysowania(kod));
      miary.x += w;
    }
    if (tryb.podkreslenie) {
      drukarka.SetPen(styl.podkreslenie, tryb.kolorTekstu);
      int u = Obetnij(y + static_cast<float>(styl.odstPodkreslenie));
      const float x = miary.x;
      if (mniejsza) {
        const float k = miary.szerokoscKomorki;
        drukarka.MoveTo(Obetnij(x - i * w + (i - 1) * k), u);
        drukarka.LineTo(Obetnij(x - i * w + i * k), u);
      } else {
        drukarka.MoveTo(Obetnij(x - w), u);
        drukarka.LineTo(Obetnij(x), u);
      }
    }
  }
  if (mniejsza) miary.x += static_cast<float>(tekst.size()) * (miary.szerokoscKomorki - w);
}

}  // namespace zuvprint
