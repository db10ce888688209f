// The code image: the symbol from zxing-cpp, its enlargement by whole pixels
// per module, the caption, and where the image goes on the page.
#include "ksef/qr_symbol.h"

#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include "page_spy.h"

namespace zuvprint::testing {
namespace {

constexpr const char* kLink =
    "https://qr-test.ksef.mf.gov.pl/invoice/8982143767/15-12-2026/-JcbH0VWPqGdQEdU25qcaC-pHQ0rW31GiyzRZAbY9fE";

bool Dark(const platform::Bitmap& b, int x, int y) {
  return b.rgb[(static_cast<std::size_t>(y) * b.width + x) * 3] < 128;
}

bool AllWhite(const platform::Bitmap& b, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      for (int c = 0; c < 3; ++c)
        if (b.rgb[(static_cast<std::size_t>(y) * b.width + x) * 3 + c] != 255) return false;
  return true;
}

ZXing::Result Decode(const platform::Bitmap& b) {
  return ZXing::ReadBarcode(ZXing::ImageView(b.rgb.data(), b.width, b.height, ZXing::ImageFormat::RGB),
                            ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
}

TEST(QrSymbol, TheModuleImageIsTheSymbolInsideItsQuietZone) {
  platform::Bitmap m = ObrazModulow(kLink);
  ASSERT_EQ(m.width, m.height);
  EXPECT_EQ((m.width - 2 * kStrefaCiszy - 17) % 4, 0);  // a QR version's side, 17 + 4v
  EXPECT_TRUE(AllWhite(m, 0, 0, m.width, kStrefaCiszy));
  EXPECT_TRUE(AllWhite(m, 0, 0, kStrefaCiszy, m.height));
  EXPECT_TRUE(AllWhite(m, m.width - kStrefaCiszy, 0, m.width, m.height));
  EXPECT_TRUE(AllWhite(m, 0, m.height - kStrefaCiszy, m.width, m.height));
  // The finder pattern's corner module sits just inside the quiet zone.
  EXPECT_TRUE(Dark(m, kStrefaCiszy, kStrefaCiszy));
  ZXing::Result r = Decode(m);
  ASSERT_TRUE(r.isValid());
  EXPECT_EQ(r.text(), kLink);
  EXPECT_EQ(r.ecLevel(), "L");
}

TEST(QrSymbol, DataThatNoVersionHoldsGivesTheQuietZoneAlone) {
  platform::Bitmap m = ObrazModulow(std::string(3000, 'A') + std::string(3000, 'z'));
  EXPECT_EQ(m.width, 8);
  EXPECT_EQ(m.height, 8);
  EXPECT_TRUE(AllWhite(m, 0, 0, 8, 8));
}

TEST(QrSymbol, MeasuresOfTheCodeImage) {
  struct Case {
    int S, b, D;
  } cases[] = {{300, 30, 270}, {9, 0, 9}, {10, 1, 9}, {1, 0, 1}, {599, 59, 540}};
  for (const auto& c : cases) {
    UkladKodu u = UkladKoduQR(c.S);
    EXPECT_EQ(u.b, c.b) << c.S;
    EXPECT_EQ(u.D, c.D) << c.S;
  }
  EXPECT_EQ(RozmiarPodpisu("OFFLINE", 30), 16);
  EXPECT_EQ(RozmiarPodpisu("CERTYFIKAT", 30), 16);
  EXPECT_EQ(RozmiarPodpisu("8982143767-20261215-0100A0B1C2D3-5F", 30), 10);
  EXPECT_EQ(RozmiarPodpisu(std::string(26, 'x'), 30), 16);
  EXPECT_EQ(RozmiarPodpisu(std::string(27, 'x'), 30), 10);
  EXPECT_EQ(RozmiarPodpisu("ŁĘG-" + std::string(22, 'x'), 30), 16);  // 26 characters, more bytes
  PolozeniePodpisu p = PolozeniePodpisuQR(UkladKoduQR(300), 70);
  EXPECT_EQ(p.left, 100);
  EXPECT_EQ(p.top, 255);  // 270 + 15 - 30
  EXPECT_EQ(PolozeniePodpisuQR(UkladKoduQR(300), 300).left, -15);  // wider than the image: cut off
}

TEST(QrSymbol, EnlargesByWholePixelsAndLeavesTheRestWhite) {
  // A version 2 symbol: 25 modules, 33 with the quiet zone; S = 300 gives
  // D = 270, k = 8 and a white strip of 6 pixels right and below.
  platform::Bitmap m = ObrazModulow("https://qr.ksef.mf.gov.pl/x");
  ASSERT_EQ(m.width, 33);
  platform::Bitmap code = ZlozObrazQR(m, 300, "OFFLINE");
  ASSERT_EQ(code.width, 270);
  ASSERT_EQ(code.height, 300);
  for (int y = 0; y < 255; ++y)  // down to the caption's top
    for (int x = 0; x < 264; ++x) ASSERT_EQ(Dark(code, x, y), Dark(m, x / 8, y / 8)) << x << "," << y;
  EXPECT_TRUE(AllWhite(code, 264, 0, 270, 255));
  // The caption is written from row 255 on, centred, black on white.
  bool captionInk = false;
  for (int y = 255; y < 300; ++y)
    for (int x = 0; x < 270; ++x) captionInk = captionInk || Dark(code, x, y);
  EXPECT_TRUE(captionInk);
  EXPECT_TRUE(AllWhite(code, 0, 255, 60, 300));
  EXPECT_TRUE(AllWhite(code, 210, 255, 270, 300));
  ZXing::Result r = Decode(code);
  ASSERT_TRUE(r.isValid());
  EXPECT_EQ(r.ecLevel(), "L");
}

TEST(QrSymbol, TooSmallForOnePixelAModuleGivesABlankSymbol) {
  platform::Bitmap m = ObrazModulow(kLink);
  const int S = m.width;  // D = S - S div 10 < M: k = 0
  platform::Bitmap code = ZlozObrazQR(m, S, "OFFLINE");
  ASSERT_LT(code.width, m.width);
  EXPECT_TRUE(AllWhite(code, 0, 0, code.width, code.width + S / 20 - S / 10));
}

TEST(QrSymbol, BelowTenPixelsTheSymbolFillsTheImage) {
  platform::Bitmap m = ObrazModulow("A");
  platform::Bitmap code = ZlozObrazQR(m, 9, "OFFLINE");
  EXPECT_EQ(code.width, 9);
  EXPECT_EQ(code.height, 9);
}

TEST(QrSymbol, GoesOnThePageAtItsPlaceUncutAndUnscaled) {
  PageSpy page;
  std::vector<std::string> messages;
  KontekstQR k{page, [&](const std::string& t) { messages.push_back(t); }, [] { return false; }};
  RysujQR(k, "OFFLINE", kLink, 100.75f, 2000.5f, 589.9f);
  ASSERT_EQ(page.images.size(), 1u);
  const auto& image = page.images[0];
  EXPECT_EQ(image.bitmap.height, 589);
  EXPECT_EQ(image.bitmap.width, 531);
  EXPECT_EQ(image.dest.left, 100);
  EXPECT_EQ(image.dest.top, 2000);
  EXPECT_EQ(image.dest.right, 631);   // trunc(531 + 100.75)
  EXPECT_EQ(image.dest.bottom, 2589);  // trunc(589 + 2000.5)
  EXPECT_EQ(image.source.right, 531);
  EXPECT_EQ(image.source.bottom, 589);
  EXPECT_TRUE(messages.empty());
  ZXing::Result r = Decode(image.bitmap);
  ASSERT_TRUE(r.isValid());
  EXPECT_EQ(r.text(), kLink);
}

TEST(QrSymbol, AnImageThatCannotBeMadeIsReportedAndLeftOut) {
  PageSpy page;
  std::vector<std::string> messages;
  KontekstQR k{page, [&](const std::string& t) { messages.push_back(t); }, [] { return false; }};
  for (float H : {0.0f, 0.9f, -50.0f, 1e9f}) RysujQR(k, "CERTYFIKAT", kLink, 0, 0, H);
  EXPECT_TRUE(page.images.empty());
  EXPECT_EQ(messages, std::vector<std::string>(4, "Błąd towrzenia kodu QR CERTYFIKAT"));
}

}  // namespace
}  // namespace zuvprint::testing
