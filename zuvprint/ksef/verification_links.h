// The two links of the KSeF verification codes: code 1 names the invoice
// (seller, issue date, digest of its XML file); code 2, for an invoice
// issued offline, names the issuer's KSeF certificate and ends in a
// signature over the link made with the certificate's key.
//
// Texts are UTF-8, except paths, which are bytes handed to the system.
#pragma once

#include <string>
#include <string_view>

#include "ksef/qr_context.h"

namespace zuvprint {

// The verification service of the environment: exactly "Testowe" the test
// service, exactly "Demo" the demo service, anything else production.
std::string AdresUslugi(std::string_view srodowisko);

// A context identifier type that reads "NIP" in any letter case is written
// "Nip"; every other type stays as it is.
std::string TypKontekstu(std::string_view typ);

// Link 1: <service>/invoice/<NIP>/<issue date>/<digest>.
std::string LinkFaktury(std::string_view srodowisko, std::string_view nip, std::string_view dataWyst,
                        std::string_view skrot);

// What code 2's signature covers: link 2 without "https://" and without the
// signature: <host>/certificate/<type>/<identifier>/<NIP>/<serial>/<digest>.
std::string TekstDoPodpisu(std::string_view srodowisko, std::string_view typ, std::string_view ident,
                           std::string_view nip, std::string_view serial, std::string_view skrot);

// The digest segment: SHA-256 of the file in base64url (43 characters).
// Raises KsefError as TVelKrypto::CalcSHA256File does.
std::string SkrotPliku(const std::string& plikXML);

// Code 1 at x, y with height H (printer pixels). False, with a message,
// when the seller's NIP or the issue date is missing. The caption is the
// KSeF number, or "OFFLINE" when there is none. Raises KsefError when the
// XML file cannot be digested.
bool ZrobQR1(const KontekstQR& k, const std::string& srodowisko, const std::string& plikXML,
             const std::string& nrKSeF, float x, float y, float H, const std::string& nip,
             const std::string& dataWyst);

// Code 2, captioned "CERTYFIKAT". False, with a message, when a value it
// needs is missing or the link cannot be signed (no code is then drawn:
// a code without a valid signature would be taken for a valid one). The
// stored password is the settings file's scrambled form. Raises KsefError
// when the XML file cannot be digested.
bool ZrobQR2(const KontekstQR& k, const std::string& srodowisko, const std::string& typ,
             const std::string& ident, const std::string& nip, const std::string& plikXML,
             const std::string& serial, const std::string& klucz, const std::string& hasloZapisane, float H,
             float y, float x);

}  // namespace zuvprint
