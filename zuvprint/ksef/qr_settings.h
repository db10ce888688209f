// The QR settings file that the host writes for an invoice with its KSeF
// verification codes: an INI file read afresh for every marker line.
#pragma once

#include <string>

#include "ksef/qr_context.h"

namespace zuvprint {

// The settings of one invoice. Texts that go into the links are UTF-8 (a
// value that is not valid UTF-8 is read as code page 852, the host's code
// page); paths are the file's bytes, handed to the system unchanged.
struct UstawieniaQR {
  std::string srodowisko;  // DaneGlowne/Srodowisko: "Testowe", "Demo", else production
  std::string plikXML;     // DaneGlowne/PlikXML (path)
  std::string nipSprz;     // DaneGlowne/NIPSprz
  std::string nrKSeF;      // QR1/NrKSeF; empty for an invoice issued offline
  std::string dataWyst;    // QR1/DataWyst
  std::string typIdent;    // QR2/TypIdentKontekstu
  std::string ident;       // QR2/IdentKontekstu
  std::string nrSerCert;   // QR2/NrSerCertKSeF, or read from the certificate beside the key
  std::string privKey;     // QR2/PrivKey (path, or PEM text)
  std::string haslo;       // QR2/Haslo, as stored (scrambled, base64)
};

// The certificate beside a key file: the key path with its extension (from
// the last '.' behind the last '/', '\' or ':') replaced by ".crt", or
// ".crt" appended when it has none.
std::string PlikCertyfikatu(const std::string& klucz);

// Reads the file at path. When Srodowisko begins with "T" the serial number
// is NrSerCertKSeF; otherwise SciezkaOpenSSL is read instead and the serial
// number comes from the openssl program run over the certificate beside the
// key. False when there is no file, it cannot be read ("Błąd oczytu pliku
// INI" is shown) or SciezkaOpenSSL is needed and empty. Raises KsefError
// when the openssl run fails.
bool OdczytajINI(const KontekstQR& k, const std::string& path, UstawieniaQR& out);

}  // namespace zuvprint
