// What a fiscal device accepts: the highest PLU number, the longest name
// (and packaging name), the characters a name may hold, and for NOVITUS
// devices their selection character; from the device kind, its model and
// the host's dictionaries FISK_SLO and FISK_URZ.
#pragma once

#include <string>
#include <string_view>

#include "runtime/value.h"

namespace zuvtill::receipt {

// The five sets of characters that devices accept in names, code page 852;
// each ends with the Polish letters.
enum class CharacterSet { kA, kB, kC, kD, kE };
const std::string& Characters(CharacterSet set);

// A POSNET model served through a POS module ("neo", "bin", ...).
bool IsPosModuleModel(std::string_view model);

struct NovitusLimits {
  double name = 0, plu = 0;
  std::string characters;  // empty for a model the library does not know
};
NovitusLimits NovitusModelLimits(std::string_view model);

struct LimitsQuery {
  std::string deviceSymbol;
  std::string novitusModel = "frg2";
  runtime::Value modelNumber{};  // 12, 13 and 15 mean something
  bool variant = false;
  std::string posModel = "     ";
  runtime::Value packagingName{};  // the caller's value; kept unless a number is read
};

struct DeviceLimits {
  double plu = 0;  // 0: no limit
  double name = 0;
  std::string characters;
  std::string selectionCharacter = ":";
  runtime::Value packagingName;
  bool packagingNameSet = false;  // false when the dictionaries did not open
};

// The limits of the query's device. The dictionaries are opened when they
// are not, and closed again; FISK_URZ's state and the selected work area
// are the caller's again afterwards.
DeviceLimits MaxPlu(const LimitsQuery& query);

}  // namespace zuvtill::receipt
