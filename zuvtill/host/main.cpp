// zuvhost [--data DIR] [SCRIPT]: the embedded host. Opens every table of
// the data directory (default: the current directory) under its alias,
// binds the till library and runs the script (default: standard input),
// calling the library's exports by name. Exit status: 0 when every
// statement ran, 1 when one failed, 2 for a bad command line or a library
// that cannot be loaded.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "host/control_functions.h"
#include "host/data_tables.h"
#include "host/script.h"
#include "host/standard_streams.h"
#include "host/till_library.h"
#include "runtime/runtime.h"

namespace {

using zuvtill::runtime::Runtime;

struct Options {
  std::string dataDirectory = ".";
  std::string script;  // "" for standard input
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--data" && i + 1 < argc) {
      options.dataDirectory = argv[++i];
    } else if (arg.rfind("--", 0) == 0 || !options.script.empty()) {
      return false;
    } else {
      options.script = arg;
    }
  }
  return true;
}

int Run(const Options& options) {
  std::error_code error;
  std::string absolute = std::filesystem::canonical(options.dataDirectory, error).string();
  if (error || !std::filesystem::is_directory(absolute, error)) {
    std::cerr << "zuvhost: no data directory " << options.dataDirectory << std::endl;
    return 2;
  }
  std::unique_ptr<zuvtill::host::TillLibrary> till;
  try {
    till = std::make_unique<zuvtill::host::TillLibrary>(zuvtill::host::TillLibraryBesideProgram());
  } catch (const zuvtill::host::LoadError& e) {
    std::cerr << "zuvhost: cannot load " << zuvtill::host::kTillLibraryName << ": " << e.what() << std::endl;
    return 2;
  }
  Runtime& rt = Runtime::Get();
  rt.Functions().SetLookup([&till](std::string_view name) { return till->Find(name); });
  zuvtill::host::RegisterControlFunctions(rt.Functions());
  zuvtill::host::OpenDataTables(absolute, std::cerr);

  int failures = 0;
  if (options.script.empty()) {
    failures = zuvtill::host::RunScript(std::cin, std::cout, std::cerr);
  } else {
    std::ifstream script(options.script, std::ios::binary);
    if (!script) {
      std::cerr << "zuvhost: cannot read the script " << options.script << std::endl;
      return 2;
    }
    failures = zuvtill::host::RunScript(script, std::cout, std::cerr);
  }
  // The tables close before the library goes: nothing of it is used after.
  rt.Reset();
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  zuvtill::host::PrepareStandardStreams();
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::cerr << "usage: zuvhost [--data DIR] [SCRIPT]" << std::endl;
    return 2;
  }
  try {
    return Run(options);
  } catch (const std::exception& e) {
    std::cerr << "zuvhost: " << e.what() << std::endl;
    return 2;
  }
}
