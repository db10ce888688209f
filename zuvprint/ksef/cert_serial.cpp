#include "ksef/cert_serial.h"

#include <cstring>

#include "platform/process.h"
#include "run/text_utils.h"

namespace zuvprint {
namespace {

// openssl's answer is one short line; anything near this is a runaway.
constexpr std::size_t kOutputLimit = std::size_t{1} << 20;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string SerialZWyjsciaOpenSSL(std::string_view output) {
  constexpr std::string_view kMarker = "serial=";
  std::string lower(output);
  for (char& c : lower) c = LowerAscii(c);
  std::size_t at = lower.find(kMarker);
  if (at == std::string::npos) return "";
  std::size_t begin = at + kMarker.size();
  // The serial is the rest of the marker's line: whatever the program wrote
  // after that line (a warning on standard error, say) is no part of it.
  std::size_t end = output.find_first_of("\r\n", begin);
  if (end == std::string_view::npos) end = output.size();
  return std::string(PrzytnijBiale(output.substr(begin, end - begin)));
}

std::string PobierzSerialCert(const std::string& SciezkaOpenSSL, const std::string& certPath) {
  using platform::ProcessError;
  platform::ProcessResult run;
  try {
    run = platform::RunProcess(SciezkaOpenSSL, {"x509", "-in", certPath, "-noout", "-serial"}, kOutputLimit);
  } catch (const ProcessError& e) {
    switch (e.GetStage()) {
      case ProcessError::Stage::Pipe:
        throw KsefError("CreatePipe failed");
      case ProcessError::Stage::Start:
        throw KsefError(std::string("CreateProcess failed: ") + std::strerror(e.Error()));
      case ProcessError::Stage::OutputLimit:
        throw KsefError("Zbyt długie wyjście OpenSSL");
      case ProcessError::Stage::Read:
      case ProcessError::Stage::Wait:
        break;
    }
    throw KsefError(std::string("Błąd odczytu wyjścia OpenSSL: ") + std::strerror(e.Error()));
  }
  if (run.exitCode != 0) throw KsefError("OpenSSL exit code: " + std::to_string(static_cast<unsigned>(run.exitCode)));
  return SerialZWyjsciaOpenSSL(run.out + run.err);
}

}  // namespace zuvprint
