// L2M: a text of the file coding (code page 852) in the host's coding 1,
// through the host's own conversion: _RT(text, DAJ_POL(2), DAJ_POL(1)).
#include "hostlibs/zuvcore.h"
#include "hostlibs/zuvfault.h"
#include "runtime/export.h"

using namespace zuvtill::runtime;

// A value that is not a text comes back as it is.
ZUV_EXPORT void L2M(Params& p) {
  if (!p.IsText(1)) {
    p.SetResult(p.Get(1));
    return;
  }
  Value fileLetters = Call(DAJ_POL, {Value::Number(2)});
  Value hostLetters = Call(DAJ_POL, {Value::Number(1)});
  p.SetResult(Call(_RT, {p.Get(1), fileLetters, hostLetters}));
}
