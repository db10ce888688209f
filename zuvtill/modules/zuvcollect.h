// The device module zuvcollect: the data collectors' functions.
#pragma once

#include "runtime/export.h"

ZUV_EXPORT void KL_PISZERR(zuvtill::runtime::Params& p);
ZUV_EXPORT void KL_ERRWPR(zuvtill::runtime::Params& p);
ZUV_EXPORT void KL_SLODAN(zuvtill::runtime::Params& p);
