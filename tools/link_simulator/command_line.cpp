#include "command_line.h"

#include <algorithm>

#include "ascii_case.h"
#include "job_failure.h"

namespace zuvlink {
namespace {

const char* const kParameters[] = {"kod zadania", "numer portu", "prędkość transmisji", "końcówka", "nazwa pliku"};
constexpr std::size_t kParameterCount = std::size(kParameters);

std::string Parameter(std::size_t index) {
  return "Parametr " + std::to_string(index + 1) + " (" + kParameters[index] + "): ";
}

Job CheckJob(const std::string& code) {
  if (code == "3") return Job::kInformation;
  if (code == "4") return Job::kReceipt;
  if (code == "13") return Job::kDepositSummary;
  Fail(Parameter(0) + "nieznany kod zadania, znane: 3, 4, 13");
}

void CheckPort(const std::string& port) {
  if (port.find('*') != std::string::npos) Fail(Parameter(1) + "numer portu nie zmieścił się w jednym znaku (\"*\")");
  if (port.size() != 1 || port[0] < '1' || port[0] > '9') Fail(Parameter(1) + "oczekiwano jednej cyfry od 1 do 9");
}

// The speeds a serial port is opened with that fit five digits.
void CheckSpeed(const std::string& speed) {
  static const char* const kSpeeds[] = {"110",   "300",   "600",   "1200",  "2400",  "4800", "9600",
                                        "14400", "19200", "28800", "38400", "56000", "57600"};
  if (speed.find('*') != std::string::npos) {
    Fail(Parameter(2) + "prędkość nie zmieściła się w pięciu znakach (\"" + speed + "\")");
  }
  if (std::find(std::begin(kSpeeds), std::end(kSpeeds), speed) == std::end(kSpeeds)) {
    Fail(Parameter(2) + "to nie jest prędkość portu szeregowego");
  }
}

void CheckTail(const Family& family, const std::string& tail) {
  if (family.symbol == "FP600" && tail != "25") Fail(Parameter(3) + "drukarka FP600 oczekuje \"25\"");
  if (family.symbol == "DF301" && tail != "0" && tail != "1")
    Fail(Parameter(3) + "drukarka DF301 oczekuje \"0\" lub \"1\"");
}

// DOS and Windows open a device for these names, with any extension and in
// any directory: reading COM1 or AUX waits for a line that never comes.
bool IsDeviceName(std::string_view name) {
  static const char* const kDevices[] = {
      "CON",  "PRN",  "AUX",  "NUL",  "CONIN$", "CONOUT$", "CLOCK$", "COM0", "COM1", "COM2", "COM3", "COM4", "COM5",
      "COM6", "COM7", "COM8", "COM9", "LPT0",   "LPT1",    "LPT2",   "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8",
      "LPT9"};
  std::string_view stem = name.substr(0, name.find('.'));
  stem = stem.substr(0, stem.find_last_not_of(' ') + 1);
  return std::any_of(std::begin(kDevices), std::end(kDevices),
                     [&](const char* device) { return EqualIgnoringAsciiCase(stem, device); });
}

// The file lies in the current directory: a path could reach any file, and
// so could a drive ("C:A.fp6") or a device.
void CheckFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") Fail(Parameter(4) + "brak nazwy pliku");
  if (name.find_first_of("/\\:") != std::string::npos) Fail(Parameter(4) + "nazwa pliku bez ścieżki katalogu");
  if (IsDeviceName(name)) Fail(Parameter(4) + "to nazwa urządzenia, nie pliku");
}

}  // namespace

JobRequest CheckCommandLine(const Family& family, const std::vector<std::string>& arguments) {
  if (arguments.size() < kParameterCount) Fail(Parameter(arguments.size()) + "brak parametru");
  if (arguments.size() > kParameterCount) {
    Fail("Parametr " + std::to_string(kParameterCount + 1) + ": nadmiarowy; podaje się dokładnie jeden plik");
  }
  Job job = CheckJob(arguments[0]);
  CheckPort(arguments[1]);
  CheckSpeed(arguments[2]);
  CheckTail(family, arguments[3]);
  CheckFileName(arguments[4]);
  return {job, arguments[4]};
}

}  // namespace zuvlink
