#include "device/dispatch.h"

namespace zuvtill::device {

using runtime::Params;
using runtime::Value;

Params HandOn::From(const Params& from) const {
  Params to;
  for (int i = 0; i < count_; ++i) {
    const Argument& a = arguments_[i];
    if (a.byReference) {
      to.ForwardByReference(from, a.position);
    } else {
      to.Add(from.Get(a.position));
    }
  }
  return to;
}

Value Callee::Call(const Params& from) const {
  Params arguments = handOn.From(from);
  function(arguments);
  return arguments.Result();
}

Value NothingDone() { return Value::Number(-3); }

void AnswerInactive(Params& p) { p.SetResult(NothingDone()); }

}  // namespace zuvtill::device
