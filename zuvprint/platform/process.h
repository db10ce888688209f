// Running a helper program as a child process: the program is started
// directly with an argument vector (never through a shell), its standard
// output and standard error are captured through pipes, and its exit code is
// answered. This stands in for CreatePipe + CreateProcess + ReadFile +
// GetExitCodeProcess. Both systems have a backend of their own: posix_spawn
// with poll on POSIX, CreateProcessW with overlapped pipes on Windows.
//
// Texts here are bytes: the program path and the arguments are handed to the
// system unchanged, and the captured output is the child's bytes unchanged.
// (On Windows, whose command lines are UTF-16, path and arguments are read as
// UTF-8; a byte that is not UTF-8 arrives as U+FFFD.)
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/files.h"

namespace zuvprint::platform {

// What a finished child left behind.
struct ProcessResult {
  std::string out;  // everything the child wrote to its standard output
  std::string err;  // everything the child wrote to its standard error
  // POSIX: the exit status (0-255) when the child exited; 128 + the signal
  // number when a signal ended it (the way a command interpreter reports
  // it). Windows: the process's exit code (GetExitCodeProcess), its 32 bits
  // as they are (a crash's NTSTATUS 0xC0000005 reads as a negative int).
  int exitCode = 0;
};

// A child could not be run to its end. Stage says which step failed; Error()
// is the errno value of that step (0 for OutputLimit); on Windows the
// system's error code is translated to the nearest errno value (ENOENT for
// a missing program, EACCES, ENOEXEC, ...). what() is a short English
// description for logs.
class ProcessError : public std::runtime_error {
 public:
  enum class Stage {
    Pipe,         // the pipes could not be created
    Start,        // the program could not be started (missing, not executable, bad format, ...)
    Read,         // reading the child's output failed
    Wait,         // waiting for the child's end failed
    OutputLimit,  // the child wrote more than the caller allows; it has been killed
  };
  ProcessError(Stage stage, int error);

  Stage GetStage() const { return stage_; }
  int Error() const { return error_; }

 private:
  Stage stage_;
  int error_;
};

// One child process, owned by this object.
//
// Usage:  ChildProcess child("/usr/bin/openssl", {"version"});
//         ProcessResult r = child.Finish();
class ChildProcess {
 public:
  // Enough for any helper's report; a child that writes more is a runaway.
  static constexpr std::size_t kDefaultOutputLimit = std::size_t{16} << 20;

  // Starts program with argv = {program, arguments...}, the caller's
  // environment and current directory. A program without '/' in its name is
  // looked up in the directories of PATH; one with '/' is used as given
  // (relative to the current directory). The file is executed by the system
  // loader only: a file it cannot execute (a script without "#!", a
  // directory, a file without execute permission) fails to start, it is
  // never handed to a shell. The child's standard input is /dev/null; its
  // standard output and standard error are two pipes read by Finish(). No
  // other descriptor of this object reaches the child.
  //
  // On Windows the program is found the way CreateProcessW finds a program
  // named at the start of its command line (".exe" added to a name without
  // an extension; the program's own directory, the current directory, the
  // system directories, then PATH), and the command line is quoted so that
  // the C runtime's parser hands every argument to the child unchanged
  // (blanks, quotes, backslashes). Batch files (.bat, .cmd), which
  // CreateProcessW would run through cmd.exe, are refused with
  // ProcessError(Start, ENOEXEC); so is a program name holding a double
  // quote (EINVAL), which no Windows file name can. Standard input is NUL,
  // no console window is opened, and the child inherits only its three
  // standard handles.
  //
  // Throws ProcessError(Pipe) when the pipes cannot be created, and
  // ProcessError(Start) with the system's errno when the program cannot be
  // started (ENOENT for a missing program, EACCES, ENOEXEC, ...). A program
  // path or an argument that holds a NUL byte is refused with
  // ProcessError(Start, EINVAL) rather than cut short.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments);

  // A child that Finish() has not reaped (Finish() was not called or
  // threw) is killed (SIGKILL; TerminateProcess on Windows) and waited for
  // here, so no path leaves a running child, a zombie or an open pipe or
  // handle behind.
  ~ChildProcess();

  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Reads standard output and standard error side by side (poll; overlapped
  // reads on Windows), so a child
  // that fills one pipe while the other is being waited on can never block
  // us both, until the child has closed both; only then waits for its end,
  // without a time limit. Call once: a second call throws
  // ProcessError(Wait, ECHILD).
  //
  // Throws ProcessError(Read) or ProcessError(Wait) when the system calls
  // fail, and ProcessError(OutputLimit) when the two outputs together grow
  // beyond outputLimit bytes (the child is then killed and reaped).
  ProcessResult Finish(std::size_t outputLimit = kDefaultOutputLimit);

  // The system's number of the child (its process id), or -1 once it has
  // been reaped.
  int Pid() const { return pid_; }

 private:
  void KillAndReap();

  int pid_ = -1;        // -1 once reaped
  NativeFile process_;  // Windows: the child's process handle (unused on POSIX)
  NativeFile out_;
  NativeFile err_;
};

// Starts program (as ChildProcess does) and runs it to its end (Finish()).
// Throws ProcessError as those two do.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         std::size_t outputLimit = ChildProcess::kDefaultOutputLimit);

}  // namespace zuvprint::platform
