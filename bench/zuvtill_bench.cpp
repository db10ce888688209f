// Benchmark of the library's receipt composition: WD_DRPARAG's dry run over
// a sales document of 10, 1,000 and 10,000 items in real DBF tables (made
// by bench/make-receipt-data), through the real libzuvtill.so bound as the
// embedded host binds it. One iteration opens the tables, runs the host's
// call and leaves the finished receipt file, as one receipt at the till.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

#include "host/data_tables.h"
#include "host/script.h"
#include "host/till_library.h"
#include "runtime/runtime.h"

namespace {

namespace fs = std::filesystem;
using zuvtill::runtime::Runtime;

// The data of a document of n items, made once per size and removed at the
// end of the run.
struct MadeData {
  std::map<int, fs::path> dirs;
  ~MadeData() {
    std::error_code ignored;
    for (const auto& [items, dir] : dirs) fs::remove_all(dir, ignored);
  }
};

const fs::path& ReceiptData(int items) {
  static MadeData made;
  auto it = made.dirs.find(items);
  if (it != made.dirs.end()) return it->second;
  fs::path dir = fs::temp_directory_path() / ("zuvtill-bench-" + std::to_string(::getpid()) + "-" + std::to_string(items));
  fs::remove_all(dir);
  const std::string command = "ZUVHOST='" ZUVHOST_BIN "' '" MAKE_RECEIPT_DATA "' " + std::to_string(items) + " '" +
                              dir.string() + "' >/dev/null";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot make the receipt data: " + command);
  return made.dirs.emplace(items, dir).first->second;
}

zuvtill::host::TillLibrary& Till() {
  static zuvtill::host::TillLibrary till(ZUVTILL_LIBRARY);
  return till;
}

void BM_ComposeReceipt(benchmark::State& state) {
  const int items = static_cast<int>(state.range(0));
  const fs::path& dir = ReceiptData(items);
  std::ifstream file(dir / "paragon.prg");
  const std::string script((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const fs::path before = fs::current_path();
  fs::current_path(dir / "host");  // the dry-run switch and FISK are the host directory's
  Runtime& rt = Runtime::Get();
  for (auto _ : state) {
    rt.Reset();
    rt.Functions().SetLookup([](std::string_view name) { return Till().Find(name); });
    std::ostringstream out, errors;
    zuvtill::host::OpenDataTables((dir / "dane").string(), errors);
    std::istringstream in(script);
    if (!errors.str().empty() || zuvtill::host::RunScript(in, out, errors) != 0 || out.str() != "0\n") {
      state.SkipWithError(("the receipt was not composed: " + out.str() + errors.str()).c_str());
      break;
    }
  }
  rt.Reset();
  fs::current_path(before);
  state.SetItemsProcessed(state.iterations() * items);
}
BENCHMARK(BM_ComposeReceipt)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
