// The serial number of the KSeF certificate, as the openssl command-line
// program prints it ("serial=..." of `openssl x509 -serial`).
#pragma once

#include <string>
#include <string_view>

#include "ksef/crypto.h"

namespace zuvprint {

// Runs the openssl program SciezkaOpenSSL (a path, bytes; a name without
// '/' is looked up in PATH) directly, with no shell, as
//   SciezkaOpenSSL x509 -in <certPath> -noout -serial
// in the caller's environment and current directory, with its standard
// output and standard error read through pipes up to its end, and answers
// SerialZWyjsciaOpenSSL of what it wrote (standard output, then standard
// error): the serial number, ASCII as openssl writes it, or the empty text
// when the output holds no "serial=".
//
// Raises KsefError:
//   "CreatePipe failed"                     the pipes cannot be made;
//   "CreateProcess failed: <system text>"   the program cannot be started
//       (for instance "CreateProcess failed: No such file or directory");
//   "OpenSSL exit code: <n>"                the program ended with a code other
//       than 0 (n is 128 + the signal number when a signal ended it), even
//       when it printed a serial;
//   "Błąd odczytu wyjścia OpenSSL: <system text>" reading its output or
//       waiting for its end failed;
//   "Zbyt długie wyjście OpenSSL"           it wrote more than 1 MiB (it is
//       then stopped: a runaway program cannot exhaust memory).
std::string PobierzSerialCert(const std::string& SciezkaOpenSSL, const std::string& certPath);

// The serial number in openssl's output (bytes; openssl's text is ASCII):
// the first "serial=" is looked for without regard to letter case, and the
// answer is the rest of its line (up to CR, LF or the end), in the letter
// case of the output, with characters up to U+0020 (blanks, control
// characters) removed at both ends. The empty text when there is no
// "serial=".
std::string SerialZWyjsciaOpenSSL(std::string_view output);

}  // namespace zuvprint
