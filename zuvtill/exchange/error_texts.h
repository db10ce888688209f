// The texts of the library's exchange errors and of the system's file
// errors, the entry text of an error, and the one call that shows an error
// the device's way and appends it to the device's error log.
#pragma once

#include <string>
#include <string_view>

#include "device/family.h"

namespace zuvtill::exchange {

// The exchange errors of the file jobs.
enum ExchangeError {
  kBadErrorDescriptions = 1000,
  kErrorFileAccess = 1001,
  kInputFileWrite = 1002,
  kOutputFileRead = 1003,
  kReceiptLineWrite = 1004,
  kNoLinkProgram = 1005,
  kForbiddenCharacter = 1006,
  kWrongDevice = 1007,
  kOtherError = 2000,  // what an unknown code becomes
};

// The text of an exchange error; known is cleared for a code without one.
std::string ExchangeErrorText(double code, bool* known = nullptr);

// The text of a DOS file error code ("Pomyślnie" for 0).
std::string FileErrorText(double code);

// What DOSERROPIS adds to the file name it is given: CR LF and the code line.
std::string WithFileErrorLine(std::string fileName, double code);

// "#1005:Brak programu komunikacyjnego;detail": the error log's entry text.
std::string ErrorEntry(double code, std::string_view detail);

// Shows the error the device's way and appends its entry, stamped, to the
// device's error log in its work directory ("FISK\", or "KOLEKTOR\" /
// "KOLEKT_1\" for a data collector by its collector flag). Answers whether
// the log took the entry.
bool RecordExchangeError(double code, std::string_view detail, std::string_view deviceSymbol = device::kFiscalPrinter,
                         double collectorFlag = 0);

}  // namespace zuvtill::exchange
