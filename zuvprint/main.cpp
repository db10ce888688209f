// zuvprint: prints a dot-matrix print file on a printer.
#include <cstdio>
#include <exception>

#include "platform/program.h"
#include "run/program_entry.h"

int main(int argc, char** argv) {
  zuvprint::platform::PrepareProcess();
  try {
    return zuvprint::UruchomProgram(zuvprint::platform::ProgramPath(argc > 0 ? argv[0] : nullptr),
                                    zuvprint::platform::ProgramArguments(argc, argv));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zuvprint: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "zuvprint: unexpected failure\n");
  }
  return 2;
}
