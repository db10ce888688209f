// The device operations that the library's own jobs call.
#pragma once

#include "runtime/export.h"

// FDERROR(): the device's last error code.
ZUV_EXPORT void FDERROR(zuvtill::runtime::Params& p);
