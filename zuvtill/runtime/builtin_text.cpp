// TRIM, PADL, SUBSTR, STR, VAL, TYPE and the other text and array functions.
#include <algorithm>

#include "runtime/builtin_arguments.h"
#include "runtime/evaluator.h"
#include "runtime/functions.h"
#include "runtime/numbers.h"
#include "runtime/text.h"

namespace zuvtill::runtime {
namespace {

void Pad(Params& p, const char* name, std::string (*pad)(std::string_view, int, char)) {
  std::string fill = p.IsNil(3) ? " " : TextArgument(p, 3, name);
  const Value& v = p.Get(1);
  // Numbers and dates are padded as they display.
  std::string text = v.IsNumber() ? ShortestNumber(v.AsNumber()) : TextArgument(p, 1, name);
  p.SetResult(Value::Text(pad(text, IntArgument(p, 2, name), fill.empty() ? ' ' : fill[0])));
}

bool IsEmptyValue(const Value& v) {
  switch (v.GetType()) {
    case Value::Type::Nil: return true;
    case Value::Type::Character: return v.AsText().find_first_not_of(" \t\r\n") == std::string::npos;
    case Value::Type::Numeric: return v.AsNumber() == 0;
    case Value::Type::Logical: return !v.AsLogical();
    case Value::Type::Date: return v.AsDate().IsEmpty();
    case Value::Type::Array: return v.AsArray()->empty();
    case Value::Type::Block: return false;
  }
  return true;
}

}  // namespace

void RegisterTextFunctions(FunctionTable& t) {
  t.Register("TRIM", [](Params& p) { p.SetResult(Value::Text(RTrim(TextArgument(p, 1, "TRIM")))); });
  t.Register("RTRIM", [](Params& p) { p.SetResult(Value::Text(RTrim(TextArgument(p, 1, "RTRIM")))); });
  t.Register("LTRIM", [](Params& p) { p.SetResult(Value::Text(LTrim(TextArgument(p, 1, "LTRIM")))); });
  t.Register("ALLTRIM", [](Params& p) { p.SetResult(Value::Text(AllTrim(TextArgument(p, 1, "ALLTRIM")))); });
  t.Register("PADL", [](Params& p) { Pad(p, "PADL", PadL); });
  t.Register("PADR", [](Params& p) { Pad(p, "PADR", PadR); });
  t.Register("PADC", [](Params& p) { Pad(p, "PADC", PadC); });
  t.Register("LEFT", [](Params& p) {
    p.SetResult(Value::Text(Left(TextArgument(p, 1, "LEFT"), IntArgument(p, 2, "LEFT"))));
  });
  t.Register("RIGHT", [](Params& p) {
    p.SetResult(Value::Text(Right(TextArgument(p, 1, "RIGHT"), IntArgument(p, 2, "RIGHT"))));
  });
  t.Register("SUBSTR", [](Params& p) {
    int count = OptionalInt(p, 3, "SUBSTR", -1);
    p.SetResult(Value::Text(Substr(TextArgument(p, 1, "SUBSTR"), IntArgument(p, 2, "SUBSTR"), count)));
  });
  t.Register("UPPER", [](Params& p) { p.SetResult(Value::Text(Upper(TextArgument(p, 1, "UPPER")))); });
  t.Register("LOWER", [](Params& p) { p.SetResult(Value::Text(Lower(TextArgument(p, 1, "LOWER")))); });
  t.Register("LEN", [](Params& p) {
    if (p.IsArray(1)) {
      p.SetResult(Value::Number(static_cast<double>(p.Get(1).AsArray()->size())));
    } else {
      p.SetResult(Value::Number(static_cast<double>(TextArgument(p, 1, "LEN").size())));
    }
  });
  t.Register("AT", [](Params& p) {
    p.SetResult(Value::Number(At(TextArgument(p, 1, "AT"), TextArgument(p, 2, "AT"))));
  });
  t.Register("SPACE", [](Params& p) {
    p.SetResult(Value::Text(std::string(std::max(0, IntArgument(p, 1, "SPACE")), ' ')));
  });
  t.Register("REPLICATE", [](Params& p) {
    std::string out;
    const std::string& s = TextArgument(p, 1, "REPLICATE");
    for (int i = 0; i < IntArgument(p, 2, "REPLICATE"); ++i) out += s;
    p.SetResult(Value::Text(out));
  });
  t.Register("CHR", [](Params& p) {
    p.SetResult(Value::Text(std::string(1, static_cast<char>(IntArgument(p, 1, "CHR") & 0xFF))));
  });
  t.Register("ASC", [](Params& p) {
    const std::string& s = TextArgument(p, 1, "ASC");
    p.SetResult(Value::Number(s.empty() ? 0 : static_cast<unsigned char>(s[0])));
  });
  t.Register("STRTRAN", [](Params& p) {
    std::string s = TextArgument(p, 1, "STRTRAN");
    const std::string& from = TextArgument(p, 2, "STRTRAN");
    std::string to = p.IsNil(3) ? "" : TextArgument(p, 3, "STRTRAN");
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
      if (!from.empty() && s.compare(i, from.size(), from) == 0) {
        out += to;
        i += from.size();
      } else {
        out += s[i++];
      }
    }
    p.SetResult(Value::Text(out));
  });
  t.Register("EMPTY", [](Params& p) { p.SetResult(Value::Logical(IsEmptyValue(p.Get(1)))); });
  t.Register("VALTYPE", [](Params& p) { p.SetResult(Value::Text(std::string(1, p.Get(1).TypeLetter()))); });
  t.Register("TYPE", [](Params& p) { p.SetResult(Value::Text(TypeOf(TextArgument(p, 1, "TYPE")))); });
  t.Register("STR", [](Params& p) {
    double n = NumberArgument(p, 1, "STR");
    if (p.IsNil(2)) {
      p.SetResult(Value::Text(Str(n)));
    } else {
      int decimals = OptionalInt(p, 3, "STR", 0);
      p.SetResult(Value::Text(Str(n, IntArgument(p, 2, "STR"), decimals)));
    }
  });
  t.Register("VAL", [](Params& p) { p.SetResult(Value::Number(Val(TextArgument(p, 1, "VAL")))); });
  t.Register("AADD", [](Params& p) {
    if (!p.IsArray(1)) ArgumentError("AADD", 1, "an array", p);
    p.Get(1).AsArray()->push_back(p.Get(2));
    p.SetResult(p.Get(2));
  });
  t.Register("ARRAY", [](Params& p) {
    int n = IntArgument(p, 1, "ARRAY");
    if (n < 0 || n > 100000) throw HostError("argument error: ARRAY size out of range");
    p.SetResult(Value::OfArray(Array(static_cast<std::size_t>(n))));
  });
  t.Register("EVAL", [](Params& p) {
    if (!p.Get(1).IsBlock()) ArgumentError("EVAL", 1, "a code block", p);
    std::vector<Value> args;
    for (int i = 2; i <= p.Count(); ++i) args.push_back(p.Get(i));
    p.SetResult(Evaluate(p.Get(1), args));
  });
}

}  // namespace zuvtill::runtime
