// The embedded host's own functions, for scripts and tests that drive the
// stand-ins of the host libraries and device modules:
//
//   ZH_ANSWER(name, result)        the function answers result from now on
//   ZH_WRITE(name, position, value)  and writes value into that reference argument
//   ZH_RAISE(name, message)        the function raises an error with the message
//   ZH_CALLS()                     the calls recorded since the last ZH_CALLS(),
//                                  one line NAME(arg, @arg, ...) each ("" for none)
//   ZH_RESET()                     forgets every answer and recorded call
//   ZH_SCREEN(row)                 a row of the recorded console screen
#pragma once

#include "runtime/functions.h"

namespace zuvtill::host {

void RegisterControlFunctions(runtime::FunctionTable& table);

}  // namespace zuvtill::host
