// The host library zuvcore: messages, windows, reports, files, the VAT
// and fiscal-designation lookups, rounding, Polish-letter codings, opening
// and closing tables, saving table states, scopes and progress displays.
#pragma once

#include "runtime/export.h"

using zuvtill::runtime::Params;

ZUV_EXPORT void KOM3(Params& p);
ZUV_EXPORT void KOM4(Params& p);
ZUV_EXPORT void ZWIN(Params& p);
ZUV_EXPORT void STATLINE(Params& p);
ZUV_EXPORT void RAPORT(Params& p);
ZUV_EXPORT void MK_VIEWER(Params& p);
ZUV_EXPORT void DECYZJA(Params& p);
ZUV_EXPORT void E_FILEDELETE(Params& p);
ZUV_EXPORT void NAZWA_PROCESU(Params& p);
ZUV_EXPORT void GETPROCPTU(Params& p);
ZUV_EXPORT void FISKI(Params& p);
ZUV_EXPORT void E_ROUND(Params& p);
ZUV_EXPORT void E_INT(Params& p);
ZUV_EXPORT void DAJ_POL(Params& p);
ZUV_EXPORT void _TEST_OPEN(Params& p);
ZUV_EXPORT void _OPEN_SET(Params& p);
ZUV_EXPORT void _CLOSE_ONLY(Params& p);
ZUV_EXPORT void ZAP_OBSZAR(Params& p);
ZUV_EXPORT void ODTW_OBSZAR(Params& p);
ZUV_EXPORT void CMXSETSCOPE(Params& p);
ZUV_EXPORT void CMXKEYCOUNT(Params& p);
ZUV_EXPORT void INITPROGRES(Params& p);
ZUV_EXPORT void GOPROGRES(Params& p);
