// The family symbol and the predicates over device symbols: _DFSYMBOL,
// the device kinds K_PS2000 ... K_NOVITUS and WD_OK_WIN. Every comparison
// is with the whole text, blanks included; a device symbol that is not a
// text names no device kind.
#include <initializer_list>
#include <string_view>

#include "device/family.h"
#include "runtime/export.h"

using zuvtill::runtime::Params;
using zuvtill::runtime::Value;

namespace {

void AnswerKind(Params& p, std::initializer_list<std::string_view> symbols) {
  bool matches = false;
  if (p.IsText(1)) {
    for (std::string_view symbol : symbols) matches = matches || p.Get(1).AsText() == symbol;
  }
  p.SetResult(Value::Logical(matches));
}

}  // namespace

ZUV_EXPORT void _DFSYMBOL(Params& p) { p.SetResult(Value::Text(zuvtill::device::FamilySymbol())); }

// The cash-register kinds.
ZUV_EXPORT void K_PS2000(Params& p) { AnswerKind(p, {"  2  1", "  2  3"}); }
ZUV_EXPORT void K_ENTRY(Params& p) { AnswerKind(p, {"  2  2"}); }
ZUV_EXPORT void K_SYS600(Params& p) { AnswerKind(p, {"  2  4"}); }
ZUV_EXPORT void K_SHARP(Params& p) { AnswerKind(p, {"  2  5"}); }
ZUV_EXPORT void K_DATECS(Params& p) { AnswerKind(p, {"  2  6"}); }
ZUV_EXPORT void K_POSNET(Params& p) { AnswerKind(p, {"  2  7"}); }
ZUV_EXPORT void K_NOVITUS(Params& p) { AnswerKind(p, {"  2  8"}); }

// WD_OK_WIN(cSymbol): the symbol is the fiscal printer and the library
// serves one of the families it knows.
ZUV_EXPORT void WD_OK_WIN(Params& p) {
  bool fiscalPrinter = p.IsText(1) && p.Get(1).AsText() == zuvtill::device::kFiscalPrinter;
  bool knownFamily = std::string_view("DF301|FP600").find(zuvtill::device::FamilySymbol()) != std::string_view::npos;
  p.SetResult(Value::Logical(fiscalPrinter && knownFamily));
}
