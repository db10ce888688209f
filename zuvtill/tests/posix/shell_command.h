// Commands through /bin/sh for the tests.
#pragma once

#include <stdio.h>
#include <sys/wait.h>

#include <string>

namespace zuvtill::testing {

// Runs a command through the shell; answers its exit status and, in out,
// its standard output and error together.
inline int RunCommand(const std::string& command, std::string& out) {
  out.clear();
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return -1;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  int status = ::pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The text as one word of a shell command line.
inline std::string Quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace zuvtill::testing
