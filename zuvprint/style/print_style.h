// The print style file (.dpc): which font stands in for each pitch and size
// mode of the dot-matrix printer, line spacing, margins, frames, images and
// the printers to use.
#pragma once

#include <array>
#include <string>

#include "platform/profile_reader.h"
#include "platform/surface.h"

namespace zuvprint {

// Font slots in the order the style file and the settings record keep them.
enum class FontSlot { Normalna, Elite, Pica, Condensed, EliteCondensed, Expanded, High, Small };
constexpr int kFontSlotCount = 8;

// Slot names as they appear in the key names ("N" + name, "S" + name, ...).
constexpr std::array<const char*, kFontSlotCount> kFontSlotNames = {
    "Normalna", "Elite", "Pica", "Condensed", "EliteCondensed", "Expanded", "High", "Small"};

struct TStylWydruku {
  std::array<std::string, kFontSlotCount> faces;         // N...
  std::array<int, kFontSlotCount> charsets{};            // C...
  std::array<int, kFontSlotCount> sizes{};               // S..., points
  std::array<platform::Colour, kFontSlotCount> colours{};  // Col...
  float odstep = 0;            // Odstep: line gap, mm
  int grubosc = 0;             // Grubosc: frame pen width, px
  float marginesGorny = 0;     // MarginesGorny: top margin, mm
  int podkreslenie = 0;        // Podkreslenie: underline pen width, px
  int odstPodkreslenie = 0;    // Odstpodkreslenie: underline offset, px
  int przerwa = 0;             // Przerwa: double-line distance, px
  platform::Colour ramkaKolor = 0;  // RamkaKolor
  int orientacja = 0;          // Orientacja: 0 portrait, 1 landscape, else printer's own
  int liniiNaCal = 0;          // LiniiNaCal: 0 -> D = 216, else D = 180
  std::string tlo;             // Tlo: background image file
  std::string logo;            // Logo: logo image file
  float logoX = 0, logoY = 0;  // LogoX, LogoY: mm
  float logoZoom = 0;          // LogoZoom: factor
  bool pojedynczo = false;     // Pojedynczo: one job per page
  std::string nazwa;           // [Drukarka] Nazwa
  std::string nazwa2;          // [Drukarka2] Nazwa

  const std::string& Face(FontSlot s) const { return faces[static_cast<int>(s)]; }
  int Size(FontSlot s) const { return sizes[static_cast<int>(s)]; }
  int Charset(FontSlot s) const { return charsets[static_cast<int>(s)]; }
  platform::Colour Colour(FontSlot s) const { return colours[static_cast<int>(s)]; }
};

// Puts the built-in defaults into the settings.
void UstawStylDomyslny(TStylWydruku& styl);

// Reads every key of the style file, each with the current value as its
// default, so a missing file, section or key, or a malformed number, keeps
// what was there. The printer names default to the empty text.
void CzytajStyl(TStylWydruku& styl, const std::string& path);
void CzytajStyl(TStylWydruku& styl, const platform::ProfileReader& file);

}  // namespace zuvprint
