// The control sequences a print file may carry, in their fixed order. The
// number of a sequence is its position in the table (from 1) and also the
// tie-break when two sequences start at the same character.
#pragma once

#include <array>
#include <string_view>

namespace zuvprint {

constexpr int kLiczbaSekwencji = 36;

// Sequence numbers that code refers to by name.
enum Sekwencja : int {
  kTekstRGB = 1,       // ESC "FRGB": text colour from six hex digits
  kRamkaRGB = 2,       // ESC "PRGB": frame colour from six hex digits
  kTekstZapisany = 3,  // ESC "F@": text colour := saved colour
  kRamkaStylu = 4,     // ESC "P@": frame colour := RamkaKolor
  kPionowo = 5,        // ESC "PO": portrait for the next job
  kPoziomo = 6,        // ESC "LA": landscape for the next job
  kLogo = 7,           // ESC "LOGO" X;Y;zoom;file;
  kTlo = 8,            // ESC "TLO" file;
  kPogrubienieWl = 9,
  kPogrubienieWyl = 10,
  kPodkreslenieWl = 11,
  kPodkreslenieWyl = 12,
  kKursywaWl = 13,
  kKursywaWyl = 14,
  kSzerokieWl = 15,
  kSzerokieWyl = 16,
  kWysokieWl = 17,
  kWysokieWyl = 18,
  kMaleWl = 19,
  kMaleWyl = 20,
  kSciesnione = 21,     // SI
  kElite = 22,          // ESC "M"
  kNowaStrona = 23,     // FF
  kPica = 24,           // ESC "P"
  kReset = 25,          // ESC "@"
  kDlugoscStrony = 26,  // ESC "C" n
  kBezSkutku27 = 27,    // ESC "x1"
  kSciesnioneEsc = 28,  // ESC SI
  kBezSkutku29 = 29,
  kBezSkutku30 = 30,
  kBezSkutku31 = 31,
  kBezSkutku32 = 32,
  kGrafikaNaroznika = 33,  // ESC "K" with the twelve-character corner graphic
  kPominGrafike = 34,      // ESC "K"
  kOdstepLinii = 35,       // ESC "3" n
  kNowaLinia = 36,         // LF
};

// The characters of sequence n are kSekwencje[n - 1].
extern const std::array<std::string_view, kLiczbaSekwencji> kSekwencje;

}  // namespace zuvprint
