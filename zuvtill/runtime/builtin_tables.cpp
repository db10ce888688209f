// The work-area functions: select, order, seek, skip, position and fields.
#include "runtime/builtin_arguments.h"
#include "runtime/dos_path.h"
#include "runtime/text.h"
#include "runtime/functions.h"
#include "runtime/runtime.h"

namespace zuvtill::runtime {
namespace {

WorkAreas& Areas() { return Runtime::Get().Areas(); }

// The selected area; the host's error when none is in use.
WorkArea& Current(const char* function) {
  WorkArea* area = Areas().Current();
  if (!area) throw HostError(std::string(function) + ": no table in use in work area " +
                             std::to_string(Areas().CurrentNumber()));
  return *area;
}

// The area of an alias or a number, or the selected one for NIL.
WorkArea* AreaOf(const Params& p, int n, const char* function) {
  if (p.IsNil(n)) return Areas().Current();
  if (p.IsText(n)) return Areas().Find(p.Get(n).AsText());
  (void)NumberArgument(p, n, function);
  int previous = Areas().CurrentNumber();
  Areas().Select(IntArgument(p, n, function));
  WorkArea* area = Areas().Current();
  Areas().Select(previous);
  return area;
}

// A table file name with ".dbf" added when it has no extension.
std::string TableFileName(const std::string& name) {
  std::string path = HostPath(name);
  std::size_t slash = path.rfind('/');
  std::size_t dot = path.rfind('.');
  return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? path + ".dbf" : path;
}

// DBCREATE's structure: {{name, type, width, decimals}, ...}.
std::vector<FieldInfo> Structure(const Params& p) {
  if (!p.IsArray(2)) ArgumentError("DBCREATE", 2, "an array", p);
  std::vector<FieldInfo> fields;
  for (const Value& row : *p.Get(2).AsArray()) {
    if (!row.IsArray() || row.AsArray()->size() < 3) throw HostError("DBCREATE: each field needs {name, type, width[, decimals]}");
    const Array& f = *row.AsArray();
    Params field(std::vector<Value>(f.begin(), f.end()));
    std::string type = Upper(TextArgument(field, 2, "DBCREATE field"));
    if (type.size() != 1 || std::string_view("CNLD").find(type[0]) == std::string_view::npos) {
      throw HostError("DBCREATE: field type must be C, N, L or D, not " + type);
    }
    int width = type == "L" ? 1 : type == "D" ? 8 : IntArgument(field, 3, "DBCREATE field");
    int decimals = OptionalInt(field, 4, "DBCREATE field", 0);
    std::string name = Upper(TextArgument(field, 1, "DBCREATE field"));
    if (name.empty() || name.size() > 10 || width < 1 || width > 254 || decimals < 0 || decimals >= width) {
      throw HostError("DBCREATE: bad field " + name);
    }
    fields.push_back({name, type[0], width, decimals, 0});
  }
  return fields;
}

}  // namespace

void RegisterTableFunctions(FunctionTable& t) {
  t.Register("DBCREATE", [](Params& p) {
    DbfTable::Create(TableFileName(TextArgument(p, 1, "DBCREATE")), Structure(p));
  });
  // DBUSEAREA(new area, driver, file, alias): the alias defaults to the
  // file's name; the orders are those tables.ini gives the alias.
  t.Register("DBUSEAREA", [](Params& p) {
    std::string file = TableFileName(TextArgument(p, 3, "DBUSEAREA"));
    std::string alias = p.Text(4);
    if (alias.empty()) {
      std::size_t slash = file.rfind('/');
      alias = file.substr(slash == std::string::npos ? 0 : slash + 1);
      alias = alias.substr(0, alias.rfind('.'));
    }
    if (!p.Logical(1, false) && Areas().Current()) Areas().Close(Areas().Current()->Alias());
    Areas().Open(alias, DbfTable::Open(file), Runtime::Get().Data().OrdersOf(alias));
  });
  t.Register("DBCLOSEAREA", [](Params&) {
    if (WorkArea* area = Areas().Current()) Areas().Close(area->Alias());
  });
  t.Register("DBSELECTAREA", [](Params& p) {
    if (p.IsText(1)) {
      Areas().Select(p.Get(1).AsText());
    } else {
      Areas().Select(IntArgument(p, 1, "DBSELECTAREA"));
    }
  });
  t.Register("SELECT", [](Params& p) {
    p.SetResult(Value::Number(p.IsText(1) ? Areas().NumberOf(p.Get(1).AsText()) : Areas().CurrentNumber()));
  });
  t.Register("ALIAS", [](Params& p) {
    WorkArea* area = AreaOf(p, 1, "ALIAS");
    p.SetResult(Value::Text(area ? area->Alias() : ""));
  });
  t.Register("USED", [](Params& p) { p.SetResult(Value::Logical(Areas().Current() != nullptr)); });
  t.Register("ORDSETFOCUS", [](Params& p) {
    WorkArea& area = Current("ORDSETFOCUS");
    int previous = area.Order();
    if (!p.IsNil(1)) area.SetOrder(IntArgument(p, 1, "ORDSETFOCUS"));
    p.SetResult(Value::Number(previous));
  });
  t.Register("DBSEEK", [](Params& p) {
    if (p.IsNil(1)) ArgumentError("DBSEEK", 1, "a key value", p);
    p.SetResult(Value::Logical(Current("DBSEEK").Seek(p.Get(1), p.Logical(2, false))));
  });
  t.Register("DBSKIP", [](Params& p) {
    Current("DBSKIP").Skip(OptionalLong(p, 1, "DBSKIP", 1));
  });
  t.Register("DBGOTOP", [](Params&) { Current("DBGOTOP").GoTop(); });
  t.Register("DBGOBOTTOM", [](Params&) { Current("DBGOBOTTOM").GoBottom(); });
  t.Register("DBGOTO", [](Params& p) { Current("DBGOTO").GoTo(LongArgument(p, 1, "DBGOTO")); });
  t.Register("DBAPPEND", [](Params&) { Current("DBAPPEND").Append(); });
  t.Register("EOF", [](Params& p) { p.SetResult(Value::Logical(Current("EOF").Eof())); });
  t.Register("BOF", [](Params& p) { p.SetResult(Value::Logical(Current("BOF").Bof())); });
  t.Register("FOUND", [](Params& p) { p.SetResult(Value::Logical(Current("FOUND").Found())); });
  t.Register("RECNO", [](Params& p) { p.SetResult(Value::Number(static_cast<double>(Current("RECNO").RecNo()))); });
  t.Register("LASTREC", [](Params& p) {
    p.SetResult(Value::Number(static_cast<double>(Current("LASTREC").LastRec())));
  });
  t.Register("RECCOUNT", [](Params& p) {
    p.SetResult(Value::Number(static_cast<double>(Current("RECCOUNT").LastRec())));
  });
  t.Register("FIELDPOS", [](Params& p) {
    p.SetResult(Value::Number(Current("FIELDPOS").FieldIndex(TextArgument(p, 1, "FIELDPOS")) + 1));
  });
  t.Register("FIELDGET", [](Params& p) {
    WorkArea& area = Current("FIELDGET");
    int n = IntArgument(p, 1, "FIELDGET");
    if (n < 1 || n > static_cast<int>(area.Table().Fields().size())) {
      throw HostError("FIELDGET: " + area.Alias() + " has no field " + std::to_string(n));
    }
    p.SetResult(area.FieldGet(n - 1));
  });
  t.Register("ORDKEYCOUNT", [](Params& p) {
    p.SetResult(Value::Number(static_cast<double>(Current("ORDKEYCOUNT").KeyCount())));
  });
}

}  // namespace zuvtill::runtime
