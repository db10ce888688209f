// The companions of the device operations, which the family alone decides
// (WD_FOOTLINE, WD_PISZERR, WD_ERRWPR, WD_CHAR: no work-mode test, no
// inactive counterparts), the POSNET-only operations PSN_... with their
// inactive counterparts DD_PSN_..., and the header operations that this
// library does not provide.
#include "device/companions.h"
#include "device/dispatch.h"
#include "device/family.h"
#include "device/port_settings.h"
#include "modules/zuvcollect.h"
#include "modules/zuvelzab.h"
#include "modules/zuvposnet.h"
#include "runtime/export.h"

using zuvtill::device::AnswerInactive;
using zuvtill::device::Callee;
using zuvtill::runtime::Params;

namespace {

void ByFamily(Params& p, const Callee& elzab, const Callee& posnet) {
  const std::string family = zuvtill::device::FamilySymbol();
  if (family == zuvtill::device::kElzabFamily) {
    p.SetResult(elzab.Call(p));
  } else if (family == zuvtill::device::kPosnetFamily) {
    p.SetResult(posnet.Call(p));
  } else {
    p.SetResult(zuvtill::device::NothingDone());
  }
}

// An error shown the device's way: a data collector's by the collector
// module whatever the family; the device symbol is argument symbolAt, the
// fiscal printer when it is not a text.
void ShowError(Params& p, int symbolAt, const Callee& collector, const Callee& elzab, const Callee& posnet) {
  if (zuvtill::device::IsDataCollector(p.Text(symbolAt, zuvtill::device::kFiscalPrinter))) {
    p.SetResult(collector.Call(p));
  } else {
    ByFamily(p, elzab, posnet);
  }
}

// A POSNET-only operation: the work mode alone decides.
void PosnetOnly(Params& p, const Callee& operated, const Callee& inactive) {
  p.SetResult(zuvtill::device::DeviceOperated() ? operated.Call(p) : inactive.Call(p));
}

}  // namespace

// WD_FOOTLINE(cDocument): the footer list of the receipt.
ZUV_EXPORT void WD_FOOTLINE(Params& p) { ByFamily(p, {CW_FOOTLINE, "1"}, {DW_FOOTLINE, ""}); }

// WD_PISZERR(cError, cDevice)
ZUV_EXPORT void WD_PISZERR(Params& p) { ShowError(p, 2, {KL_PISZERR, "1"}, {CW_PISZERR, "1"}, {DW_PISZERR, "1"}); }

// WD_ERRWPR(nCode, cCode, cDetail, cDevice)
ZUV_EXPORT void WD_ERRWPR(Params& p) { ShowError(p, 4, {KL_ERRWPR, "1-3"}, {CW_ERRWPR, "1-3"}, {DW_ERRWPR, "1-3"}); }

// WD_CHAR(): the device's character value.
ZUV_EXPORT void WD_CHAR(Params& p) { ByFamily(p, {CW_CHAR, ""}, {DW_CHAR, ""}); }

ZUV_EXPORT void DD_PSN_END(Params& p) { AnswerInactive(p); }
ZUV_EXPORT void DD_PSN_GLOS(Params& p) { AnswerInactive(p); }
ZUV_EXPORT void DD_PSN_KASA(Params& p) { AnswerInactive(p); }
ZUV_EXPORT void DD_PSN_ZMIANA(Params& p) { AnswerInactive(p); }

// PSN_END(): only a POSNET library ends anything.
ZUV_EXPORT void PSN_END(Params& p) {
  if (zuvtill::device::FamilySymbol() == zuvtill::device::kPosnetFamily) {
    PosnetOnly(p, {DW_PSN_END, ""}, {DD_PSN_END, ""});
  } else {
    p.SetResult(zuvtill::device::NothingDone());
  }
}
ZUV_EXPORT void PSN_GLOS(Params& p) { PosnetOnly(p, {DW_PSN_GLOS, "1"}, {DD_PSN_GLOS, "1"}); }
ZUV_EXPORT void PSN_KASA(Params& p) { PosnetOnly(p, {DW_PSN_KASA, "1"}, {DD_PSN_KASA, "1"}); }
ZUV_EXPORT void PSN_ZMIANA(Params& p) { PosnetOnly(p, {DW_PSN_ZMIANA, "1 2"}, {DD_PSN_ZMIANA, "1 2"}); }

// The receipt header is not this library's: these look at nothing.
ZUV_EXPORT void FDPARHEADE(Params& p) { AnswerInactive(p); }
ZUV_EXPORT void FDDEFHEADE(Params& p) { AnswerInactive(p); }
ZUV_EXPORT void WD_HEADLINE(Params& p) { AnswerInactive(p); }
