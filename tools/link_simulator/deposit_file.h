// The deposit file "#Kaucje#": seven lines, each ended by CR LF, the last
// one too, no quoting: the header, "zmiana=", "kasjer=", "poczatek=" and
// "koniec=" with a date DD.MM.YYYY, "przyjecie=" and "wydanie=" with whole
// grosze.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zuvlink {

struct DepositSummary {
  std::string shift, cashier;  // code page 852
  std::string from, to;        // DD.MM.YYYY
  std::int64_t takenIn = 0;    // grosze received back for packaging
  std::int64_t handedOut = 0;  // grosze for packaging issued
};

// The summary of the file's bytes; a JobFailure "Wiersz N: ..." naming the
// first fault otherwise.
DepositSummary CheckDepositFile(std::string_view bytes);

}  // namespace zuvlink
