// The QR marker line and its size text, with a readable settings file of an
// invoice that has its KSeF number (code 1 only).
#include "fuzz_support.h"
#include "ksef/crypto.h"
#include "ksef/qr_entry.h"
#include "page_spy.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zuvprint;
  static const std::string ini = [] {
    const std::string xml = (fuzzing::ScratchDirectory() / "f.xml").string();
    fuzzing::WriteInput("f.xml", reinterpret_cast<const std::uint8_t*>("<Faktura/>"), 10);
    const std::string text = "[DaneGlowne]\r\nSrodowisko=Testowe\r\nPlikXML=" + xml +
                             "\r\nNIPSprz=1\r\n[QR1]\r\nNrKSeF=NR-1\r\nDataWyst=2026-12-15\r\n";
    return fuzzing::WriteInput("qr.ini", reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  }();
  std::string linia(reinterpret_cast<const char*>(data), size);
  LiczbaCalkowita(linia);
  testing::PageSpy page;
  KontekstQR k{page, [](const std::string&) {}, [] { return false; }};
  const std::string before = linia;
  try {
    WstawKodyQR(k, linia, ini, 1000, MiaryQR{50, 50, 1});
  } catch (const KsefError&) {
    return 0;  // a size that is no whole number: reported by the print run
  }
  if (!linia.empty() && linia != before) std::abort();  // emptied or left alone, nothing else
  for (const auto& image : page.images)
    if (image.bitmap.rgb.size() != static_cast<std::size_t>(image.bitmap.width) * image.bitmap.height * 3 ||
        image.dest.right - image.dest.left != image.bitmap.width)
      std::abort();
  return 0;
}
