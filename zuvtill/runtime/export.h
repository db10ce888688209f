// How the libraries export their host functions: extern "C" symbols with
// the exact upper-case name, visible outside the library (everything else
// in these libraries is hidden), each taking the host's parameter list.
#pragma once

#include "runtime/params.h"

#define ZUV_EXPORT extern "C" __attribute__((visibility("default")))
