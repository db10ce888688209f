// The KSeF verification codes end to end: the real program prints an
// invoice, the page is rendered back with pdftoppm, the codes are read back
// with zbarimg and with zxing-cpp's reader, and the certificate code's
// signature is checked by the openssl program against the certificate.
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "ksef/crypto.h"
#include "openssl_tool.h"
#include "platform/images.h"
#include "platform/process.h"
#include "program_run.h"

namespace zuvprint::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const std::string kExamples = ZUV_EXAMPLES_DIR;
const std::string kXml = kExamples + "/ksef/faktura.xml";

// The same tests run against the Windows program under Wine. It has no
// PDF printer of its own: its PDFs come from the CUPS queue that
// ZUVPRINT_TEST_PDF_QUEUE names, whose cups-pdf writes them into
// ZUVPRINT_TEST_PDF_DIR, and its TRACE printer forwards the page to the
// default printer's PostScript, which ps2pdf turns into a PDF. Wine cannot
// hand a Linux openssl program's output to a Windows program, so the
// settings name the Windows stand-in of ZUVPRINT_TEST_OPENSSL there.
std::string Setting(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}
const std::string kPdfQueue = Setting("ZUVPRINT_TEST_PDF_QUEUE");
const std::string kOpenssl = Setting("ZUVPRINT_TEST_OPENSSL").empty() ? "openssl" : Setting("ZUVPRINT_TEST_OPENSSL");

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

class KsefPrint : public ::testing::Test {
 protected:
  ScratchDir dir;
  ProgramResult result;

  // Settings of an invoice; with an empty KSeF number both codes are drawn.
  std::string Settings(const std::string& srodowisko, const std::string& nrKSeF, const std::string& key,
                       const std::string& password, const std::string& qr2Extra, const std::string& xml = kXml) {
    return "[DaneGlowne]\r\nSrodowisko=" + srodowisko + "\r\nPlikXML=" + xml +
           "\r\nNIPSprz=8982143767\r\n[QR1]\r\nNrKSeF=" + nrKSeF +
           "\r\nDataWyst=15-12-2026\r\n[QR2]\r\nTypIdentKontekstu=nip\r\nIdentKontekstu=6570312283\r\nPrivKey=" +
           key + "\r\nHaslo=" + ZakodujHaslo(password) + "\r\n" + qr2Extra;
  }

  // Prints doc.txt with the settings file qr.ini on the given printer
  // ("PDF" or "TRACE"); the page is then in doc.pdf.
  void Print(const std::string& doc, const std::string& settings, const std::string& printer,
             const std::string& style = "") {
    dir.Write("doc.txt", doc);
    dir.Write("qr.ini", settings);
    std::map<std::string, std::string> env{{"PRINTER", printer}};
    if (!kPdfQueue.empty()) {
      if (printer == "PDF") env["PRINTER"] = kPdfQueue;
      env["CUPS_SERVER"] = Setting("CUPS_SERVER");
    }
    result = RunZuvprint(dir.Path(), {"doc.txt", style, "", "", "qr.ini"}, env);
    if (kPdfQueue.empty() || result.status != 0) return;
    if (printer == "PDF") TakeQueuedPdf();
    if (printer == "TRACE") {
      platform::ProcessResult r =
          platform::RunProcess("ps2pdf", {(dir / "doc.prn").string(), (dir / "doc.pdf").string()});
      EXPECT_EQ(r.exitCode, 0) << r.err;
    }
  }

  // Waits for the queue to finish the job and moves its PDF to doc.pdf.
  void TakeQueuedPdf() {
    const fs::path out = Setting("ZUVPRINT_TEST_PDF_DIR");
    for (int tenths = 0; tenths < 600; ++tenths) {
      const bool queueEmpty = platform::RunProcess("lpstat", {"-o", kPdfQueue}).out.empty();
      std::vector<fs::path> pdfs;
      for (const auto& entry : fs::directory_iterator(out))
        if (entry.path().extension() == ".pdf") pdfs.push_back(entry.path());
      if (queueEmpty && pdfs.size() == 1) {
        fs::rename(pdfs[0], dir / "doc.pdf");
        return;
      }
      ASSERT_LE(pdfs.size(), 1u);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    FAIL() << "no PDF from the queue " << kPdfQueue << " after 60 s";
  }

  // The codes on a page of doc.pdf, as zbarimg reads them from a 300 dpi
  // rendering, in the order it reports them (sorted here).
  std::vector<std::string> ScanPage(int page) {
    const std::string stem = (dir / "page").string();
    platform::ProcessResult r = platform::RunProcess(
        "pdftoppm", {"-f", std::to_string(page), "-l", std::to_string(page), "-r", "300", "-gray", "-singlefile",
                     (dir / "doc.pdf").string(), stem});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    r = platform::RunProcess("zbarimg", {"--raw", "-q", stem + ".pgm"});
    EXPECT_TRUE(r.exitCode == 0 || (r.exitCode == 4 && r.out.empty())) << r.err;  // 4: no code on the page
    std::vector<std::string> codes = Lines(r.out);
    std::sort(codes.begin(), codes.end());
    return codes;
  }

  // The same page read by zxing-cpp: each code's text and error correction level.
  std::set<std::pair<std::string, std::string>> ReadWithZxing(int page) {
    const std::string stem = (dir / "zx").string();
    platform::ProcessResult r = platform::RunProcess(
        "pdftoppm", {"-f", std::to_string(page), "-l", std::to_string(page), "-r", "300", "-png", "-singlefile",
                     (dir / "doc.pdf").string(), stem});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    platform::Bitmap b;
    EXPECT_EQ(platform::LoadPng(stem + ".png", b), platform::ImageLoad::Loaded);
    std::set<std::pair<std::string, std::string>> found;
    for (const auto& code : ZXing::ReadBarcodes(ZXing::ImageView(b.rgb.data(), b.width, b.height, ZXing::ImageFormat::RGB),
                                                ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode)))
      found.insert({code.text(), code.ecLevel()});
    return found;
  }

  // Checks the certificate link: signed text + "/" + a valid signature.
  void ExpectSignedCertificateLink(const std::string& link, const std::string& signedText, const std::string& cert) {
    ASSERT_EQ(link.rfind("https://" + signedText + "/", 0), 0u) << link;
    const std::string signature = link.substr(8 + signedText.size() + 1);
    EXPECT_EQ(signature.find_first_of("/+="), std::string::npos);
    EXPECT_TRUE(SignatureVerifies(signedText, signature, cert, dir.Path()));
  }

  void ExpectFilesCleanedUp() {
    EXPECT_FALSE(dir.Has("qr.ini"));
    EXPECT_FALSE(dir.Has("doc.txt"));
    for (const auto& name : dir.Names()) EXPECT_EQ(name.find(".$"), std::string::npos) << name;
  }
};

TEST_F(KsefPrint, TheSampleOfflineInvoiceCarriesBothCodesThatScanAndVerify) {
  std::ifstream sample(kExamples + "/faktura.txt", std::ios::binary);
  std::stringstream doc;
  doc << sample.rdbuf();
  const std::string key = kExamples + "/ksef/klucz-ec.pem", cert = kExamples + "/ksef/klucz-ec.crt";
  Print(doc.str(), Settings("Demo", "", key, "ZłotyŁęg-2026", "SciezkaOpenSSL=" + kOpenssl + "\r\n"), "PDF",
        kExamples + "/faktura.dpc");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  ExpectFilesCleanedUp();

  const std::string digest = DigestBase64Url(kXml);
  const std::string signedText = "qr-demo.ksef.mf.gov.pl/certificate/Nip/6570312283/8982143767/" + SerialOf(cert) +
                                 "/" + digest;
  std::vector<std::string> codes = ScanPage(3);
  ASSERT_EQ(codes.size(), 2u);
  ExpectSignedCertificateLink(codes[0], signedText, cert);
  EXPECT_EQ(codes[1], "https://qr-demo.ksef.mf.gov.pl/invoice/8982143767/15-12-2026/" + digest);
  EXPECT_EQ(ReadWithZxing(3), (std::set<std::pair<std::string, std::string>>{{codes[0], "L"}, {codes[1], "L"}}));
  EXPECT_TRUE(ScanPage(1).empty());
}

TEST_F(KsefPrint, AnRsaCertificateKeySignsWithPss) {
  const std::string key = (dir / "rsa.pem").string();
  MakeKeyAndCertificate(key, "hasło RSA", "RSA");
  const std::string serial = SerialOf((dir / "rsa.crt").string());
  Print("Faktura FV/1\r\n%%QRKody(10)\r\n", Settings("Testowe", "", key, "hasło RSA", "NrSerCertKSeF=" + serial + "\r\n"),
        "PDF");
  ASSERT_EQ(result.status, 0) << result.err;
  std::vector<std::string> codes = ScanPage(1);
  ASSERT_EQ(codes.size(), 2u);
  ExpectSignedCertificateLink(
      codes[0], "qr-test.ksef.mf.gov.pl/certificate/Nip/6570312283/8982143767/" + serial + "/" + DigestBase64Url(kXml),
      (dir / "rsa.crt").string());
}

TEST_F(KsefPrint, AnOnlineInvoiceHasCodeOneCaptionedWithItsNumber) {
  std::ifstream in(kExamples + "/ksef/qr-online.ini", std::ios::binary);
  std::stringstream settings;
  settings << in.rdbuf();
  std::string text = settings.str();
  text.replace(text.find("examples/ksef/faktura.xml"), 25, kXml);
  Print("Faktura\r\n%%QRKody(8)\r\n", text, "PDF");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ScanPage(1), std::vector<std::string>{"https://qr-test.ksef.mf.gov.pl/invoice/8982143767/15-12-2026/" +
                                                   DigestBase64Url(kXml)});
}

// The caption under code 1 is the invoice's 35-character KSeF number in
// "Arial": at every usual code size it lies whole inside the code image, as
// on Windows, instead of being cut at both edges. Each code is rendered
// back from the PDF where the draw log put it.
TEST_F(KsefPrint, TheKsefNumberCaptionFitsInsideItsCodeAtEverySize) {
  std::string doc;
  for (int lines = 4; lines <= 16; ++lines) doc += "x\r\n%%QRKody(" + std::to_string(lines) + ")\r\n\x0c\r\n";
  Print(doc, Settings("Testowe", "8982143767-20261215-0100A0B1C2D3-5F", "", "", ""), "TRACE");
  ASSERT_EQ(result.status, 0) << result.err;
  auto log = ReadDrawLog(dir / "doc.jsonl");
  auto images = Ops(log, "image");
  ASSERT_EQ(images.size(), 13u);
  const int dpi = Ops(log, "startdoc").at(0)["dpi"][1];
  for (std::size_t page = 1; page <= images.size(); ++page) {
    const json& dest = images[page - 1]["dest"];
    const int left = dest[0], top = dest[1], D = dest[2].get<int>() - left, S = dest[3].get<int>() - top;
    const int b = S / 10, margin = 20;
    // The code image with a white margin around it, at the printer's resolution.
    const std::string stem = (dir / "code").string();
    platform::ProcessResult r = platform::RunProcess(
        "pdftoppm", {"-f", std::to_string(page), "-l", std::to_string(page), "-r", std::to_string(dpi), "-gray",
                     "-aa", "no", "-x", std::to_string(left - margin), "-y", std::to_string(top - margin), "-W",
                     std::to_string(D + 2 * margin), "-H", std::to_string(S + 2 * margin), "-singlefile",
                     (dir / "doc.pdf").string(), stem});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::ifstream pgm(stem + ".pgm", std::ios::binary);
    std::string magic;
    int width, height, maxval;
    pgm >> magic >> width >> height >> maxval;
    pgm.get();
    std::vector<unsigned char> grey(static_cast<std::size_t>(width) * height);
    pgm.read(reinterpret_cast<char*>(grey.data()), static_cast<std::streamsize>(grey.size()));
    ASSERT_TRUE(pgm) << page;
    // The caption's rows: from its top (D + S/20 - b) to the image's foot.
    int inkLeft = width, inkRight = -1;
    for (int y = margin + D + S / 20 - b; y < margin + S; ++y)
      for (int x = 0; x < width; ++x)
        if (grey[static_cast<std::size_t>(y) * width + x] < 128) inkLeft = std::min(inkLeft, x), inkRight = x;
    SCOPED_TRACE("code of " + std::to_string(page + 3) + " lines, " + std::to_string(D) + " pixels wide");
    ASSERT_GE(inkRight, 0);
    // Whole inside the image, with white on both sides, and centred.
    EXPECT_GT(inkLeft, margin);
    EXPECT_LT(inkRight, margin + D - 1);
    EXPECT_LE(std::abs((inkLeft - margin) - (margin + D - 1 - inkRight)), b);
  }
}

TEST_F(KsefPrint, TheDrawLogShowsEachCodeAtItsPlace) {
  // Default style: 2 mm line gap, no top margin. The marker stands after
  // four characters of the second line: the LF of the line end before it
  // and "abc".
  Print("Faktura\r\nabc%%QRKody(5)\r\nkoniec\r\n", Settings("Testowe", "", kExamples + "/ksef/klucz-ec.pem",
                                                              "ZłotyŁęg-2026", "NrSerCertKSeF=01\r\n"),
        "TRACE");
  ASSERT_EQ(result.status, 0) << result.err;
  auto log = ReadDrawLog(dir / "doc.jsonl");
  json font = Ops(log, "font").at(0);
  const float W = font["W"], J = font["J"];
  const double dpi = Ops(log, "startdoc").at(0)["dpi"][1];
  const float step = static_cast<float>(dpi * 2.0 / 25.4) + J;  // the print run's line step
  auto lines = TextLines(log);
  ASSERT_EQ(lines.size(), 2u);  // the marker line is not printed
  EXPECT_EQ(lines[0].text, "Faktura");
  EXPECT_EQ(lines[1].text, "koniec");
  const float y = static_cast<float>(font["ascent"].get<int>()) + step;  // the marker line's baseline
  const float H = static_cast<float>(5 * (dpi * 2.0 / 25.4 + J));
  const int S = static_cast<int>(H), D = S - S / 10;
  const float x1 = 4 * W, x2 = static_cast<float>(std::trunc(H / 2.0) + (x1 + static_cast<double>(H)));
  auto images = Ops(log, "image");
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0]["dest"], json({static_cast<int>(x1), static_cast<int>(y), static_cast<int>(D + x1),
                                     static_cast<int>(S + y)}));
  EXPECT_EQ(images[0]["src"], json({D, S}));
  EXPECT_EQ(images[1]["dest"], json({static_cast<int>(x2), static_cast<int>(y), static_cast<int>(D + x2),
                                     static_cast<int>(S + y)}));
  EXPECT_EQ(lines[1].y, static_cast<int>(y + step));  // text goes on below the marker line
}

TEST_F(KsefPrint, AMarkerOnTheFirstLineOpensTheJobAndDrawsAtTheTopLine) {
  Print("%%QRKody(4)\r\nTekst\r\n", Settings("Testowe", "NR-1", "", "", ""), "TRACE");
  ASSERT_EQ(result.status, 0) << result.err;
  auto log = ReadDrawLog(dir / "doc.jsonl");
  auto images = Ops(log, "image");
  ASSERT_EQ(images.size(), 1u);
  const int ascent = Ops(log, "font").at(0)["ascent"];
  EXPECT_EQ(images[0]["dest"][0], 0);
  EXPECT_EQ(images[0]["dest"][1], ascent);
  EXPECT_EQ(CountOps(log, "startdoc"), 1);
  EXPECT_EQ(CountOps(log, "startpage"), 1);
}

TEST_F(KsefPrint, AMarkerLineWithoutSettingsPrintsAsTextWithItsSequences) {
  dir.Write("doc.txt", "\x1bLA%%QRKody(8)\r\n");
  result = RunZuvprint(dir.Path(), {"doc.txt"});
  ASSERT_EQ(result.status, 0) << result.err;
  auto log = ReadDrawLog(dir / "doc.jsonl");
  EXPECT_EQ(Ops(log, "startdoc").at(0)["orientation"], 1);  // the line's own sequence turned the job
  EXPECT_EQ(TextLines(log).at(0).text, "%%QRKody(8)");
  EXPECT_EQ(CountOps(log, "image"), 0);
}

TEST_F(KsefPrint, AnErrorThatEndsTheCodesIsShownAndTheRunStillCleansUp) {
  const std::string key = kExamples + "/ksef/klucz-ec.pem";
  const std::string keyWithoutCertificate = (dir / "bez-certyfikatu.pem").string();
  fs::copy_file(key, keyWithoutCertificate);
  struct Case {
    std::string settings, message;
  } cases[] = {
      {Settings("Testowe", "", key, "x", "NrSerCertKSeF=01\r\n", "/nonexistent/f.xml"),
       "Plik nie istnieje: /nonexistent/f.xml"},
      {Settings("Demo", "", keyWithoutCertificate, "x", "SciezkaOpenSSL=" + kOpenssl + "\r\n"),
       "OpenSSL exit code: 1"},
      {Settings("Demo", "", key, "x", "SciezkaOpenSSL=/nonexistent/openssl\r\n"), "CreateProcess failed: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    Print("Przed\r\n%%QRKody(8)\r\nPo\r\n", c.settings, "TRACE");
    EXPECT_NE(result.status, 0);
    EXPECT_EQ(result.err.rfind(c.message, 0), 0u) << result.err;
    auto log = ReadDrawLog(dir / "doc.jsonl");
    auto lines = TextLines(log);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "Przed");  // what was printed before the error reaches the printer
    EXPECT_EQ(CountOps(log, "enddoc"), 1);
    EXPECT_EQ(CountOps(log, "image"), 0);
    ExpectFilesCleanedUp();
  }
}

TEST_F(KsefPrint, AKeyThatDoesNotOpenLeavesOutCodeTwoWithAMessage) {
  Print("%%QRKody(8)\r\n", Settings("Testowe", "", kExamples + "/ksef/klucz-ec.pem", "złe hasło",
                                    "NrSerCertKSeF=01\r\n"),
        "TRACE");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err.rfind("Nie można podpisać kodu QR certyfikatu KSeF: Nie można wczytać klucza prywatnego", 0),
            0u)
      << result.err;
  EXPECT_EQ(CountOps(ReadDrawLog(dir / "doc.jsonl"), "image"), 1);
}

}  // namespace
}  // namespace zuvprint::testing
