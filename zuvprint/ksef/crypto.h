// Digests, encodings and key material of the KSeF verification codes: the
// SHA-256 digest of the invoice's XML file (TVelKrypto, over the platform's
// digest), base64 and base64url, and the key password that
// the QR settings file stores scrambled (OdkodujHaslo and its inverse).
//
// Texts are std::string. Each function says what its bytes are: file paths
// are bytes handed to the system unchanged, encoded forms are ASCII, the
// password in clear is UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zuvprint {

// An error raised on the way to the verification codes. what() is the
// system's own message, exactly (e.g. "Plik nie istnieje: faktura.xml"),
// UTF-8. Nothing on that way catches it: it ends the program.
class KsefError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using Sha256Digest = std::array<std::uint8_t, 32>;

// Digests over the platform's SHA-256 (platform/sha256.h). Making an object
// cannot fail; every object and file of a digest is released on every path.
// Not for use from two threads at once.
class TVelKrypto {
 public:
  TVelKrypto();
  ~TVelKrypto();
  TVelKrypto(const TVelKrypto&) = delete;
  TVelKrypto& operator=(const TVelKrypto&) = delete;

  // SHA-256 of the content of the file at FileName (a path, bytes). The file
  // is read in pieces of 65,536 bytes up to the first read that delivers
  // nothing.
  //
  // Raises KsefError:
  //   "Brak funkcji SHA256_* w libcrypto"       libcrypto has no SHA-256;
  //   "Plik nie istnieje: <FileName>"           no regular file is there
  //       (checked before any digest starts; a directory, a pipe or a device
  //       counts as no file, so the digest can never block or run forever);
  //   "SHA256_Init - nie zadziałał poprawnie."  (and _Update, _Final) when
  //       that step of the digest fails;
  //   "Nie można otworzyć pliku: <FileName>"    the file cannot be opened;
  //   "Błąd odczytu pliku: <FileName>"          a read fails part-way (the
  //       digest of a partly read file is never answered).
  Sha256Digest CalcSHA256File(const std::string& FileName) const;

  // SHA-256 of bytes. Raises the SHA256_* messages above.
  Sha256Digest CalcSHA256(std::span<const std::uint8_t> data) const;
  Sha256Digest CalcSHA256(std::string_view data) const;
};

// Standard base64 (alphabet with "+" and "/", "=" padding) of bytes, ASCII,
// with a CR LF between every two lines of 76 characters (none after the
// last line).
std::string EncodeBase64(std::span<const std::uint8_t> bytes);
std::string EncodeBase64(std::string_view bytes);

// base64url of bytes: the alphabet with "-" and "_" in place of "+" and "/",
// no padding, no line breaks. A SHA-256 digest gives 43 characters.
std::string EncodeBase64URL(std::span<const std::uint8_t> bytes);
std::string EncodeBase64URL(std::string_view bytes);

// The bytes of a base64 text (standard, or URL-safe for the URL form).
// Decoding never fails: characters outside the alphabet (line breaks,
// blanks, anything else) are passed over, the first "=" ends the data, and
// a last group of a single character, which cannot hold a whole byte,
// gives nothing.
std::vector<std::uint8_t> DecodeBase64ToBytes(std::string_view text);
std::vector<std::uint8_t> DecodeBase64URLToBytes(std::string_view text);

// The key password in clear from its stored form in the QR settings file
// (stored: base64 text). The bytes are unscrambled with the password key,
// read as code page 852 text and answered as UTF-8, with characters up to
// U+0020 removed at both ends. Never raises: every stored text gives some
// password (the empty text gives the empty one).
std::string OdkodujHaslo(std::string_view stored);

// The inverse, for writing QR settings files: the stored form (base64 text
// on one line, no line breaks) of a password given as UTF-8 text, such that
// OdkodujHaslo answers the password (less the characters up to U+0020 at
// its ends, which OdkodujHaslo removes). Throws std::invalid_argument when
// the password is not valid UTF-8 or holds a character that code page 852
// does not have.
std::string ZakodujHaslo(std::string_view password);

}  // namespace zuvprint
