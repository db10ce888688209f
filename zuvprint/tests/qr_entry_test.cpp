// The marker line and its settings file: what is read, where the codes go,
// what happens to the line.
#include "ksef/qr_entry.h"

#include <gtest/gtest.h>

#include "ksef/crypto.h"
#include "ksef/qr_settings.h"
#include "openssl_tool.h"
#include "qr_fixture.h"
#include "test_helpers.h"

namespace zuvprint::testing {
namespace {

// W 50, line height 50, gap 1 mm: one line step is 600 / 25.4 + 50 pixels.
const MiaryQR kMiary{50, 50, 1};
const double kKrok = 600 * 1.0 / 25.4 + 50;

class QrEntry : public QrFixture {
 protected:
  std::string ini = (dir / "qr.ini").string();

  void SetUp() override {
    dir.Write("f.xml", "<Faktura/>");
    MakeKeyAndCertificate((dir / "k.pem").string(), "h", "EC");
  }

  // Settings of an invoice of the test environment (serial in the file).
  void Settings(const std::string& nrKSeF, const std::string& extra = "") {
    dir.Write("qr.ini", "[DaneGlowne]\r\nSrodowisko=Testowe\r\nPlikXML=" + (dir / "f.xml").string() +
                            "\r\nNIPSprz=8982143767\r\n[QR1]\r\nNrKSeF=" + nrKSeF +
                            "\r\nDataWyst=2026-12-15\r\n[QR2]\r\nTypIdentKontekstu=NIP\r\nIdentKontekstu=1\r\n"
                            "NrSerCertKSeF=0A\r\nPrivKey=" + (dir / "k.pem").string() + "\r\nHaslo=" +
                            ZakodujHaslo("h") + "\r\n" + extra);
  }

  std::string Insert(std::string line, float y = 1000) {
    WstawKodyQR(k, line, ini, y, kMiary);
    return line;
  }
};

TEST(QrSize, WholeNumbersAsTheHostWritesThem) {
  struct Case {
    const char* text;
    std::optional<int> value;
  } cases[] = {{"8", 8},        {"+8", 8},         {"-3", -3},       {"007", 7},          {"$1F", 31},
               {"0x10", 16},    {"0X10", 16},      {"2147483647", INT32_MAX},             {"-2147483648", INT32_MIN},
               {"2147483648", {}}, {"8a", {}},     {"a", {}},        {"", {}},            {"-", {}},
               {"8.5", {}},     {"+-8", {}},       {"$", {}},        {"$-1", {}},         {"1e3", {}},
               {"$FFFFFFFF", -1}, {"x10", 16},     {"X1f", 31},      {"$100000000", {}}, {"-$10", -16}};
  for (const auto& c : cases) EXPECT_EQ(LiczbaCalkowita(c.text), c.value) << c.text;
}

TEST_F(QrEntry, TheSizeBetweenTheParentheses) {
  Settings("NR-1");
  struct Case {
    std::string line;
    std::size_t codes;
  } cases[] = {
      {"%%QRKody(8)", 1},        {"%%QRKody ( 8 ) tail", 1}, {"%%QRKody(8)x(3)", 1},
      {"%%QRKody", 0},           {"%%QRKody 8", 0},          {"%%QRKody(0)", 0},
      {"%%QRKody(-2)", 0},       {"%%QRKody(8", 0},          {"%%QRKody()", 0},
      {"%%QRKody)8(", 0},
  };
  for (const auto& c : cases) {
    page.images.clear();
    EXPECT_EQ(Insert(c.line), "") << c.line;  // the line is emptied whenever the settings were read
    EXPECT_EQ(page.images.size(), c.codes) << c.line;
  }
  for (const std::string bad : {"%%QRKody(osiem)", "%%QRKody(8.0)"})
    EXPECT_EQ(ErrorOf([&] { Insert(bad); }).find("Niepoprawny rozmiar kodów QR"), 0u) << bad;
}

TEST_F(QrEntry, CodesHangFromTheBaselineAtTheMarkersColumn) {
  Settings("");  // offline: both codes
  EXPECT_EQ(Insert("abc %%QRKody(8) %%QRKody(2)", 1234.5f), "");
  ASSERT_EQ(page.images.size(), 2u);
  const float H = static_cast<float>(8 * kKrok);
  const int S = static_cast<int>(H), D = S - S / 10;
  const float x1 = 4 * 50.0f;  // four characters before the marker
  const float x2 = static_cast<float>(std::trunc(H / 2.0) + (x1 + static_cast<double>(H)));
  const auto& one = page.images[0].dest;
  EXPECT_EQ(one.left, 200);
  EXPECT_EQ(one.top, 1234);
  EXPECT_EQ(one.right, static_cast<int>(D + x1));
  EXPECT_EQ(one.bottom, static_cast<int>(S + 1234.5f));
  const auto& two = page.images[1].dest;
  EXPECT_EQ(two.left, static_cast<int>(x2));
  EXPECT_EQ(two.top, 1234);
  EXPECT_EQ(two.right - two.left, D);
}

TEST_F(QrEntry, WithoutReadableSettingsTheLinePrintsAsText) {
  const std::string line = "x %%QRKody(8)";
  EXPECT_EQ(Insert(line), line);  // no file
  std::string empty = line;
  WstawKodyQR(k, empty, "", 0, kMiary);
  EXPECT_EQ(empty, line);
  std::filesystem::create_directory(dir / "qr.ini");  // there, but no file
  EXPECT_EQ(Insert(line), line);
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(page.images.empty());
}

TEST_F(QrEntry, TraceModeShowsTheStepsAndTheParametersOfCodeTwo) {
  Settings("");
  trace = true;
  Insert("%%QRKody(1)", 100);
  const float H = static_cast<float>(kKrok);
  char x2[32];
  std::snprintf(x2, sizeof x2, "%.15g", static_cast<double>(static_cast<float>(std::trunc(H / 2.0) + H)));
  char h[32];
  std::snprintf(h, sizeof h, "%.15g", static_cast<double>(H));
  const std::vector<std::string> expected{
      "Poczatek odczytu pliku INI\r\naPlikINI = " + ini,
      "Poczatek funkcji OdczytajINI",
      "Wywolanie wykonania kodu QR1",
      "Poprawne wywolanie funkcji ZrobQR1.",
      "Adres URL. Ok.",
      "Tworzenie skrotu SHA256 pliku.",
      "Rozpoczecie wczytywania kodu QR1.",
      "Wywolanie wykonania kodu QR2",
      std::string("Parametry:\r\npoz_x = ") + x2 + "\r\npoz_y = 100\r\nWys. = " + h +
          "\r\nSrodowisko: Testowe\r\nTypIdKontekstu: NIP\r\nIdentKontekstu: 1\r\nNIPSprz = 8982143767\r\n"
          "PlikXML = " + (dir / "f.xml").string() + "\r\nNrSerCertKseF = 0A\r\n",
      "PrivKey: " + (dir / "k.pem").string(),
      "Haslo: " + ZakodujHaslo("h"),
      "Podpisanie linka certyfikatu.",
      "Wczytywanie kodu QR2.",
      "Poprawne zakonczenie tworzenia kodow QR.",
  };
  EXPECT_EQ(messages, expected);
}

TEST_F(QrEntry, AMissingValueOfCodeOneStopsCodeTwo) {
  dir.Write("qr.ini", "[DaneGlowne]\r\nSrodowisko=Testowe\r\nPlikXML=" + (dir / "f.xml").string() + "\r\n");
  EXPECT_EQ(Insert("%%QRKody(8)"), "");
  EXPECT_EQ(messages, std::vector<std::string>{"Nie określono NIP-u sprzedawcy."});
  EXPECT_TRUE(page.images.empty());
}

TEST(CertificateFile, BesideTheKeyWithItsExtensionReplaced) {
  struct Case {
    const char* key;
    const char* cert;
  } cases[] = {{"klucz.pem", "klucz.crt"},          {"/a/b/klucz.key.pem", "/a/b/klucz.key.crt"},
               {"/a.b/klucz", "/a.b/klucz.crt"},      {"C:\\A.B\\klucz", "C:\\A.B\\klucz.crt"},
               {"klucz", "klucz.crt"},                {"", ".crt"},
               {"dir/.pem", "dir/.crt"},              {"klucz.", "klucz.crt"}};
  for (const auto& c : cases) EXPECT_EQ(PlikCertyfikatu(c.key), c.cert) << c.key;
}

using QrSettings = QrFixture;

TEST_F(QrSettings, TheEnvironmentsFirstLetterChoosesWhereTheSerialComesFrom) {
  MakeKeyAndCertificate((dir / "k.pem").string(), "h", "EC");
  const std::string serial = SerialOf((dir / "k.crt").string());
  const std::string common = "[QR2]\r\nNrSerCertKSeF=FROM-FILE\r\nPrivKey=" + (dir / "k.pem").string() +
                             "\r\nSciezkaOpenSSL=openssl\r\n[DaneGlowne]\r\nSrodowisko=";
  struct Case {
    std::string srodowisko, serial;
  } cases[] = {{"Testowe", "FROM-FILE"}, {"Tak", "FROM-FILE"}, {"testowe", serial},
               {"Demo", serial},         {"", serial}};
  for (const auto& c : cases) {
    dir.Write("qr.ini", common + c.srodowisko + "\r\n");
    UstawieniaQR u;
    ASSERT_TRUE(OdczytajINI(k, (dir / "qr.ini").string(), u)) << c.srodowisko;
    EXPECT_EQ(u.nrSerCert, c.serial) << c.srodowisko;
    EXPECT_EQ(u.srodowisko, c.srodowisko);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(QrSettings, ReadingFailsWithoutTheOpensslPathItNeeds) {
  dir.Write("qr.ini", "[DaneGlowne]\r\nSrodowisko=Demo\r\n[QR2]\r\nNrSerCertKSeF=0A\r\n");
  UstawieniaQR u;
  EXPECT_FALSE(OdczytajINI(k, (dir / "qr.ini").string(), u));
  EXPECT_FALSE(OdczytajINI(k, (dir / "missing.ini").string(), u));
  EXPECT_TRUE(messages.empty());
  // A failed openssl run ends the codes with its message.
  dir.Write("qr.ini", "[DaneGlowne]\r\nSrodowisko=Demo\r\n[QR2]\r\nSciezkaOpenSSL=openssl\r\nPrivKey=" +
                          (dir / "none.pem").string() + "\r\n");
  EXPECT_EQ(ErrorOf([&] { OdczytajINI(k, (dir / "qr.ini").string(), u); }).rfind("OpenSSL exit code: ", 0), 0u);
}

TEST_F(QrSettings, ValuesAreReadAsTheHostWroteThem) {
  // Quotes and outer blanks removed by the profile reader; a text in code
  // page 852 (0xA5 0x86: "ąć") becomes UTF-8; paths keep their bytes.
  dir.Write("qr.ini",
            "[DaneGlowne]\r\nSrodowisko = \"Testowe\" \r\nPlikXML=/x/\xA5.xml\r\n[QR1]\r\nNrKSeF=\xA5\x86\r\n"
            "DataWyst=Źle\r\n[QR2]\r\nHaslo=abc=\r\n");
  UstawieniaQR u;
  ASSERT_TRUE(OdczytajINI(k, (dir / "qr.ini").string(), u));
  EXPECT_EQ(u.srodowisko, "Testowe");
  EXPECT_EQ(u.plikXML, "/x/\xA5.xml");
  EXPECT_EQ(u.nrKSeF, "ąć");
  EXPECT_EQ(u.dataWyst, "Źle");
  EXPECT_EQ(u.haslo, "abc=");
  EXPECT_EQ(u.nipSprz, "");
  EXPECT_EQ(u.typIdent, "");
}

}  // namespace
}  // namespace zuvprint::testing
