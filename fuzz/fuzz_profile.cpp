// Profile strings (style files, QR settings files) from untrusted text, and
// the style read from them.
#include "fuzz_support.h"
#include "platform/profile_reader.h"
#include "style/print_style.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zuvprint;
  auto reader = platform::ProfileReader::FromText(std::string_view(reinterpret_cast<const char*>(data), size));
  TStylWydruku styl;
  UstawStylDomyslny(styl);
  CzytajStyl(styl, reader);
  for (const char* key : {"Srodowisko", "PlikXML", "NIPSprz"})
    if (reader.GetString("DaneGlowne", key, "").size() > 2047) std::abort();
  return 0;
}
