// The device module zuvelzab: the ELZAB ("FP600") family's device functions
// and their companions.
#pragma once

#include "runtime/export.h"

ZUV_EXPORT void CWDISPCONS(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWBEGINTIC(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWENDTICKE(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWSTORNOTI(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWBEGINSHI(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWPARMAXSH(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWSHIFTEND(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWDEFDRAWE(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWDRAWEROP(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWPARDRAWE(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWGETTIME(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWGETDATE(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWGETVERSI(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWGETCOEFF(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWGETLASTT(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWGETTAX(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWPARLIBVE(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWPARPLU(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWSTATMODE(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWSTATSHIF(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWSTATRECE(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWSTATNOPA(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWPARPOS(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWLINETICK(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWDEFPOS(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWPARDEFPL(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWBEDEFPLU(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWENDDEFPL(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWDEFPLU(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWERROR(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWPARMESSA(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWSTART(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWPARFOOTE(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWDEFFOOTE(zuvtill::runtime::Params& p);
ZUV_EXPORT void CWDISPCLOCK(zuvtill::runtime::Params& p);
ZUV_EXPORT void CW_FOOTLINE(zuvtill::runtime::Params& p);
ZUV_EXPORT void CW_PISZERR(zuvtill::runtime::Params& p);
ZUV_EXPORT void CW_ERRWPR(zuvtill::runtime::Params& p);
ZUV_EXPORT void CW_CHAR(zuvtill::runtime::Params& p);
