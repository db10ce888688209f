// What the program is started with: its own file and its parameters.
#pragma once

#include <string>
#include <vector>

namespace zuvprint::platform {

// The full path of the running program's file (argv0 when the system cannot
// tell).
std::string ProgramPath(const char* argv0);

// The parameters after the program's name, UTF-8 (on Windows from the
// wide command line, so no character is lost to the ANSI code page).
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Process-wide settings for a print run, made before anything else. On
// Linux: memory the run frees stays with the process for its next
// allocations (the code images, their conversions for cairo, the PDF's
// buffers), where each fresh page would cost a page fault; the process is
// short-lived and gives everything back when it ends.
void PrepareProcess();

}  // namespace zuvprint::platform
