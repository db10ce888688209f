// The openssl command-line program as an independent witness in tests:
// digests, serial numbers, test keys and signature checks made without any
// of the program's own code.
#pragma once

#include <string>
#include <vector>

namespace zuvprint::testing {

// Runs openssl with the arguments; its standard output. Fails the test
// (and answers "") when it does not exit with 0.
std::string Openssl(const std::vector<std::string>& arguments);

// SHA-256 of a file in base64url without padding.
std::string DigestBase64Url(const std::string& path);

// The serial number that openssl reads from a certificate.
std::string SerialOf(const std::string& certificate);

// Makes an encrypted private key (PKCS#8 PEM, AES-256-CBC) and a self-signed
// certificate beside it (key path with ".crt" in place of ".pem").
// algorithm: "EC" (P-256), "EC-384", "RSA" (2048 bits), "ED25519".
void MakeKeyAndCertificate(const std::string& keyPath, const std::string& password, const std::string& algorithm);

// True when signature (base64url, unpadded) is a valid signature of text
// by the certificate's key: ECDSA r||s over SHA-256 for an EC key, RSASSA-PSS
// (SHA-256, MGF1 SHA-256, 32-byte salt) for an RSA key.
bool SignatureVerifies(const std::string& text, const std::string& signature, const std::string& certificate,
                       const std::string& workDir);

}  // namespace zuvprint::testing
