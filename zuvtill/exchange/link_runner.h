// Running a link program: the program of a device found in its work
// directory below the host's current directory, run there synchronously
// through the command interpreter, and its success decided by its error
// file; a failure is copied into the device's error log and shown.
#pragma once

#include <string>
#include <string_view>

#include "device/family.h"
#include "runtime/value.h"

namespace zuvtill::exchange {

// The variant whose exchange files lie in "FISK\MERA30".
inline constexpr std::string_view kMer30 = "MER30";
// The variant as the jobs take it: exactly "MER30", or "".
std::string Variant(const runtime::Value& argument);

// The link program's file name: for a data collector the collector
// module's answer, otherwise the family's program ("ELZABDR.EXE",
// "POSNETDR.EXE", or "" for another family).
std::string LinkProgramName(std::string_view deviceSymbol, double collectorNumber, const runtime::Value& collectorKind);

// The start of the fiscal printer's link command line for a job code:
// "ELZABDR.EXE 4 1 9600 25" (program, job, port, speed, the family's tail).
std::string LinkCommand(std::string_view jobCode);

struct LinkRun {
  std::string commandLine{};   // after "/C "
  std::string programName{};   // "" for the device's own
  std::string errorSymbol{};   // "" for the device symbol
  std::string deviceSymbol = std::string(device::kFiscalPrinter);
  double collectorNumber = 1;
  std::string variant{};       // "MER30" or ""
  double collectorKind = 1;  // 8: the collector's second work directory
};

// Runs the job; true when the program was started and reported no error.
// The current directory, the cursor and the screen are the host's again
// when it returns, on every path.
bool RunLink(const LinkRun& run);

}  // namespace zuvtill::exchange
