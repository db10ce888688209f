#include "run/trace_mode.h"

#include "platform/files.h"

namespace zuvprint {

bool TrybTestowy() { return platform::FileExists("Test"); }

}  // namespace zuvprint
