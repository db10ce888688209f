// Running a command line synchronously through the system's command
// interpreter, as the host's RunShell does: the caller waits until the
// command ends.
#pragma once

#include <string_view>

namespace zuvtill::runtime {

// arguments is the interpreter's argument text: "/C " and the command line
// (a leading "/C" or "/c" is dropped; the rest is the command). The command
// runs through /bin/sh -c in the current directory, without file-name
// expansion ("*" stays "*", as the Windows interpreter leaves it). As with the Windows
// interpreter, a program named without a directory is looked for in the
// current directory first (letters in either case), then along PATH.
//
// Answers the command's exit status (128 + the signal number when a signal
// ended it), or -1 when it could not be started: the shell could not be
// run, or the shell found no such program or could not execute it.
int RunShell(std::string_view arguments);

}  // namespace zuvtill::runtime
