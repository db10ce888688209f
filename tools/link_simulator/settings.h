// SYMULATOR.INI in the work directory tells the simulated printer how to
// behave: UTF-8 lines "key=value", keys in any case, the first occurrence
// of a key wins, blank lines and lines starting with ';' or '#' are
// comments. The value is everything after the first '=', blanks included
// (a field of blanks is a case worth testing). An unknown key or a line
// without '=' fails the job, so that a mistyped setting cannot pass unseen.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace zuvlink {

constexpr int kInformationFields = 24;

struct Settings {
  std::optional<std::string> errorText;  // blad: fail every job with this text (UTF-8)
  std::optional<int> exitStatus;         // kod_wyjscia: do nothing, exit with it
  bool printEndMarker = false;           // koniec_wydruku=1: a failure also leaves END_TASM
  std::optional<long> paperOutAfter;     // brak_papieru_po: item lines printed before the paper ends
  std::array<std::optional<std::string>, kInformationFields> fields;  // pole1 ... pole24 (UTF-8)
  std::optional<std::string> informationFile;  // informacja: the information file's bytes come from here
};

// The settings of the file at path; all defaults when there is no such file.
Settings ReadSettings(const std::string& path);

}  // namespace zuvlink
