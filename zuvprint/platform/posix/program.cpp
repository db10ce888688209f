#include "platform/program.h"

#include <malloc.h>
#include <unistd.h>

namespace zuvprint::platform {

std::string ProgramPath(const char* argv0) {
  char buffer[4096];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string(argv0 ? argv0 : "");
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void PrepareProcess() {
  // Blocks up to 64 MiB come from the heap rather than from mappings of
  // their own, which glibc would hand back at every free; the heap grows
  // 8 MiB at a time and is not trimmed.
  ::mallopt(M_MMAP_THRESHOLD, 64 << 20);
  ::mallopt(M_TOP_PAD, 8 << 20);
  ::mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

}  // namespace zuvprint::platform
