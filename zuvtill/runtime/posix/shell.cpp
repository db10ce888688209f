#include "runtime/shell.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/dos_path.h"

extern char** environ;

namespace zuvtill::runtime {
namespace {

// What makes a command line more than a program and its arguments to the
// shell: lists, pipes, redirections, grouping, expansions, quoting. ("*",
// "?" and "[" are not among them: no file names are expanded.)
constexpr std::string_view kShellSyntax = "|&;<>()$`\\\"'\n";

bool IsFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// "./NAME" when the current directory holds a file of the program's name
// (letters in either case); empty otherwise.
std::string LocalProgram(const std::string& name) {
  if (name.find_first_of("/\\'\"$`") != std::string::npos) return "";
  std::string local = HostPath(name);
  return IsFile(local) ? "./" + local : "";
}

// The executable file of the name along PATH, as the shell finds it; empty
// when there is none.
std::string PathProgram(const std::string& name) {
  const char* variable = std::getenv("PATH");
  std::string_view path = variable ? variable : "/usr/bin:/bin";
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = std::min(path.find(':', start), path.size());
    std::string directory(path.substr(start, end - start));
    std::string file = (directory.empty() ? "." : directory) + "/" + name;
    if (IsFile(file) && ::access(file.c_str(), X_OK) == 0) return file;
    start = end + 1;
  }
  return "";
}

// The blank-separated words of a command line that is a program and its
// arguments; none when the shell has to read the line (its syntax, a
// leading "~" or "#" of a word, an assignment before the program).
std::vector<std::string> PlainWords(const std::string& command) {
  if (command.find_first_of(kShellSyntax) != std::string::npos) return {};
  std::vector<std::string> words;
  for (std::size_t start = command.find_first_not_of(" \t"); start != std::string::npos;
       start = command.find_first_not_of(" \t", start)) {
    std::size_t end = std::min(command.find_first_of(" \t", start), command.size());
    words.push_back(command.substr(start, end - start));
    if (words.back()[0] == '~' || words.back()[0] == '#') return {};
    start = end;
  }
  if (!words.empty() && words[0].find('=') != std::string::npos) return {};
  return words;
}

std::optional<int> Wait(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return std::nullopt;
  }
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

int Spawn(pid_t& pid, const std::string& file, std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  return ::posix_spawn(&pid, file.c_str(), nullptr, nullptr, argv.data(), environ);
}

// Starts the file with the arguments (the first one is the program's name)
// and waits for it; nothing when it could not be executed, which the spawn
// itself reports. A file of no executable format runs as a shell script,
// as the shell runs one.
std::optional<int> Start(const std::string& file, std::vector<std::string> arguments) {
  pid_t pid;
  int error = Spawn(pid, file, arguments);
  if (error == ENOEXEC) {
    arguments[0] = file;
    arguments.insert(arguments.begin(), "sh");
    error = Spawn(pid, "/bin/sh", arguments);
  }
  if (error != 0) return std::nullopt;
  return Wait(pid);
}

// The command line through the shell. -f: no file-name expansion, as the
// Windows interpreter expands none (a port that did not fit is "*" on the
// link command line).
std::optional<int> Shell(const std::string& command) { return Start("/bin/sh", {"sh", "-f", "-c", command}); }

// Whether the shell has a command of this name of its own: a built-in such
// as "exit", a reserved word.
bool IsShellCommand(const std::string& name) {
  return Start("/bin/sh", {"sh", "-c", "command -v -- \"$1\" >/dev/null 2>&1", "sh", name}) == 0;
}

// The command with its program made "./NAME" when the current directory
// holds a file of that name.
std::string CurrentDirectoryFirst(std::string command) {
  std::size_t start = command.find_first_not_of(" \t");
  if (start == std::string::npos) return command;
  std::size_t end = std::min(command.find_first_of(" \t", start), command.size());
  std::string local = LocalProgram(command.substr(start, end - start));
  return local.empty() ? command : command.substr(0, start) + local + command.substr(end);
}

}  // namespace

std::optional<int> RunShell(std::string_view arguments) {
  std::string command(arguments);
  std::size_t start = command.find_first_not_of(' ');
  if (start != std::string::npos && command.compare(start, 2, "/C") == 0) {
    command.erase(0, start + 2);
  } else if (start != std::string::npos && command.compare(start, 2, "/c") == 0) {
    command.erase(0, start + 2);
  }
  if (command.find('\0') != std::string::npos) return std::nullopt;

  std::vector<std::string> words = PlainWords(command);
  if (words.empty()) return Shell(CurrentDirectoryFirst(command));
  if (std::string local = LocalProgram(words[0]); !local.empty()) {
    words[0] = local;
    return Start(local, std::move(words));
  }
  std::string file = words[0].find('/') != std::string::npos ? words[0] : PathProgram(words[0]);
  if (!file.empty()) return Start(file, std::move(words));
  if (IsShellCommand(words[0])) return Shell(command);
  return std::nullopt;
}

}  // namespace zuvtill::runtime
