// QR Code symbols from the program's own encoder: the Linux build's library
// has no Windows build here.
#include "platform/qr_encoder.h"

#include "platform/qr/qr_symbol_writer.h"

namespace zuvprint::platform {

QrModules EncodeQrLevelL(std::string_view text) { return qr::WriteQrSymbol(text); }

}  // namespace zuvprint::platform
