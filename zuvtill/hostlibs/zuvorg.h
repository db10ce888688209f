// The host library zuvorg: unit-of-measure names.
#pragma once

#include "runtime/export.h"

using zuvtill::runtime::Params;

ZUV_EXPORT void JM_NAZWA(Params& p);
