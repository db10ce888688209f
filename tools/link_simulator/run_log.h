// SYMULATOR.LOG in the current directory: one line per run, the arguments
// as received (the program's name without its directory first) joined by
// single blanks, then CR LF, so a test sees the command line the library
// built.
#pragma once

#include <string>
#include <vector>

namespace zuvlink {

inline constexpr char kRunLog[] = "SYMULATOR.LOG";

void AppendRunLog(const std::string& programName, const std::vector<std::string>& arguments);

}  // namespace zuvlink
