// GETNRURZFISK, STAWKA_FIS, WD_STAWKA and CHANGELAT.
#include "receipt/tax_rates.h"

#include "hostlibs/zuvcore.h"
#include "hostlibs/zuvfault.h"
#include "runtime/export.h"
#include "runtime/numbers.h"
#include "runtime/runtime.h"
#include "runtime/text.h"

namespace zuvtill::receipt {
namespace {

using runtime::Call;
using runtime::Value;

// The host's Polish-letter coding, when it has one other than the file's.
bool HostCoding(double& coding) {
  runtime::Cell p_pol = runtime::Runtime::Get().Variables().Find("p_pol");
  if (!p_pol || !p_pol->IsNumber() || p_pol->AsNumber() == 2) return false;
  coding = p_pol->AsNumber();
  return true;
}

std::string Letters(double coding) {
  Value letters = Call(DAJ_POL, {Value::Number(coding)});
  return letters.IsText() ? letters.AsText() : "";
}

}  // namespace

double FiscalDeviceNumber(std::string_view key) {
  double kind = runtime::Val(runtime::Left(key, 3));
  if (kind == 1) return 1;
  // The number within the kind: characters 4 to 6, those of the device
  // symbol that the key begins with (a longer dictionary key goes on
  // after them).
  double number = runtime::Val(runtime::Substr(key, 4, 3));
  if (kind == 2 && number > 0) return number < 6 ? number + 1 : number;
  Call(KOM3, {Value::Text("Niepoprawna wartos`c` parametru \"cKodslo\" !")});
  return 0;
}

std::optional<std::string> FiscalRate(std::string_view key, std::string_view vatSymbol, bool trim) {
  double device = FiscalDeviceNumber(key);
  if (device == 0) return std::nullopt;
  Value designation =
      Call(FISKI, {Value::Number(device), Value::Text(std::string(vatSymbol)), Value(), Value::Logical(trim)});
  std::string text = designation.IsText() ? designation.AsText() : "";
  return trim && !runtime::IsBlank(text) ? runtime::AllTrim(text) : text;
}

std::string PrinterRateText(std::string_view hundredths) {
  double value = runtime::Val(hundredths);
  if (value == 99999) return "ZW";
  if (value == -1) return "NZ";
  Value percent = Call(E_ROUND, {Value::Number(value / 100), Value::Number(2)});
  return runtime::AllTrim(runtime::Str(percent.IsNumber() ? percent.AsNumber() : 0, 5, 2));
}

void ConvertPolishLetters(std::string& text, bool toHost) {
  double coding = 0;
  if (!HostCoding(coding)) return;
  if (!toHost && coding == 4) return;  // letters without diacritics cannot be told apart again
  std::string from = toHost ? Letters(2) : Letters(coding);
  std::string to = toHost ? Letters(coding) : Letters(2);
  Value converted = Call(_RT, {Value::Text(text), Value::Text(from), Value::Text(to)});
  if (converted.IsText()) text = converted.AsText();
}

}  // namespace zuvtill::receipt

using zuvtill::runtime::Params;
using zuvtill::runtime::Value;
namespace receipt = zuvtill::receipt;

// GETNRURZFISK(cKodslo): the fiscal device number, 0 for an invalid key.
ZUV_EXPORT void GETNRURZFISK(Params& p) { p.SetResult(Value::Number(receipt::FiscalDeviceNumber(p.Text(1)))); }

// STAWKA_FIS(cKodslo, @cSymbol, lTrim): .T. when the VAT symbol has a
// designation on the device; the symbol is replaced by it.
ZUV_EXPORT void STAWKA_FIS(Params& p) {
  std::optional<std::string> designation = receipt::FiscalRate(p.Text(1), p.Text(2), p.Logical(3, true));
  if (designation) p.Store(2, Value::Text(*designation));
  p.SetResult(Value::Logical(designation && !zuvtill::runtime::IsBlank(*designation)));
}

// WD_STAWKA(cRate): the printer's rate as the user reads it.
ZUV_EXPORT void WD_STAWKA(Params& p) { p.SetResult(Value::Text(receipt::PrinterRateText(p.Text(1)))); }

// CHANGELAT(@cText, lToHost): .F. only for a NIL text.
ZUV_EXPORT void CHANGELAT(Params& p) {
  if (p.IsNil(1)) {
    p.SetResult(Value::Logical(false));
    return;
  }
  if (p.IsText(1)) {
    std::string text = p.Get(1).AsText();
    receipt::ConvertPolishLetters(text, p.Logical(2, true));
    p.Store(1, Value::Text(text));
  }
  p.SetResult(Value::Logical(true));
}
