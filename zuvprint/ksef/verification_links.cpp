#include "ksef/verification_links.h"

#include "ksef/crypto.h"
#include "ksef/qr_symbol.h"
#include "ksef/signature.h"
#include "run/text_utils.h"

namespace zuvprint {
namespace {

constexpr std::string_view kHttps = "https://";

std::string Polacz(std::initializer_list<std::string_view> segmenty) {
  std::string out;
  for (std::string_view s : segmenty) {
    if (!out.empty()) out += '/';
    out += s;
  }
  return out;
}

// The first empty value of the list shows its message; true when none is.
bool Wypelnione(const KontekstQR& k, std::initializer_list<std::pair<const std::string&, const char*>> wartosci) {
  for (const auto& [wartosc, komunikat] : wartosci)
    if (wartosc.empty()) {
      k.pokaz(komunikat);
      return false;
    }
  return true;
}

}  // namespace

std::string AdresUslugi(std::string_view srodowisko) {
  if (srodowisko == "Testowe") return "https://qr-test.ksef.mf.gov.pl";
  if (srodowisko == "Demo") return "https://qr-demo.ksef.mf.gov.pl";
  return "https://qr.ksef.mf.gov.pl";
}

std::string TypKontekstu(std::string_view typ) {
  return WielkieLitery(std::string(typ)) == "NIP" ? "Nip" : std::string(typ);
}

std::string LinkFaktury(std::string_view srodowisko, std::string_view nip, std::string_view dataWyst,
                        std::string_view skrot) {
  return Polacz({AdresUslugi(srodowisko) + "/invoice", nip, dataWyst, skrot});
}

std::string TekstDoPodpisu(std::string_view srodowisko, std::string_view typ, std::string_view ident,
                           std::string_view nip, std::string_view serial, std::string_view skrot) {
  std::string baza = AdresUslugi(srodowisko).substr(kHttps.size()) + "/certificate";
  return Polacz({baza, TypKontekstu(typ), ident, nip, serial, skrot});
}

std::string SkrotPliku(const std::string& plikXML) {
  Sha256Digest skrot = TVelKrypto().CalcSHA256File(plikXML);
  return EncodeBase64URL(std::span<const std::uint8_t>(skrot.data(), skrot.size()));
}

bool ZrobQR1(const KontekstQR& k, const std::string& srodowisko, const std::string& plikXML,
             const std::string& nrKSeF, float x, float y, float H, const std::string& nip,
             const std::string& dataWyst) {
  k.Sledz("Poprawne wywolanie funkcji ZrobQR1.");
  k.Sledz("Adres URL. Ok.");
  if (!Wypelnione(k, {{nip, "Nie określono NIP-u sprzedawcy."}, {dataWyst, "Nie określono daty sprzedaży."}}))
    return false;
  k.Sledz("Tworzenie skrotu SHA256 pliku.");
  const std::string skrot = SkrotPliku(plikXML);
  const std::string podpis = nrKSeF.empty() ? "OFFLINE" : nrKSeF;
  k.Sledz("Rozpoczecie wczytywania kodu QR1.");
  RysujQR(k, podpis, LinkFaktury(srodowisko, nip, dataWyst, skrot), x, y, H);
  return true;
}

bool ZrobQR2(const KontekstQR& k, const std::string& srodowisko, const std::string& typ,
             const std::string& ident, const std::string& nip, const std::string& plikXML,
             const std::string& serial, const std::string& klucz, const std::string& hasloZapisane, float H,
             float y, float x) {
  auto wynik = [&](bool ok) {
    k.Sledz(ok ? "Poprawne zakonczenie tworzenia kodow QR." : "BLAD !!! w trakcie tworzenia kodow QR.");
    return ok;
  };
  if (!Wypelnione(k, {{nip, "Nie określono NIP-u sprzedawcy."},
                      {typ, "Nie określono typu identyfikatora kontekstu."},
                      {ident, "Nie określono identyfikatora kontekstu."},
                      {serial, "Nie określono numeru seryjnego certyfiaktu KSeF."},
                      {klucz, "Nie określono klucza prywatnego certyfikatu KSeF."}}))
    return wynik(false);
  const std::string tekst = TekstDoPodpisu(srodowisko, typ, ident, nip, serial, SkrotPliku(plikXML));
  const std::string haslo = OdkodujHaslo(hasloZapisane);
  k.Sledz("Podpisanie linka certyfikatu.");
  const WynikPodpisu podpis = PodpiszECDSA(tekst, klucz, haslo);
  if (!podpis.podpisano) {
    k.pokaz("Nie można podpisać kodu QR certyfikatu KSeF: " + podpis.tekst);
    return wynik(false);
  }
  k.Sledz("Wczytywanie kodu QR2.");
  RysujQR(k, "CERTYFIKAT", std::string(kHttps) + tekst + "/" + podpis.tekst, x, y, H);
  return wynik(true);
}

}  // namespace zuvprint
