// The host process's name as the system knows it, without directory or
// extension ("zuvhost" for /usr/lib/zuvtill/zuvhost and for
// C:\ZUV\ZUVHOST.EXE). One backend per system.
#pragma once

#include <string>

namespace zuvtill::hostlibs {

std::string ProcessName();

}  // namespace zuvtill::hostlibs
