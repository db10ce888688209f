// The program entry: the command line as the host gives it.
#pragma once

#include <string>
#include <vector>

namespace zuvprint {

// Runs the program for the arguments after the program name and answers
// the exit status.
int UruchomProgram(const std::string& sciezkaProgramu, const std::vector<std::string>& argumenty);

}  // namespace zuvprint
