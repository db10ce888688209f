// The Windows build has no QR encoder yet (the Linux build's library has
// no Windows build here): a marker line ends the run with this message, and
// the run cleans up as after any ending error. The program's own encoder
// takes this file's place.
#include "platform/qr_encoder.h"
#include "platform/surface.h"

namespace zuvprint::platform {

QrModules EncodeQrLevelL(std::string_view /*text*/) {
  throw PrintError("Ta wersja programu dla Windows nie rysuje jeszcze kodów QR KSeF");
}

}  // namespace zuvprint::platform
