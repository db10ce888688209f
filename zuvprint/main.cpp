// zuvprint: prints a dot-matrix print file on a printer.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "run/program_entry.h"

namespace {

std::string ProgramPath(const char* argv0) {
  char buffer[4096];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string(argv0 ? argv0 : "");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return zuvprint::UruchomProgram(ProgramPath(argc > 0 ? argv[0] : nullptr), arguments);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zuvprint: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "zuvprint: unexpected failure\n");
  }
  return 2;
}
