// The companions of the device operations that the library's own jobs
// call: the footer list of a receipt, an error shown the device's way, and
// the device's character value.
#pragma once

#include "runtime/export.h"

using zuvtill::runtime::Params;

ZUV_EXPORT void WD_FOOTLINE(Params& p);
ZUV_EXPORT void WD_PISZERR(Params& p);
ZUV_EXPORT void WD_ERRWPR(Params& p);
ZUV_EXPORT void WD_CHAR(Params& p);
