#include "host/till_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

#include "host/export_names.h"

namespace zuvtill::host {
namespace {

// The libraries whose upper-case symbols are host functions.
bool IsBoundLibrary(const char* path) {
  static const std::string_view kLibraries[] = {"libzuvtill.so",  "libzuvcore.so",   "libzuvfault.so",
                                                "libzuvorg.so",   "libzuvelzab.so",  "libzuvposnet.so",
                                                "libzuvcollect.so"};
  std::string_view name = path ? path : "";
  std::size_t slash = name.rfind('/');
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  return std::find(std::begin(kLibraries), std::end(kLibraries), name) != std::end(kLibraries);
}

}  // namespace

TillLibrary::TillLibrary(const std::string& path) {
  // Global, so that the bound libraries' functions are reachable by name
  // from key expressions as well (an order on _PL(...)).
  handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
  if (!handle_) {
    const char* error = ::dlerror();
    throw LoadError(error ? error : "cannot load " + path);
  }
}

TillLibrary::~TillLibrary() { ::dlclose(handle_); }

runtime::HostFunction TillLibrary::Find(std::string_view upperName) const {
  if (!IsExportName(upperName)) return nullptr;
  void* symbol = ::dlsym(handle_, std::string(upperName).c_str());
  Dl_info info;
  if (!symbol || ::dladdr(symbol, &info) == 0 || !IsBoundLibrary(info.dli_fname)) return nullptr;
  return reinterpret_cast<runtime::HostFunction>(symbol);
}

const char* const kTillLibraryName = "libzuvtill.so";

std::string TillLibraryBesideProgram() {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  std::string program = n > 0 ? std::string(buffer, n) : "";
  std::size_t slash = program.rfind('/');
  return (slash == std::string::npos ? std::string(".") : program.substr(0, slash)) + "/libzuvtill.so";
}

}  // namespace zuvtill::host
