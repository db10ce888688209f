// QR Code symbols through zxing-cpp's writer.
#include "platform/qr_encoder.h"

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <stdexcept>
#include <string>

#include "platform/utf8.h"

namespace zuvprint::platform {

namespace {

// zxing-cpp rates error correction 0 to 8; for QR Code 0 to 2 mean level L.
constexpr int kLevelL = 1;

}  // namespace

QrModules EncodeQrLevelL(std::string_view text) {
  ZXing::BitMatrix symbol;
  try {
    ZXing::MultiFormatWriter writer(ZXing::BarcodeFormat::QRCode);
    writer.setEccLevel(kLevelL).setMargin(0);
    if (IsAscii(text)) {
      symbol = writer.encode(std::string(text), 0, 0);
    } else if (IsUtf8(text)) {
      writer.setEncoding(ZXing::CharacterSet::UTF8);
      symbol = writer.encode(std::string(text), 0, 0);
    } else {
      // zxing-cpp's UTF-8 reader drops everything from the first malformed
      // byte on; given as Latin-1 characters and no character set, the
      // bytes go into the symbol unchanged, without an ECI.
      std::wstring latin1;
      for (unsigned char c : text) latin1 += static_cast<wchar_t>(c);
      symbol = writer.encode(latin1, 0, 0);
    }
  } catch (const std::invalid_argument&) {
    return {};  // too much data for any version, or none at all
  }
  QrModules modules;
  modules.size = symbol.width();
  modules.dark.resize(static_cast<std::size_t>(modules.size) * modules.size);
  for (int r = 0; r < modules.size; ++r)
    for (int c = 0; c < modules.size; ++c)
      modules.dark[static_cast<std::size_t>(r) * modules.size + c] = symbol.get(c, r);
  return modules;
}

}  // namespace zuvprint::platform
