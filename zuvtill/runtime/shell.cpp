#include "runtime/shell.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "runtime/dos_path.h"

extern char** environ;

namespace zuvtill::runtime {
namespace {

// The command with its program made "./NAME" when the current directory
// holds a file of that name.
std::string CurrentDirectoryFirst(std::string command) {
  std::size_t start = command.find_first_not_of(" \t");
  if (start == std::string::npos) return command;
  std::size_t end = command.find_first_of(" \t", start);
  if (end == std::string::npos) end = command.size();
  std::string program = command.substr(start, end - start);
  if (program.find_first_of("/\\'\"$`") != std::string::npos) return command;
  std::string local = HostPath(program);
  struct stat st;
  if (::stat(local.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return command;
  return command.substr(0, start) + "./" + local + command.substr(end);
}

}  // namespace

int RunShell(std::string_view arguments) {
  std::string command(arguments);
  std::size_t start = command.find_first_not_of(' ');
  if (start != std::string::npos && command.compare(start, 2, "/C") == 0) {
    command.erase(0, start + 2);
  } else if (start != std::string::npos && command.compare(start, 2, "/c") == 0) {
    command.erase(0, start + 2);
  }
  command = CurrentDirectoryFirst(command);
  if (command.find('\0') != std::string::npos) return -1;

  // -f: no file-name expansion, as the Windows interpreter expands none (a
  // port that did not fit is "*" on the link command line).
  const char* argv[] = {"sh", "-f", "-c", command.c_str(), nullptr};
  pid_t pid;
  if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) return -1;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  int code = WEXITSTATUS(status);
  // 126: found but not executable; 127: not found. Both mean "not started".
  return code == 126 || code == 127 ? -1 : code;
}

}  // namespace zuvtill::runtime
