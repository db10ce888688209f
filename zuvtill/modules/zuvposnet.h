// The device module zuvposnet: the POSNET ("DF301") family's device functions,
// the POSNET-only operations and the companions.
#pragma once

#include "runtime/export.h"

ZUV_EXPORT void DWDISPCONS(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWBEGINTIC(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWENDTICKE(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWSTORNOTI(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWBEGINSHI(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWPARMAXSH(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWSHIFTEND(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWDEFDRAWE(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWDRAWEROP(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWPARDRAWE(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWGETTIME(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWGETDATE(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWGETVERSI(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWGETCOEFF(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWGETLASTT(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWGETTAX(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWPARLIBVE(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWPARPLU(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWSTATMODE(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWSTATSHIF(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWSTATRECE(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWSTATNOPA(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWPARPOS(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWLINETICK(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWDEFPOS(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWPARDEFPL(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWBEDEFPLU(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWENDDEFPL(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWDEFPLU(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWERROR(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWPARMESSA(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWSTART(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWPARFOOTE(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWDEFFOOTE(zuvtill::runtime::Params& p);
ZUV_EXPORT void DWDISPCLOCK(zuvtill::runtime::Params& p);
ZUV_EXPORT void DW_PSN_END(zuvtill::runtime::Params& p);
ZUV_EXPORT void DW_PSN_GLOS(zuvtill::runtime::Params& p);
ZUV_EXPORT void DW_PSN_KASA(zuvtill::runtime::Params& p);
ZUV_EXPORT void DW_PSN_ZMIANA(zuvtill::runtime::Params& p);
ZUV_EXPORT void DW_FOOTLINE(zuvtill::runtime::Params& p);
ZUV_EXPORT void DW_PISZERR(zuvtill::runtime::Params& p);
ZUV_EXPORT void DW_ERRWPR(zuvtill::runtime::Params& p);
ZUV_EXPORT void DW_CHAR(zuvtill::runtime::Params& p);
