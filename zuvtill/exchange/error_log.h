// The error log of a device: a file that only grows by stamped entries
// appended at its end, emptied first once it has grown beyond 500000 bytes.
#pragma once

#include <string>

#include "device/family.h"

namespace zuvtill::exchange {

inline constexpr long kErrorLogLimit = 500000;

struct LogEntry {
  // The entry text, or the path of an error file whose first line is the
  // entry text.
  std::string source;
  std::string logPath;
  bool fromFile = false;
  // An entry begins with CR LF, "==> ", the date, the time and the
  // operator, CR LF and a TAB.
  bool stamped = false;
  std::string deviceSymbol = std::string(device::kFiscalPrinter);
};

// Shows the entry text the device's way and appends the entry to the log.
// A log that does not exist is created; one that exists but does not open
// keeps its contents. Every file error is shown to the user in the file
// error box. Answers true when everything was written; a missing error
// file copies nothing and still answers true.
bool AppendToErrorLog(const LogEntry& entry);

}  // namespace zuvtill::exchange
