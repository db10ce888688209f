#include "deposit_file.h"

#include <vector>

#include "amounts.h"
#include "file_lines.h"
#include "file_text.h"
#include "job_failure.h"

namespace zuvlink {
namespace {

[[noreturn]] void LineFault(std::size_t line, const std::string& what) {
  Fail("Wiersz " + std::to_string(line) + ": " + what);
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// DD.MM.YYYY of a day that exists; as YYYYMMDD for comparing.
std::optional<int> DayOf(std::string_view text) {
  if (text.size() != 10 || text[2] != '.' || text[5] != '.') return std::nullopt;
  std::optional<std::int64_t> day = ParseDigits(text.substr(0, 2), 2);
  std::optional<std::int64_t> month = ParseDigits(text.substr(3, 2), 2);
  std::optional<std::int64_t> year = ParseDigits(text.substr(6, 4), 4);
  if (!day || !month || !year || *month < 1 || *month > 12 || *year < 1) return std::nullopt;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int days = kDays[*month - 1] + (*month == 2 && IsLeapYear(static_cast<int>(*year)) ? 1 : 0);
  if (*day < 1 || *day > days) return std::nullopt;
  return static_cast<int>(*year * 10000 + *month * 100 + *day);
}

}  // namespace

DepositSummary CheckDepositFile(std::string_view bytes) {
  static const char* const kKeys[] = {
      "#Kaucje#", "zmiana=", "kasjer=", "poczatek=", "koniec=", "przyjecie=", "wydanie="};
  constexpr std::size_t kLines = std::size(kKeys);
  std::vector<FileLine> lines = SplitLines(bytes);
  std::string_view values[kLines];
  for (std::size_t i = 0; i < kLines; ++i) {
    std::size_t number = i + 1;
    std::string_view key = kKeys[i];
    if (i >= lines.size()) LineFault(number, "brak wiersza \"" + std::string(key) + "\"");
    std::string_view text = lines[i].text;
    if (text.substr(0, key.size()) != key || (i == 0 && text.size() != key.size())) {
      LineFault(number, "oczekiwano \"" + std::string(key) + "\"" + (i == 0 ? "" : " i wartości"));
    }
    if (HasControlCharacter(text)) LineFault(number, "znak sterujący w wierszu");
    if (!lines[i].endsWithCrLf) LineFault(number, "brak znaków CR LF na końcu wiersza");
    values[i] = text.substr(key.size());
  }
  if (lines.size() > kLines) LineFault(kLines + 1, "dane po ostatnim, siódmym wierszu");

  DepositSummary summary;
  summary.shift = values[1];
  summary.cashier = values[2];
  std::optional<int> from = DayOf(values[3]);
  if (!from) LineFault(4, "data początku nie jest datą DD.MM.RRRR");
  std::optional<int> to = DayOf(values[4]);
  if (!to) LineFault(5, "data końca nie jest datą DD.MM.RRRR");
  if (*to < *from) LineFault(5, "data końca przed datą początku");
  summary.from = values[3];
  summary.to = values[4];
  std::optional<std::int64_t> takenIn = ParseDigits(values[5], 15);
  if (!takenIn) LineFault(6, "kwota przyjęcia nie jest liczbą groszy (najwyżej 15 cyfr)");
  std::optional<std::int64_t> handedOut = ParseDigits(values[6], 15);
  if (!handedOut) LineFault(7, "kwota wydania nie jest liczbą groszy (najwyżej 15 cyfr)");
  summary.takenIn = *takenIn;
  summary.handedOut = *handedOut;
  return summary;
}

}  // namespace zuvlink
