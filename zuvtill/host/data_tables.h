// The embedded host's tables: every table file of the data directory opened
// under its alias, as the host has them open when it calls the library.
#pragma once

#include <ostream>
#include <string>

namespace zuvtill::host {

// Opens every table of the directory, the first work area selected. A
// directory or table that cannot be read is reported on errors, one line
// "zuvhost: ..." each, and left closed.
void OpenDataTables(const std::string& dir, std::ostream& errors);

}  // namespace zuvtill::host
