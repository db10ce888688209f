// What the openssl program answers to the one question the print program
// asks it, "x509 -in CERT -noout -serial", for the Windows tests: Wine
// starts a Linux openssl but keeps no handle of it, so neither its output
// nor its exit code would reach the Windows program.
//
// The certificate (PEM or DER) is read by the system's certificate store
// functions, not by any code of the print program, and the serial number is
// printed as openssl prints it: "serial=", two upper-case hexadecimal digits
// per byte from the most significant one, CR LF. A certificate that cannot
// be read gets openssl's exit code 1 and a message on standard error; other
// arguments get 2.
#include <windows.h>
#include <wincrypt.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

void Write(DWORD which, const std::string& bytes) {
  DWORD done = 0;
  ::WriteFile(::GetStdHandle(which), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
}

bool ReadAll(const wchar_t* path, std::vector<BYTE>& bytes) {
  HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BYTE buffer[4096];
  DWORD done = 0;
  bool ok = true;
  while ((ok = ::ReadFile(file, buffer, sizeof buffer, &done, nullptr)) && done > 0)
    bytes.insert(bytes.end(), buffer, buffer + done);
  ::CloseHandle(file);
  return ok;
}

// The DER bytes of a PEM certificate, or the file's bytes as they are.
std::vector<BYTE> Der(const std::vector<BYTE>& file) {
  DWORD size = 0;
  const auto* text = reinterpret_cast<const char*>(file.data());
  if (!::CryptStringToBinaryA(text, static_cast<DWORD>(file.size()), CRYPT_STRING_BASE64HEADER, nullptr, &size,
                              nullptr, nullptr))
    return file;
  std::vector<BYTE> der(size);
  ::CryptStringToBinaryA(text, static_cast<DWORD>(file.size()), CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr,
                         nullptr);
  der.resize(size);
  return der;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 6 || std::wcscmp(argv[1], L"x509") != 0 || std::wcscmp(argv[2], L"-in") != 0 ||
      std::wcscmp(argv[4], L"-noout") != 0 || std::wcscmp(argv[5], L"-serial") != 0) {
    Write(STD_ERROR_HANDLE, "usage: openssl x509 -in CERT -noout -serial\r\n");
    return 2;
  }
  std::vector<BYTE> file;
  const std::vector<BYTE> der = ReadAll(argv[3], file) ? Der(file) : std::vector<BYTE>{};
  PCCERT_CONTEXT certificate =
      der.empty() ? nullptr
                  : ::CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()));
  if (!certificate) {
    Write(STD_ERROR_HANDLE, "Could not read certificate from the file\r\n");
    return 1;
  }
  // The store keeps the serial number least significant byte first.
  const CRYPT_INTEGER_BLOB& serial = certificate->pCertInfo->SerialNumber;
  static const char kHex[] = "0123456789ABCDEF";
  std::string line = "serial=";
  for (DWORD i = serial.cbData; i-- > 0;) {
    line += kHex[serial.pbData[i] >> 4];
    line += kHex[serial.pbData[i] & 15];
  }
  ::CertFreeCertificateContext(certificate);
  Write(STD_OUTPUT_HANDLE, line + "\r\n");
  return 0;
}
