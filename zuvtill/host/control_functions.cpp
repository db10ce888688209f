#include "host/control_functions.h"

#include "runtime/builtin_arguments.h"
#include "runtime/runtime.h"

namespace zuvtill::host {
namespace {

using runtime::Params;
using runtime::Value;

runtime::StandIns& Recorder() { return runtime::Runtime::Get().Recorder(); }

}  // namespace

void RegisterControlFunctions(runtime::FunctionTable& t) {
  t.Register("ZH_ANSWER", [](Params& p) { Recorder().SetAnswer(runtime::TextArgument(p, 1, "ZH_ANSWER"), p.Get(2)); });
  t.Register("ZH_WRITE", [](Params& p) {
    Recorder().SetWrite(runtime::TextArgument(p, 1, "ZH_WRITE"), runtime::IntArgument(p, 2, "ZH_WRITE"), p.Get(3));
  });
  t.Register("ZH_RAISE", [](Params& p) {
    Recorder().SetRaise(runtime::TextArgument(p, 1, "ZH_RAISE"), runtime::TextArgument(p, 2, "ZH_RAISE"));
  });
  t.Register("ZH_CALLS", [](Params& p) {
    std::string calls;
    for (const runtime::RecordedCall& c : Recorder().TakeCalls()) calls += (calls.empty() ? "" : "\n") + c.Describe();
    p.SetResult(Value::Text(calls));
  });
  t.Register("ZH_RESET", [](Params&) { Recorder().Reset(); });
  t.Register("ZH_SCREEN", [](Params& p) {
    p.SetResult(Value::Text(runtime::Runtime::Get().Terminal().ScreenRow(runtime::IntArgument(p, 1, "ZH_SCREEN"))));
  });
}

}  // namespace zuvtill::host
