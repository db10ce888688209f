// How the libraries export their host functions: extern "C" symbols with
// the exact upper-case name, visible outside the library (on Windows
// exported from the DLL, undecorated), each taking the host's parameter
// list. The embedded host calls only such names, and only when they belong
// to one of the bound libraries.
#pragma once

#include "runtime/params.h"

#ifdef _WIN32
#define ZUV_EXPORT extern "C" __declspec(dllexport)
#else
#define ZUV_EXPORT extern "C" __attribute__((visibility("default")))
#endif
