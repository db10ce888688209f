// Commands through cmd.exe for the tests.
#pragma once

#include <stdio.h>

#include <string>

namespace zuvtill::testing {

// Runs a command through the command interpreter; answers its exit status
// and, in out, its standard output and error together.
inline int RunCommand(const std::string& command, std::string& out) {
  out.clear();
  FILE* pipe = ::_popen((command + " 2>&1").c_str(), "rb");
  if (!pipe) return -1;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  return ::_pclose(pipe);
}

// The text as one argument of a command line, as the C runtime's parser
// reads it back: in double quotes, a quote doubled.
inline std::string Quoted(const std::string& s) {
  std::string q = "\"";
  for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

}  // namespace zuvtill::testing
