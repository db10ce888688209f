// The FD device operations: each one hands its arguments to the device
// function of the family that the library serves while the device is really
// operated, otherwise to that family's inactive counterpart (CF... for
// ELZAB, DD... for POSNET), which answers -3 without looking at them. The
// result comes back unchanged; -3 as well when the family is neither.
//
// One row per operation: the export, the arguments handed on (see HandOn),
// the device functions and the inactive counterparts. Each row defines the
// export and its two counterparts.
#include "device/dispatch.h"
#include "device/fd_operations.h"
#include "device/family.h"
#include "device/port_settings.h"
#include "modules/zuvelzab.h"
#include "modules/zuvposnet.h"
#include "runtime/export.h"

using zuvtill::device::AnswerInactive;
using zuvtill::device::Callee;
using zuvtill::runtime::Params;
using zuvtill::runtime::Value;

namespace {

struct Operation {
  Callee elzab, posnet, elzabInactive, posnetInactive;
};

// The device function (operated) or the inactive counterpart of the
// family; none for another family.
const Callee* Choose(const Operation& op, bool operated) {
  const std::string family = zuvtill::device::FamilySymbol();
  if (family == zuvtill::device::kPosnetFamily) return operated ? &op.posnet : &op.posnetInactive;
  if (family == zuvtill::device::kElzabFamily) return operated ? &op.elzab : &op.elzabInactive;
  return nullptr;
}

void Run(const Operation& op, bool operated, Params& p) {
  const Callee* callee = Choose(op, operated);
  p.SetResult(callee ? callee->Call(p) : zuvtill::device::NothingDone());
}

}  // namespace

// A row whose export is written out below; CW_HANDED_ON is what the ELZAB
// device function takes, HANDED_ON what the other three take.
#define FD_ROW(EXPORT, HANDED_ON, CW, DW, CF, DD, CW_HANDED_ON) \
  ZUV_EXPORT void CF(Params& p) { AnswerInactive(p); }          \
  ZUV_EXPORT void DD(Params& p) { AnswerInactive(p); }          \
  namespace {                                                   \
  constexpr Operation k##EXPORT{{CW, CW_HANDED_ON}, {DW, HANDED_ON}, {CF, HANDED_ON}, {DD, HANDED_ON}}; \
  }

// A row of an operation that the work mode decides.
#define FD_OPERATION_CW(EXPORT, HANDED_ON, CW, DW, CF, DD, CW_HANDED_ON) \
  FD_ROW(EXPORT, HANDED_ON, CW, DW, CF, DD, CW_HANDED_ON)                \
  ZUV_EXPORT void EXPORT(Params& p) { Run(k##EXPORT, zuvtill::device::DeviceOperated(), p); }
#define FD_OPERATION(EXPORT, HANDED_ON, CW, DW, CF, DD) FD_OPERATION_CW(EXPORT, HANDED_ON, CW, DW, CF, DD, HANDED_ON)

// clang-format off
//              export        handed on          device functions          inactive counterparts     the ELZAB device function's own
FD_OPERATION(   FDDISPCONS,   "1 2",             CWDISPCONS,  DWDISPCONS,  CFDISPCONS,  DDDISPCONS)
FD_OPERATION(   FDBEGINTIC,   "1",               CWBEGINTIC,  DWBEGINTIC,  CFBEGINTIC,  DDBEGINTIC)
FD_OPERATION(   FDENDTICKET,  "1-15",            CWENDTICKE,  DWENDTICKE,  CFENDTICKE,  DDENDTICKE)
FD_OPERATION(   FDSTORNOTI,   "",                CWSTORNOTI,  DWSTORNOTI,  CFSTORNOTI,  DDSTORNOTI)
FD_OPERATION(   FDBEGINSHI,   "1",               CWBEGINSHI,  DWBEGINSHI,  CFBEGINSHI,  DDBEGINSHI)
FD_OPERATION(   FDPARMAXSH,   "@1",              CWPARMAXSH,  DWPARMAXSH,  CFPARMAXSH,  DDPARMAXSH)
FD_OPERATION_CW(FDSHIFTEND,   "",                CWSHIFTEND,  DWSHIFTEND,  CFSHIFTEND,  DDSHIFTEND,  "1")
FD_OPERATION(   FDDEFDRAWE,   "1 2",             CWDEFDRAWE,  DWDEFDRAWE,  CFDEFDRAWE,  DDDEFDRAWE)
FD_OPERATION_CW(FDDRAWEROP,   "1",               CWDRAWEROP,  DWDRAWEROP,  CFDRAWEROP,  DDDRAWEROP,  "1 2")
FD_ROW(         FDPARDRAWE,   "1 @2 @3",         CWPARDRAWE,  DWPARDRAWE,  CFPARDRAWE,  DDPARDRAWE,  "1 @2 @3")
FD_OPERATION(   FDGETTIME,    "@1 @2",           CWGETTIME,   DWGETTIME,   CFGETTIME,   DDGETTIME)
FD_OPERATION(   FDGETDATE,    "@1-3",            CWGETDATE,   DWGETDATE,   CFGETDATE,   DDGETDATE)
FD_OPERATION(   FDGETVERSI,   "@1 @2",           CWGETVERSI,  DWGETVERSI,  CFGETVERSI,  DDGETVERSI)
FD_OPERATION(   FDGETCOEFF,   "@1 @2",           CWGETCOEFF,  DWGETCOEFF,  CFGETCOEFF,  DDGETCOEFF)
FD_OPERATION_CW(FDGETLASTT,   "@1",              CWGETLASTT,  DWGETLASTT,  CFGETLASTT,  DDGETLASTT,  "@1 2")
FD_OPERATION(   FDGETTAX,     "@1-6",            CWGETTAX,    DWGETTAX,    CFGETTAX,    DDGETTAX)
FD_OPERATION(   FDPARLIBVE,   "@1-3",            CWPARLIBVE,  DWPARLIBVE,  CFPARLIBVE,  DDPARLIBVE)
FD_OPERATION(   FDPARPLU,     "@1-3",            CWPARPLU,    DWPARPLU,    CFPARPLU,    DDPARPLU)
FD_OPERATION(   FDSTATMODE,   "@1",              CWSTATMODE,  DWSTATMODE,  CFSTATMODE,  DDSTATMODE)
FD_OPERATION(   FDSTATSHIF,   "@1",              CWSTATSHIF,  DWSTATSHIF,  CFSTATSHIF,  DDSTATSHIF)
FD_OPERATION(   FDSTATRECE,   "@1",              CWSTATRECE,  DWSTATRECE,  CFSTATRECE,  DDSTATRECE)
FD_OPERATION(   FDSTATNOPA,   "@1",              CWSTATNOPA,  DWSTATNOPA,  CFSTATNOPA,  DDSTATNOPA)
FD_OPERATION(   FDPARPOS,     "@1-4",            CWPARPOS,    DWPARPOS,    CFPARPOS,    DDPARPOS)
FD_OPERATION(   FDLINETICKET, "1-7",             CWLINETICK,  DWLINETICK,  CFLINETICK,  DDLINETICK)
FD_OPERATION(   FDDEFPOS,     "1-3",             CWDEFPOS,    DWDEFPOS,    CFDEFPOS,    DDDEFPOS)
FD_OPERATION(   FDPARDEFPL,   "",                CWPARDEFPL,  DWPARDEFPL,  CFPARDEFPL,  DDPARDEFPL)
FD_OPERATION(   FDBEDEFPLU,   "",                CWBEDEFPLU,  DWBEDEFPLU,  CFBEDEFPLU,  DDBEDEFPLU)
FD_OPERATION(   FDENDDEFPL,   "",                CWENDDEFPL,  DWENDDEFPL,  CFENDDEFPL,  DDENDDEFPL)
FD_OPERATION(   FDDEFPLU,     "1-3",             CWDEFPLU,    DWDEFPLU,    CFDEFPLU,    DDDEFPLU)
FD_OPERATION(   FDERROR,      "",                CWERROR,     DWERROR,     CFERROR,     DDERROR)
FD_OPERATION(   FDPARMESSA,   "1 @2 @3",         CWPARMESSA,  DWPARMESSA,  CFPARMESSA,  DDPARMESSA)
FD_ROW(         FDSTART,      "1 2",             CWSTART,     DWSTART,     CFSTART,     DDSTART,     "1 2")
FD_OPERATION(   FDPARFOOTE,   "@1-3",            CWPARFOOTE,  DWPARFOOTE,  CFPARFOOTE,  DDPARFOOTE)
FD_OPERATION(   FDDEFFOOTE,   "1",               CWDEFFOOTE,  DWDEFFOOTE,  CFDEFFOOTE,  DDDEFFOOTE)
FD_OPERATION(   FDDISPCLOCK,  "",                CWDISPCLOCK, DWDISPCLOCK, CFDISPCLOCK, DDDISPCLOCK)
// clang-format on

// FDPARDRAWE(x, @y, @z, nMode): the mode decides in place of the work mode.
// 2 and 3 reach the device function; anything else, a mode that is not a
// number among it, counts as 1 and reaches the inactive counterpart.
ZUV_EXPORT void FDPARDRAWE(Params& p) {
  double mode = p.Number(4, 1);
  Run(kFDPARDRAWE, mode > 1 && mode <= 3, p);
}

// FDSTART(x, nPort, nSpeed, nLine, nWorkMode): with a work mode above 1
// starts the device and, only when the start answered 0, keeps the port
// settings given (elements that are not numbers keep theirs). With a work
// mode of 1 or less, or none, the settings go back to those at load and the
// inactive counterpart answers: the device is no longer operated.
ZUV_EXPORT void FDSTART(Params& p) {
  if (p.Number(5, 1) > 1) {
    Run(kFDSTART, true, p);
    if (p.Result().IsNumber() && p.Result().AsNumber() == 0) {
      zuvtill::device::ExchangePortSettings(
          Value::OfArray(zuvtill::runtime::Array{p.Get(2), p.Get(3), p.Get(4), p.Get(5)}));
    }
    return;
  }
  zuvtill::device::RestorePortSettingsAtLoad();
  Run(kFDSTART, false, p);
}
