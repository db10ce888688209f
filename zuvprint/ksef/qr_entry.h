// The print file's request for the KSeF verification codes: a line holding
// "%%QRKody(N)" draws the codes of the invoice described by the QR settings
// file, N line steps high, hanging from the baseline of that line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ksef/qr_context.h"

namespace zuvprint {

constexpr std::string_view kZnacznikQR = "%%QRKody";

// The print run's measures at the marker line, printer pixels.
struct MiaryQR {
  float szerokoscZnaku = 0;  // width of "W" in the current font
  float wysokoscLinii = 0;   // line height (width of "J")
  float odstepMm = 0;        // the style's line gap in millimetres
};

// A size text as a whole number: decimal with an optional sign, or
// hexadecimal after "$", "x" or "0x" (its 32 bits: "$FFFFFFFF" is -1);
// nothing when it is none or does not fit.
std::optional<int> LiczbaCalkowita(std::string_view text);

// Handles a line that holds the marker. When the settings file at
// plikINI can be read the line is emptied (nothing of it is printed) and the
// codes are drawn: code 1 at the marker's column, and for an invoice without
// a KSeF number code 2 right of it, half a code further on. Otherwise the
// line stays as it is and prints as text. y is the marker line's baseline.
//
// Raises KsefError when the size is no whole number or the codes cannot be
// made (their XML file missing, the openssl run failed, ...).
void WstawKodyQR(const KontekstQR& k, std::string& linia, const std::string& plikINI, float y, const MiaryQR& m);

}  // namespace zuvprint
