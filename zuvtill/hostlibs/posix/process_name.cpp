#include "hostlibs/process_name.h"

#include <cerrno>

namespace zuvtill::hostlibs {

std::string ProcessName() { return program_invocation_short_name; }

}  // namespace zuvtill::hostlibs
