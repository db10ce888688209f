// Stand-in of the host library zuvorg.
#include "hostlibs/zuvorg.h"

#include "hostlibs/data_lookup.h"
#include "runtime/runtime.h"
#include "runtime/text.h"

using namespace zuvtill::runtime;
using zuvtill::hostlibs::FieldReader;
using zuvtill::hostlibs::FirstMatch;
using zuvtill::hostlibs::Trimmed;

// jm.dbf: kod C, nazwa C. The unit's name without outer blanks; "" for an
// unknown code.
ZUV_EXPORT void JM_NAZWA(Params& p) {
  if (Runtime::Get().Recorder().AnswerUnrecorded("JM_NAZWA", p)) return;
  std::string code = Upper(AllTrim(p.Text(1)));
  Value name = FirstMatch("jm", [&](const FieldReader& f) { return Upper(Trimmed(f("kod"))) == code; }, "nazwa");
  p.SetResult(Value::Text(Trimmed(name)));
}
