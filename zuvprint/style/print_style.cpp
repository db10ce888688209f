#include "style/print_style.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace zuvprint {
namespace {

using platform::ProfileReader;

constexpr const char* kFontSection = "Czcionka";
constexpr const char* kGeneralSection = "Ogolne";
constexpr const char* kPrinterSection = "Drukarka";
constexpr const char* kSecondPrinterSection = "Drukarka2";

constexpr const char* kDefaultFace = "Lucida Console";
constexpr int kCentralEuropeanCharset = 238;
constexpr std::array<int, kFontSlotCount> kDefaultSizes = {10, 9, 9, 7, 6, 12, 15, 5};

// Scaled numbers are stored in ten-thousandths.
constexpr float kScale = 10000.0f;

// Unsigned digits in the given base, nothing else (no sign, no blanks).
std::optional<std::uint64_t> ParseDigits(std::string_view digits, int base) {
  std::uint64_t value = 0;
  const char* end = digits.data() + digits.size();
  auto [stop, error] = std::from_chars(digits.data(), end, value, base);
  if (digits.empty() || error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

// The digits after a "$", "0x" or "0X" prefix, or nothing without one.
std::optional<std::string_view> HexDigits(std::string_view text) {
  if (text.starts_with('$')) return text.substr(1);
  if (text.starts_with("0x") || text.starts_with("0X")) return text.substr(2);
  return std::nullopt;
}

// Decimal with an optional sign, or hexadecimal after "$", "0x" or "0X".
// A hexadecimal number gives the 32-bit pattern it spells, so "$FFFFFFFF"
// is -1; a decimal number outside the int range is malformed.
std::optional<int> ParseInteger(std::string_view text) {
  if (auto hex = HexDigits(text)) {
    auto value = ParseDigits(*hex, 16);
    if (!value || *value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return static_cast<int>(static_cast<std::uint32_t>(*value));
  }

  bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  auto magnitude = ParseDigits(text, 10);
  if (!magnitude) return std::nullopt;
  std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<int>::min()}
                                : std::int64_t{std::numeric_limits<int>::max()};
  if (*magnitude > static_cast<std::uint64_t>(limit)) return std::nullopt;
  std::int64_t value = static_cast<std::int64_t>(*magnitude);
  return static_cast<int>(negative ? -value : value);
}

int ReadInteger(const ProfileReader& file, std::string_view section, std::string_view key,
                int current) {
  return ParseInteger(file.GetString(section, key, "")).value_or(current);
}

bool ReadBoolean(const ProfileReader& file, std::string_view section, std::string_view key,
                 bool current) {
  return ReadInteger(file, section, key, current ? 1 : 0) != 0;
}

platform::Colour ReadColour(const ProfileReader& file, std::string_view section,
                            std::string_view key, platform::Colour current) {
  return static_cast<platform::Colour>(
      ReadInteger(file, section, key, static_cast<int>(current)));
}

float FromTenThousandths(double tenThousandths) {
  return static_cast<float>(tenThousandths / double{kScale});
}

// A missing key answers the current value truncated to ten-thousandths, as
// if it had been written back and read again. The truncation stays in float
// so that an out-of-range current value cannot overflow an int.
float ReadScaled(const ProfileReader& file, std::string_view section, std::string_view key,
                 float current) {
  if (auto stored = ParseInteger(file.GetString(section, key, ""))) {
    return FromTenThousandths(*stored);
  }
  return FromTenThousandths(std::trunc(current * kScale));
}

std::string ReadText(const ProfileReader& file, std::string_view section, std::string_view key,
                     const std::string& current) {
  return file.GetString(section, key, current);
}

std::string SlotKey(std::string_view prefix, int slot) {
  return std::string(prefix) + kFontSlotNames[slot];
}

}  // namespace

void UstawStylDomyslny(TStylWydruku& styl) {
  styl = TStylWydruku{};
  styl.faces.fill(kDefaultFace);
  styl.charsets.fill(kCentralEuropeanCharset);
  styl.sizes = kDefaultSizes;
  styl.colours.fill(0);
  styl.odstep = 2.0f;
  styl.grubosc = 2;
  styl.marginesGorny = 0.0f;
  styl.podkreslenie = 2;
  styl.odstPodkreslenie = 20;
  styl.przerwa = 3;
  styl.ramkaKolor = 0;
  styl.orientacja = 0;
  styl.liniiNaCal = 0;
  styl.tlo = "Brak";
  styl.logo = "Brak";
  styl.logoX = 0.0f;
  styl.logoY = 0.0f;
  styl.logoZoom = 1.0f;
  styl.pojedynczo = false;
  styl.nazwa.clear();
  styl.nazwa2.clear();
}

void CzytajStyl(TStylWydruku& styl, const std::string& path) {
  CzytajStyl(styl, ProfileReader::FromFile(path));
}

void CzytajStyl(TStylWydruku& styl, const ProfileReader& file) {
  for (int slot = 0; slot < kFontSlotCount; ++slot) {
    styl.faces[slot] = ReadText(file, kFontSection, SlotKey("N", slot), styl.faces[slot]);
    styl.sizes[slot] = ReadInteger(file, kFontSection, SlotKey("S", slot), styl.sizes[slot]);
    styl.charsets[slot] =
        ReadInteger(file, kFontSection, SlotKey("C", slot), styl.charsets[slot]);
    styl.colours[slot] = ReadColour(file, kFontSection, SlotKey("Col", slot), styl.colours[slot]);
  }

  const char* g = kGeneralSection;
  styl.odstep = ReadScaled(file, g, "Odstep", styl.odstep);
  styl.grubosc = ReadInteger(file, g, "Grubosc", styl.grubosc);
  styl.podkreslenie = ReadInteger(file, g, "Podkreslenie", styl.podkreslenie);
  styl.marginesGorny = ReadScaled(file, g, "MarginesGorny", styl.marginesGorny);
  styl.przerwa = ReadInteger(file, g, "Przerwa", styl.przerwa);
  styl.odstPodkreslenie = ReadInteger(file, g, "Odstpodkreslenie", styl.odstPodkreslenie);
  styl.ramkaKolor = ReadColour(file, g, "RamkaKolor", styl.ramkaKolor);
  styl.orientacja = ReadInteger(file, g, "Orientacja", styl.orientacja);
  styl.liniiNaCal = ReadInteger(file, g, "LiniiNaCal", styl.liniiNaCal);
  styl.pojedynczo = ReadBoolean(file, g, "Pojedynczo", styl.pojedynczo);
  styl.tlo = ReadText(file, g, "Tlo", styl.tlo);
  styl.logo = ReadText(file, g, "Logo", styl.logo);
  styl.logoX = ReadScaled(file, g, "LogoX", styl.logoX);
  styl.logoY = ReadScaled(file, g, "LogoY", styl.logoY);
  styl.logoZoom = ReadScaled(file, g, "LogoZoom", styl.logoZoom);

  // The printer names do not keep what was there: no name means the
  // default printer.
  styl.nazwa = file.GetString(kPrinterSection, "Nazwa", "");
  styl.nazwa2 = file.GetString(kSecondPrinterSection, "Nazwa", "");
}

}  // namespace zuvprint
