// The end of a file job: the exchange file, once written, is either shown
// (under the dry-run switch) or printed by the link program and deleted.
#pragma once

#include <functional>
#include <string>

namespace zuvtill::receipt {

// Where an exchange file lies: the work directory (the compositions spell it
// "fisk", the jobs that show and delete the file "FISK"), then "MERA30\"
// for the variant, then its name.
std::string ExchangeFilePath(const std::string& workDirectory, const std::string& variant, const std::string& fileName);

struct ExchangeFile {
  std::string printer;  // the dry-run notice's first line, "Drukarka: ..."
  std::string job;      // its last line, what would have been printed
  std::string jobCode;  // on the link command line
  std::string name;     // on the link command line
  std::string variant;  // "MER30" or ""
};

// Under the dry-run switch: the notice and the viewer, the file kept, 0.
// Otherwise the link program's run (afterFailure when it failed), the file
// deleted when it is there, and 0 when it was printed, else -2. The file
// lies in "FISK", below it in "MERA30" for the variant.
double PrintExchangeFile(const ExchangeFile& file, const std::function<void()>& afterFailure = {});

}  // namespace zuvtill::receipt
