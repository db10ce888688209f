// ROUND, INT, ABS, MAX, MIN and the date and time functions.
#include <cmath>

#include "runtime/builtin_arguments.h"
#include "runtime/dates.h"
#include "runtime/functions.h"
#include "runtime/numbers.h"

namespace zuvtill::runtime {
namespace {

void Extreme(Params& p, const char* name, bool greatest) {
  const Value& a = p.Get(1);
  const Value& b = p.Get(2);
  if (a.IsNumber() && b.IsNumber()) {
    bool first = greatest ? a.AsNumber() >= b.AsNumber() : a.AsNumber() <= b.AsNumber();
    p.SetResult(first ? a : b);
  } else if (a.IsDate() && b.IsDate()) {
    bool first = greatest ? a.AsDate() >= b.AsDate() : a.AsDate() <= b.AsDate();
    p.SetResult(first ? a : b);
  } else {
    ArgumentError(name, a.IsNumber() || a.IsDate() ? 2 : 1, "numeric or a date, both alike", p);
  }
}

}  // namespace

void RegisterNumberAndDateFunctions(FunctionTable& t) {
  t.Register("ROUND", [](Params& p) {
    p.SetResult(Value::Number(Round(NumberArgument(p, 1, "ROUND"), IntArgument(p, 2, "ROUND"))));
  });
  t.Register("INT", [](Params& p) { p.SetResult(Value::Number(IntegerPart(NumberArgument(p, 1, "INT")))); });
  t.Register("ABS", [](Params& p) { p.SetResult(Value::Number(std::fabs(NumberArgument(p, 1, "ABS")))); });
  t.Register("MAX", [](Params& p) { Extreme(p, "MAX", true); });
  t.Register("MIN", [](Params& p) { Extreme(p, "MIN", false); });
  t.Register("DATE", [](Params& p) { p.SetResult(Value::OfDate(Today())); });
  t.Register("TIME", [](Params& p) { p.SetResult(Value::Text(TimeOfDay())); });
  t.Register("DAY", [](Params& p) { p.SetResult(Value::Number(Split(DateArgument(p, 1, "DAY")).day)); });
  t.Register("MONTH", [](Params& p) { p.SetResult(Value::Number(Split(DateArgument(p, 1, "MONTH")).month)); });
  t.Register("YEAR", [](Params& p) { p.SetResult(Value::Number(Split(DateArgument(p, 1, "YEAR")).year)); });
  t.Register("CMONTH", [](Params& p) {
    p.SetResult(Value::Text(MonthName(Split(DateArgument(p, 1, "CMONTH")).month)));
  });
  t.Register("DTOC", [](Params& p) { p.SetResult(Value::Text(Dtoc(DateArgument(p, 1, "DTOC")))); });
  t.Register("DTOS", [](Params& p) { p.SetResult(Value::Text(Dtos(DateArgument(p, 1, "DTOS")))); });
  t.Register("CTOD", [](Params& p) { p.SetResult(Value::OfDate(Ctod(TextArgument(p, 1, "CTOD")))); });
  t.Register("STOD", [](Params& p) { p.SetResult(Value::OfDate(Stod(TextArgument(p, 1, "STOD")))); });
}

}  // namespace zuvtill::runtime
