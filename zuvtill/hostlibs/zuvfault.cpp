// Stand-in of the host library zuvfault.
#include "hostlibs/zuvfault.h"

#include "runtime/current_directory.h"
#include "runtime/runtime.h"
#include "runtime/text.h"

using namespace zuvtill::runtime;

namespace {

bool Overridden(const char* name, Params& p) { return Runtime::Get().Recorder().AnswerUnrecorded(name, p); }

}  // namespace

// The current directory, without a trailing separator.
ZUV_EXPORT void DIRNAME(Params& p) {
  if (Overridden("DIRNAME", p)) return;
  p.SetResult(Value::Text(CurrentDirectory()));
}

// 0 when the current directory is now the path; otherwise the DOS error code.
ZUV_EXPORT void CHANGEDIR(Params& p) {
  if (Overridden("CHANGEDIR", p)) return;
  p.SetResult(Value::Number(ChangeDirectory(p.Text(1))));
}

ZUV_EXPORT void NOWY_GEN(Params& p) { Runtime::Get().Recorder().Answer("NOWY_GEN", p); }

// The key form of the stock table's index: letters in upper case, the
// Polish ones among them.
ZUV_EXPORT void _PL(Params& p) {
  if (!Overridden("_PL", p)) p.SetResult(Value::Text(Upper(p.Text(1))));
}

// Every character of the text found in from becomes the character at the
// same position in to (one that to is too short for stays as it is).
ZUV_EXPORT void _RT(Params& p) {
  if (Overridden("_RT", p)) return;
  std::string text = p.Text(1);
  std::string from = p.Text(2);
  std::string to = p.Text(3);
  for (char& c : text) {
    std::size_t i = from.find(c);
    if (i != std::string::npos && i < to.size()) c = to[i];
  }
  p.SetResult(Value::Text(text));
}
