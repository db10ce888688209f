// Running a command line synchronously through the system's command
// interpreter, as the host's RunShell does: the caller waits until the
// command ends.
#pragma once

#include <optional>
#include <string_view>

namespace zuvtill::runtime {

// arguments is the interpreter's argument text: "/C " and the command line
// (a leading "/C" or "/c" is dropped; the rest is the command). As with the
// Windows interpreter, a program named without a directory is looked for in
// the current directory first (letters in either case), then along PATH,
// and no file names are expanded ("*" stays "*").
//
// A command line that is a program and its arguments (no redirection,
// pipe, list, quoting or expansion) is started here, so that a program
// that could not be executed is told apart from one that ran, whatever
// status it ended with. Other command lines, and the shell's own commands
// ("exit 5"), run through /bin/sh -f -c in the current directory; their
// status is the shell's.
//
// Answers the exit status (128 + the signal number when a signal ended
// it), or nothing when the command could not be started: the program is
// nowhere to be found, could not be executed, or the shell itself could
// not be run.
std::optional<int> RunShell(std::string_view arguments);

}  // namespace zuvtill::runtime
