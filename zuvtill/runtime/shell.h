// Running a command line synchronously through the system's command
// interpreter, as the host's RunShell does: the caller waits until the
// command ends. The command runs in the current directory, with the
// process's environment and console.
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
// pipe, list, quoting or expansion) is looked at before it runs, so that a
// program that could not be executed is told apart from one that ran,
// whatever status it ended with.
//
// On Windows every command runs through the command interpreter
// (COMSPEC, else the system's cmd.exe) as "/C command"; of a program and
// its arguments, the program is looked for first as the interpreter looks
// for it (with the extensions of PATHEXT), and one that is nowhere to be
// found, or whose file is no program (an .EXE or .COM that is no Windows
// executable, a document), is not started at all. Other command lines and
// the interpreter's own commands ("exit 5") answer the interpreter's
// status, 9009 for a command it did not find among them.
//
// On POSIX a program and its arguments is started directly; other command
// lines, and the shell's own commands, run through /bin/sh -f -c, and
// their status is the shell's.
//
// Answers the exit status (on POSIX 128 + the signal number when a signal
// ended it), or nothing when the command could not be started: the program
// is nowhere to be found, could not be executed, or the interpreter itself
// could not be run.
std::optional<int> RunShell(std::string_view arguments);

}  // namespace zuvtill::runtime
