// The compression effort of the PDFs cairo writes.
//
// cairo deflates every PDF stream (page contents, font subsets) at zlib's
// default level, 6, and has no setting for it. A page whose text has many
// letters outside WinAnsi (ą, ę, ł, ś, ż ...) is mostly four-digit
// hexadecimal glyph numbers, on which level 6's long match search takes a
// third of the whole print. Level 4 searches far less: a 200-page file of
// such text prints in two thirds of the time, at a fifth more bytes; on a
// page with fewer such letters it is no slower and 2 to 10 % larger.
// (Levels 1 to 3 match greedily, which is slower on mixed text.)
//
// The program therefore defines zlib's deflateInit_ itself: the dynamic
// linker binds the calls of the libraries it loads (cairo's among them) to
// the program's definition first. An explicit level is left as it is; so is
// every other zlib function, deflateInit2_ among them (libpng's).
#include <zlib.h>

namespace {

constexpr int kPdfStreamLevel = 4;
constexpr int kDefaultMemLevel = 8;  // deflateInit's own

}  // namespace

extern "C" int deflateInit_(z_streamp stream, int level, const char* version, int streamSize) {
  if (level == Z_DEFAULT_COMPRESSION) level = kPdfStreamLevel;
  return deflateInit2_(stream, level, Z_DEFLATED, MAX_WBITS, kDefaultMemLevel, Z_DEFAULT_STRATEGY, version,
                       streamSize);
}
