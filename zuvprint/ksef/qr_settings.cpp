#include "ksef/qr_settings.h"

#include <optional>

#include "ksef/cert_serial.h"
#include "ksef/cp852.h"
#include "platform/files.h"
#include "platform/profile_reader.h"
#include "platform/utf8.h"

namespace zuvprint {
namespace {

bool JestUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();)
    if (!platform::DecodeUtf8(bytes, i)) return false;
  return true;
}

std::string TekstHosta(std::string bytes) { return JestUtf8(bytes) ? bytes : Cp852ToUtf8(bytes); }

}  // namespace

std::string PlikCertyfikatu(const std::string& klucz) {
  auto kropka = klucz.find_last_of('.');
  auto separator = klucz.find_last_of("/\\:");
  bool maRozszerzenie = kropka != std::string::npos && (separator == std::string::npos || kropka > separator);
  return (maRozszerzenie ? klucz.substr(0, kropka) : klucz) + ".crt";
}

bool OdczytajINI(const KontekstQR& k, const std::string& path, UstawieniaQR& out) {
  k.Sledz("Poczatek funkcji OdczytajINI");
  if (!platform::FileExists(path)) return false;
  std::optional<platform::ProfileReader> ini = platform::ProfileReader::FromReadableFile(path);
  if (!ini) {
    k.pokaz("Błąd oczytu pliku INI");
    return false;
  }
  auto czytaj = [&](const char* sekcja, const char* klucz) { return ini->GetString(sekcja, klucz, ""); };
  UstawieniaQR u;
  u.srodowisko = TekstHosta(czytaj("DaneGlowne", "Srodowisko"));
  u.plikXML = czytaj("DaneGlowne", "PlikXML");
  u.nipSprz = TekstHosta(czytaj("DaneGlowne", "NIPSprz"));
  u.nrKSeF = TekstHosta(czytaj("QR1", "NrKSeF"));
  u.dataWyst = TekstHosta(czytaj("QR1", "DataWyst"));
  u.typIdent = TekstHosta(czytaj("QR2", "TypIdentKontekstu"));
  u.ident = TekstHosta(czytaj("QR2", "IdentKontekstu"));
  const bool serialZPliku = u.srodowisko.starts_with('T');
  std::string sciezkaOpenSSL;
  if (serialZPliku)
    u.nrSerCert = TekstHosta(czytaj("QR2", "NrSerCertKSeF"));
  else
    sciezkaOpenSSL = czytaj("QR2", "SciezkaOpenSSL");
  u.privKey = czytaj("QR2", "PrivKey");
  u.haslo = czytaj("QR2", "Haslo");

  if (!serialZPliku) {
    if (sciezkaOpenSSL.empty()) return false;
    k.Sledz("Pobranie cert Serial z OpenSSl");
    u.nrSerCert = PobierzSerialCert(sciezkaOpenSSL, PlikCertyfikatu(u.privKey));
    k.Sledz("Zakonczono poparwnie pobranie cert Serial z OpenSSl");
  }
  out = std::move(u);
  return true;
}

}  // namespace zuvprint
