#include "hostlibs/process_name.h"

#include <windows.h>

namespace zuvtill::hostlibs {

// The program file's name without its extension. Host programs are named
// in ASCII, so the ANSI form is enough.
std::string ProcessName() {
  char path[MAX_PATH + 1] = {};
  DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, n);
  name.erase(0, name.find_last_of("\\/") + 1);
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

}  // namespace zuvtill::hostlibs
