// The two verification links: addresses, segments, the signed text, the
// checks of missing values, and the codes handed to the page.
#include "ksef/verification_links.h"

#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include "ksef/crypto.h"
#include "openssl_tool.h"
#include "qr_fixture.h"
#include "test_helpers.h"

namespace zuvprint::testing {
namespace {

const std::string kDigest43 = "-JcbH0VWPqGdQEdU25qcaC-pHQ0rW31GiyzRZAbY9fE";

std::string DecodeImage(const platform::Bitmap& b) {
  auto r = ZXing::ReadBarcode(ZXing::ImageView(b.rgb.data(), b.width, b.height, ZXing::ImageFormat::RGB),
                              ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
  return r.isValid() ? r.text() : "";
}

TEST(VerificationLinks, EnvironmentChoosesTheServiceExactly) {
  struct Case {
    const char* srodowisko;
    const char* adres;
  } cases[] = {
      {"Testowe", "https://qr-test.ksef.mf.gov.pl"}, {"Demo", "https://qr-demo.ksef.mf.gov.pl"},
      {"testowe", "https://qr.ksef.mf.gov.pl"},      {"TESTOWE", "https://qr.ksef.mf.gov.pl"},
      {"DEMO", "https://qr.ksef.mf.gov.pl"},         {"Demo ", "https://qr.ksef.mf.gov.pl"},
      {"", "https://qr.ksef.mf.gov.pl"},             {"Produkcyjne", "https://qr.ksef.mf.gov.pl"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AdresUslugi(c.srodowisko), c.adres) << c.srodowisko;
    EXPECT_EQ(LinkFaktury(c.srodowisko, "8982143767", "15-12-2026", kDigest43),
              std::string(c.adres) + "/invoice/8982143767/15-12-2026/" + kDigest43);
    EXPECT_EQ(TekstDoPodpisu(c.srodowisko, "Nip", "111", "222", "0A1B", kDigest43),
              std::string(c.adres).substr(8) + "/certificate/Nip/111/222/0A1B/" + kDigest43);
  }
}

TEST(VerificationLinks, ContextTypeNipInAnyCaseIsWrittenNip) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {{"NIP", "Nip"}, {"nip", "Nip"}, {"nIp", "Nip"}, {"Nip", "Nip"},
               {"PESEL", "PESEL"}, {"NIP ", "NIP "}, {"VatUe", "VatUe"}, {"InternalId", "InternalId"}};
  for (const auto& c : cases) {
    EXPECT_EQ(TypKontekstu(c.in), c.out) << c.in;
    EXPECT_EQ(TekstDoPodpisu("Demo", c.in, "1", "2", "3", "d"),
              std::string("qr-demo.ksef.mf.gov.pl/certificate/") + c.out + "/1/2/3/d");
  }
}

TEST(VerificationLinks, TheDigestSegmentIsTheFilesSha256InBase64Url) {
  const std::string xml = std::string(ZUV_EXAMPLES_DIR) + "/ksef/faktura.xml";
  std::string skrot = SkrotPliku(xml);
  EXPECT_EQ(skrot.size(), 43u);
  EXPECT_EQ(skrot.find_first_of("+/="), std::string::npos);
  EXPECT_EQ(skrot, DigestBase64Url(xml));
  EXPECT_EQ(ErrorOf([] { SkrotPliku("/nonexistent/faktura.xml"); }),
            "Plik nie istnieje: /nonexistent/faktura.xml");
}

class Codes : public QrFixture {
 protected:
  std::string xml = (dir / "f.xml").string();

  void SetUp() override { dir.Write("f.xml", "<Faktura/>"); }
};

TEST_F(Codes, CodeOneCarriesTheInvoiceLinkAndItsCaption) {
  for (const std::string nr : {"", "8982143767-20261215-0100A0B1C2D3-5F"}) {
    page.images.clear();
    ASSERT_TRUE(ZrobQR1(k, "Testowe", xml, nr, 10, 20, 600, "8982143767", "15-12-2026"));
    ASSERT_EQ(page.images.size(), 1u);
    EXPECT_EQ(DecodeImage(page.images[0].bitmap),
              "https://qr-test.ksef.mf.gov.pl/invoice/8982143767/15-12-2026/" + DigestBase64Url(xml));
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(Codes, CodeOneStopsAtAMissingValueWithItsMessage) {
  EXPECT_FALSE(ZrobQR1(k, "Demo", xml, "", 0, 0, 600, "", ""));
  EXPECT_FALSE(ZrobQR1(k, "Demo", xml, "", 0, 0, 600, "123", ""));
  EXPECT_EQ(messages, (std::vector<std::string>{"Nie określono NIP-u sprzedawcy.", "Nie określono daty sprzedaży."}));
  EXPECT_TRUE(page.images.empty());
  // A missing XML file is not a missing value: it ends the codes.
  EXPECT_EQ(ErrorOf([&] { ZrobQR1(k, "Demo", "brak.xml", "", 0, 0, 600, "1", "2"); }), "Plik nie istnieje: brak.xml");
}

TEST_F(Codes, TraceModeShowsEachStepOfCodeOne) {
  trace = true;
  ZrobQR1(k, "Demo", xml, "", 0, 0, 600, "1", "2");
  EXPECT_EQ(messages, (std::vector<std::string>{"Poprawne wywolanie funkcji ZrobQR1.", "Adres URL. Ok.",
                                                "Tworzenie skrotu SHA256 pliku.", "Rozpoczecie wczytywania kodu QR1."}));
}

TEST_F(Codes, CodeTwoChecksItsValuesInOrder) {
  struct Case {
    std::string nip, typ, ident, serial, klucz, message;
  } cases[] = {
      {"", "", "", "", "", "Nie określono NIP-u sprzedawcy."},
      {"1", "", "", "", "", "Nie określono typu identyfikatora kontekstu."},
      {"1", "Nip", "", "", "", "Nie określono identyfikatora kontekstu."},
      {"1", "Nip", "2", "", "", "Nie określono numeru seryjnego certyfiaktu KSeF."},
      {"1", "Nip", "2", "0A", "", "Nie określono klucza prywatnego certyfikatu KSeF."},
  };
  trace = true;
  for (const auto& c : cases) {
    messages.clear();
    EXPECT_FALSE(ZrobQR2(k, "Demo", c.typ, c.ident, c.nip, xml, c.serial, c.klucz, "", 600, 0, 0));
    EXPECT_EQ(messages, (std::vector<std::string>{c.message, "BLAD !!! w trakcie tworzenia kodow QR."}));
  }
  EXPECT_TRUE(page.images.empty());
}

TEST_F(Codes, CodeTwoIsSignedOverItsOwnLink) {
  const std::string key = (dir / "k.pem").string();
  MakeKeyAndCertificate(key, "tajne hasło", "EC");
  trace = true;
  ASSERT_TRUE(ZrobQR2(k, "Testowe", "nip", "5555555555", "8982143767", xml, "01F4", key,
                      ZakodujHaslo("tajne hasło"), 700, 30, 40));
  EXPECT_EQ(messages, (std::vector<std::string>{"Podpisanie linka certyfikatu.", "Wczytywanie kodu QR2.",
                                                "Poprawne zakonczenie tworzenia kodow QR."}));
  ASSERT_EQ(page.images.size(), 1u);
  EXPECT_EQ(page.images[0].dest.left, 40);
  EXPECT_EQ(page.images[0].dest.top, 30);
  const std::string link = DecodeImage(page.images[0].bitmap);
  const std::string signedText =
      "qr-test.ksef.mf.gov.pl/certificate/Nip/5555555555/8982143767/01F4/" + DigestBase64Url(xml);
  ASSERT_EQ(link.substr(0, 8 + signedText.size() + 1), "https://" + signedText + "/");
  EXPECT_TRUE(SignatureVerifies(signedText, link.substr(8 + signedText.size() + 1), dir / "k.crt", dir.Path()));
}

TEST_F(Codes, AKeyThatCannotSignDrawsNoCodeTwo) {
  const std::string key = (dir / "k.pem").string();
  MakeKeyAndCertificate(key, "dobre", "EC");
  EXPECT_FALSE(ZrobQR2(k, "Demo", "Nip", "1", "2", xml, "0A", key, ZakodujHaslo("złe"), 600, 0, 0));
  EXPECT_TRUE(page.images.empty());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].starts_with("Nie można podpisać kodu QR certyfikatu KSeF: Nie można wczytać klucza"))
      << messages[0];
}

}  // namespace
}  // namespace zuvprint::testing
