// WD_DRPARAG: the fiscal receipt of the host's current sales document,
// composed into the receipt file and printed by the link program (job 4);
// after a print that broke off the user may choose to continue.
#include "device/companions.h"
#include "device/family.h"
#include "device/fd_operations.h"
#include "exchange/link_runner.h"
#include "hostlibs/zuvcore.h"
#include "receipt/link_job.h"
#include "receipt/receipt_file.h"
#include "receipt/table_fields.h"
#include "runtime/export.h"
#include "runtime/runtime.h"

namespace zuvtill::receipt {
namespace {

using runtime::Call;
using runtime::Value;

Value Lines(std::initializer_list<const char*> lines) {
  runtime::Array array;
  for (const char* line : lines) array.push_back(Value::Text(line));
  return Value::OfArray(std::move(array));
}

// The print broke off in a way that more paper may mend: the link
// program's end marker is there, and the device's last error is one of the
// family's interruptions.
bool Interrupted() {
  if (!runtime::Runtime::Get().Files().Exists("END_TASM")) return false;
  Value error = Call(FDERROR);
  if (!error.IsNumber()) return false;
  const std::string family = device::FamilySymbol();
  if (family == device::kElzabFamily) return error.AsNumber() == 109;
  if (family == device::kPosnetFamily) return error.AsNumber() < 1000;
  return false;
}

void AskWhetherToContinue() {
  Value answer = Call(DECYZJA, {Value::Logical(false), Value::Text("Czy chcesz kontynuowac` wydruk?"), Value::Number(0),
                                Value::Number(0),
                                Lines({"W trakcie wydruku paragonu wysta`pil` bl`a`d.",
                                       "Jes`li wynikna`l` z powodu skon`czenia sie` papieru",
                                       "w drukarce to po zal`ox`eniu nowej rolki mox`na",
                                       "dokon`czyc` wystawianie paragonu."})});
  runtime::Runtime::Get().Variables().Assign("wynik", answer);
}

double PrintReceipt(const ReceiptRequest& request) {
  std::string name;
  if (!ComposeReceipt(request, name)) return -2;
  const std::string family = device::FamilySymbol();
  return PrintExchangeFile({.printer = "Drukarka: " + (family == device::kElzabFamily ? "ELZAB FP600/Omega" : family),
                            .job = "Wydruk paragonu",
                            .jobCode = "4",
                            .name = name,
                            .variant = request.variant},
                           [] {
                             if (Interrupted()) AskWhetherToContinue();
                           });
}

}  // namespace
}  // namespace zuvtill::receipt

using zuvtill::runtime::Params;
using zuvtill::runtime::Value;

// WD_DRPARAG(lDepositLines, cVariant, lBuyerType6, lBuyerType7): 0 when
// the receipt was printed (or shown in the dry run), -2 otherwise.
ZUV_EXPORT void WD_DRPARAG(Params& p) {
  const bool elzab = zuvtill::device::FamilySymbol() == zuvtill::device::kElzabFamily;
  zuvtill::receipt::ReceiptRequest request{
      .footerList = zuvtill::runtime::Call(WD_FOOTLINE, {zuvtill::receipt::Field(zuvtill::receipt::Table("naglowek"), "nr_dowodu")}),
      .depositLines = p.Logical(1, false),
      .variant = zuvtill::exchange::Variant(p.Get(2)),
      .buyerType6 = !elzab && p.Logical(3, false),
      .buyerType7 = !elzab && p.Logical(4, false)};
  p.SetResult(Value::Number(zuvtill::receipt::PrintReceipt(request)));
}
