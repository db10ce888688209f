// The signature that ends the certificate link of an offline invoice: made
// with the private key of the issuer's KSeF certificate over the link text.
#pragma once

#include <string>
#include <string_view>

namespace zuvprint {

// A signature in base64url without padding, or why there is none.
struct WynikPodpisu {
  bool podpisano = false;
  std::string tekst;  // the signature when podpisano, else the reason (UTF-8)
};

// Signs the UTF-8 bytes of text with the key that klucz names.
//
// klucz is the path of a PEM key file (PKCS#8, encrypted or not, or the
// traditional form with its own encryption headers), or PEM text itself
// (a value that holds "-----BEGIN"; written on one line, as a settings file
// holds it, its body is read between the armour lines). haslo is the key's
// password in clear (UTF-8), handed to the key decryption unchanged.
//
//   EC key:   ECDSA over SHA-256, written as r followed by s, each padded to
//             the size of the curve's order (64 bytes for P-256);
//   RSA key:  RSASSA-PSS, SHA-256, MGF1 with SHA-256, a salt of 32 bytes.
//
// Never raises for a bad key, a wrong password or a failed signing: those
// come back as a reason, so that no error text can take a signature's place.
WynikPodpisu PodpiszECDSA(std::string_view text, const std::string& klucz, const std::string& haslo);

}  // namespace zuvprint
