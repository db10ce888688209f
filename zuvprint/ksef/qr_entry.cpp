#include "ksef/qr_entry.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "ksef/crypto.h"
#include "ksef/qr_settings.h"
#include "ksef/verification_links.h"
#include "platform/files.h"

namespace zuvprint {
namespace {

// A number in the trace messages: 15 significant digits, as the host's
// float text shows a single-precision value.
std::string Liczba(float v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.15g", static_cast<double>(v));
  return buf;
}

std::string BezSpacji(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != ' ') out += c;
  return out;
}

}  // namespace

std::optional<int> LiczbaCalkowita(std::string_view text) {
  bool ujemna = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    ujemna = text[0] == '-';
    text.remove_prefix(1);
  }
  int podstawa = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    podstawa = 16, text.remove_prefix(2);
  } else if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
    podstawa = 16, text.remove_prefix(1);
  }
  if (text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
  long long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, podstawa);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (podstawa == 16) {
    // Hexadecimal sets the 32 bits themselves: $FFFFFFFF is -1.
    if (value > 0xFFFFFFFFLL) return std::nullopt;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }
  if (ujemna) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int>(value);
}

void WstawKodyQR(const KontekstQR& k, std::string& linia, const std::string& plikINI, float y, const MiaryQR& m) {
  k.Sledz("Poczatek odczytu pliku INI\r\naPlikINI = " + plikINI);
  UstawieniaQR u;
  if (plikINI.empty() || !platform::FileExists(plikINI) || !OdczytajINI(k, plikINI, u)) {
    k.Sledz("Brak pliku aPlikIni: " + plikINI);
    return;
  }
  const auto p = linia.find(kZnacznikQR);
  if (p == std::string::npos) return;
  const std::string reszta = BezSpacji(std::string_view(linia).substr(p + kZnacznikQR.size()));
  linia.clear();

  const auto nawias = reszta.find('(');
  if (nawias == std::string::npos) return;
  const auto zamkniecie = reszta.find(')', nawias + 1);
  const std::string rozmiar = zamkniecie == std::string::npos ? "" : reszta.substr(nawias + 1, zamkniecie - nawias - 1);
  int N = 0;
  if (!rozmiar.empty()) {
    auto liczba = LiczbaCalkowita(rozmiar);
    if (!liczba) throw KsefError("Niepoprawny rozmiar kodów QR: '" + rozmiar + "' nie jest liczbą całkowitą");
    N = *liczba;
  }
  if (N <= 0) return;
  if (k.otworzStrone) y = k.otworzStrone(y);

  // N line steps as they stand now; worked out in double and kept in float,
  // like the print run's own positions.
  const float H = static_cast<float>(
      N * (k.drukarka.DpiY() * static_cast<double>(m.odstepMm) / 25.4 + static_cast<double>(m.wysokoscLinii)));
  const float x1 = static_cast<float>(static_cast<double>(p) * m.szerokoscZnaku);

  k.Sledz("Wywolanie wykonania kodu QR1");
  if (!ZrobQR1(k, u.srodowisko, u.plikXML, u.nrKSeF, x1, y, H, u.nipSprz, u.dataWyst) || !u.nrKSeF.empty())
    return;

  const float x2 = static_cast<float>(std::trunc(H / 2.0) + (static_cast<double>(x1) + H));
  k.Sledz("Wywolanie wykonania kodu QR2");
  k.Sledz("Parametry:\r\npoz_x = " + Liczba(x2) + "\r\npoz_y = " + Liczba(y) + "\r\nWys. = " + Liczba(H) +
          "\r\nSrodowisko: " + u.srodowisko + "\r\nTypIdKontekstu: " + u.typIdent + "\r\nIdentKontekstu: " +
          u.ident + "\r\nNIPSprz = " + u.nipSprz + "\r\nPlikXML = " + u.plikXML + "\r\nNrSerCertKseF = " +
          u.nrSerCert + "\r\n");
  k.Sledz("PrivKey: " + u.privKey);
  k.Sledz("Haslo: " + u.haslo);
  ZrobQR2(k, u.srodowisko, u.typIdent, u.ident, u.nipSprz, u.plikXML, u.nrSerCert, u.privKey, u.haslo, H, y, x2);
}

}  // namespace zuvprint
