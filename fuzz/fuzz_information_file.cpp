// Information files of the printer from untrusted bytes, read by
// WD_DRPARAM under the dry-run switch: 0 or -2, every output a text, never
// a crash or a hang.
#include "fuzz_support.h"
#include "runtime/export.h"
#include "runtime/runtime.h"

ZUV_EXPORT void WD_DRPARAM(zuvtill::runtime::Params& p);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zuvtill::runtime;
  static const bool ready = [] {
    std::filesystem::current_path(zuvprint::fuzzing::ScratchDirectory());
    std::filesystem::create_directories("FISK");
    std::ofstream("DEBUGWIN");
    return true;
  }();
  (void)ready;
  Runtime& rt = Runtime::Get();
  rt.Reset();
  Array months;
  for (int m = 1; m <= 12; ++m) months.push_back(Value::Text("m" + std::to_string(m)));
  rt.Variables().Assign("tab_mies", Value::OfArray(std::move(months)));
  zuvprint::fuzzing::WriteInput("FISK/DW_PARDR.df3", data, size);
  std::filesystem::remove("FISK/ERRORZUV.FP6");
  std::filesystem::remove("FISK/ERRORZUV.DF3");

  std::vector<Cell> outputs;
  Params p;
  for (int i = 0; i < 23; ++i) {
    outputs.push_back(std::make_shared<Value>());
    p.AddReference(outputs.back());
  }
  WD_DRPARAM(p);
  double result = p.Result().AsNumber();
  if (result != 0 && result != -2) std::abort();
  for (int i = 0; i < 23; ++i) {
    // Output 20 may take the device's character value, which the stand-in
    // leaves NIL; every other output is a text.
    if (i != 19 && !outputs[i]->IsText()) std::abort();
  }
  return 0;
}
