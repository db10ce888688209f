#include "platform/posix/cups_library.h"

#include <dlfcn.h>

#include <mutex>

namespace zuvprint::platform {

namespace {

// The soname of the libcups2 package: the library's binary interface.
constexpr const char* kCupsLibrary = "libcups.so.2";

struct Loaded {
  CupsLibrary functions{};
  bool ok = false;
  std::string reason;
};

template <typename Function>
bool Bind(void* handle, const char* name, Function& function, std::string& reason) {
  void* symbol = dlsym(handle, name);
  if (!symbol) {
    const char* error = dlerror();
    reason = error ? error : std::string(name) + " missing";
    return false;
  }
  function = reinterpret_cast<Function>(symbol);
  return true;
}

Loaded Load() {
  Loaded loaded;
  // Kept loaded for the rest of the run: libcups keeps state (its
  // connection, the last error) between calls.
  void* handle = dlopen(kCupsLibrary, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* error = dlerror();
    loaded.reason = error ? error : kCupsLibrary;
    return loaded;
  }
  CupsLibrary& f = loaded.functions;
  loaded.ok = Bind(handle, "cupsGetDests2", f.getDests2, loaded.reason) &&
              Bind(handle, "cupsFreeDests", f.freeDests, loaded.reason) &&
              Bind(handle, "cupsAddOption", f.addOption, loaded.reason) &&
              Bind(handle, "cupsFreeOptions", f.freeOptions, loaded.reason) &&
              Bind(handle, "cupsPrintFile2", f.printFile2, loaded.reason) &&
              Bind(handle, "cupsLastErrorString", f.lastErrorString, loaded.reason);
  return loaded;
}

}  // namespace

const CupsLibrary* LoadCups(std::string* reason) {
  static std::once_flag once;
  static Loaded loaded;
  std::call_once(once, [] { loaded = Load(); });
  if (!loaded.ok && reason) *reason = loaded.reason;
  return loaded.ok ? &loaded.functions : nullptr;
}

}  // namespace zuvprint::platform
