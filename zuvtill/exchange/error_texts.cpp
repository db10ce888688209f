// WDERROPIS, DOSERROPIS, WDERRTXT and WDERRZAPIS.
#include "exchange/error_texts.h"

#include <array>

#include "device/companions.h"
#include "exchange/error_files.h"
#include "exchange/error_log.h"
#include "runtime/cp852_literal.h"
#include "runtime/export.h"
#include "runtime/numbers.h"
#include "runtime/text.h"

namespace zuvtill::exchange {
namespace {

using namespace runtime::literals;
using runtime::Params;
using runtime::Value;

struct CodeText {
  double code;
  std::string_view text;
};

// The texts keep the host's spellings, the backquote one of 1007 included.
constexpr auto kExchangeErrors = std::to_array<CodeText>({
    {1000, "Błędny format opisów błędów"_cp852},
    {1001, "Błąd odczytu/zapisu pliku z opisem błędu"_cp852},
    {1002, "Błąd zapisu wejściowego pliku pomocniczego"_cp852},
    {1003, "Błąd odczytu wyjściowego pliku pomocniczego"_cp852},
    {1004, "Błąd zapisu pozycji paragonu do pliku pomocniczego"_cp852},
    {1005, "Brak programu komunikacyjnego"},
    {1006, "Niedozwolony znak w danej"},
    {1007, "Bl`e`dne urza`dzenie"},
});
constexpr auto kOtherExchangeError = "Inny Błąd"_cp852;

constexpr auto kFileErrors = std::to_array<CodeText>({
    {0, "Pomyślnie"_cp852},
    {2, "Nie znaleziono zbioru"},
    {3, "Nie znaleziono scieżki"_cp852},
    {4, "Za dużo otwartych zbiorów"_cp852},
    {5, "Brak praw dostępu"_cp852},
    {6, "Niewłaściwy deskryptor"_cp852},
    {8, "Brak pamięci"_cp852},
    {15, "Niewłaściwy napęd dysku"_cp852},
    {19, "Próba zapisu na dysk z ochroną przed zapisem"_cp852},
    {21, "Napęd nie gotowy"_cp852},
    {23, "Błąd CRC"_cp852},
    {29, "Nieudany zapis"},
    {30, "Nieudany odczyt"},
    {32, "Naruszenie trybu dzielonego"},
    {33, "Naruszenie blokady"},
});
constexpr auto kOtherFileError = "Inny błąd"_cp852;

template <std::size_t N>
const CodeText* Find(const std::array<CodeText, N>& table, double code) {
  for (const CodeText& row : table) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

}  // namespace

std::string ExchangeErrorText(double code, bool* known) {
  const CodeText* row = Find(kExchangeErrors, code);
  if (known) *known = row != nullptr;
  return std::string(row ? row->text : std::string_view(kOtherExchangeError));
}

std::string FileErrorText(double code) {
  const CodeText* row = Find(kFileErrors, code);
  return std::string(row ? row->text : std::string_view(kOtherFileError));
}

std::string WithFileErrorLine(std::string fileName, double code) {
  return fileName + "\r\n" + "Błąd DOS "_cp852.str() + runtime::AllTrim(runtime::Str(code, 2, 0)) + ": ";
}

std::string ErrorEntry(double code, std::string_view detail) {
  return "#" + runtime::AllTrim(runtime::Str(code, 4, 0)) + ":" + ExchangeErrorText(code) + ";" +
         runtime::AllTrim(detail);
}

bool RecordExchangeError(double code, std::string_view detail, std::string_view deviceSymbol, double collectorFlag) {
  std::string directory = !device::IsDataCollector(deviceSymbol) ? "FISK\\"
                          : collectorFlag == 1                   ? "KOLEKT_1\\"
                                                                 : "KOLEKTOR\\";
  runtime::Call(WD_ERRWPR, {Value::Number(code), Value::Text(ExchangeErrorText(code)), Value::Text(std::string(detail)),
                            Value::Text(std::string(deviceSymbol))});
  return AppendToErrorLog({.source = ErrorEntry(code, detail),
                           .logPath = directory + ErrorLogName(deviceSymbol),
                           .fromFile = false,
                           .stamped = true,
                           .deviceSymbol = std::string(deviceSymbol)});
}

}  // namespace zuvtill::exchange

using zuvtill::runtime::Params;
using zuvtill::runtime::Value;
namespace exchange = zuvtill::exchange;

// WDERROPIS(@nCode): the exchange error's text; a code without one is set
// to 2000 when it came by reference.
ZUV_EXPORT void WDERROPIS(Params& p) {
  bool known = false;
  p.SetResult(Value::Text(exchange::ExchangeErrorText(p.Number(1, -1), &known)));
  if (!known) p.Store(1, Value::Number(exchange::kOtherError));
}

// DOSERROPIS(@cFile, nCode): the file error's text; a file name passed by
// reference also receives the code line.
ZUV_EXPORT void DOSERROPIS(Params& p) {
  double code = p.Number(2, -1);
  if (p.IsText(1)) p.Store(1, Value::Text(exchange::WithFileErrorLine(p.Get(1).AsText(), code)));
  p.SetResult(Value::Text(exchange::FileErrorText(code)));
}

// WDERRTXT(nCode, cDetail)
ZUV_EXPORT void WDERRTXT(Params& p) { p.SetResult(Value::Text(exchange::ErrorEntry(p.Number(1, -1), p.Text(2)))); }

// WDERRZAPIS(nCode, cDetail, cDevice, nCollectorFlag)
ZUV_EXPORT void WDERRZAPIS(Params& p) {
  p.SetResult(Value::Logical(exchange::RecordExchangeError(p.Number(1, -1), p.Text(2),
                                                           p.Text(3, zuvtill::device::kFiscalPrinter), p.Number(4, 0))));
}
