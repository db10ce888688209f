// The host library zuvfault: the current directory, the generation mark
// after a link run, the stock table's key form and character translation.
#pragma once

#include "runtime/export.h"

using zuvtill::runtime::Params;

ZUV_EXPORT void DIRNAME(Params& p);
ZUV_EXPORT void CHANGEDIR(Params& p);
ZUV_EXPORT void NOWY_GEN(Params& p);
ZUV_EXPORT void _PL(Params& p);
ZUV_EXPORT void _RT(Params& p);
