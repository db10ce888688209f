#include "hostlibs/data_lookup.h"

#include "runtime/dbf_table.h"
#include "runtime/runtime.h"
#include "runtime/text.h"

namespace zuvtill::hostlibs {

Value FirstMatch(const std::string& alias, const std::function<bool(const FieldReader&)>& match,
                 std::string_view answer) {
  std::string file = runtime::Runtime::Get().Data().TableFile(alias);
  if (file.empty()) return {};
  runtime::DbfTable table = runtime::DbfTable::Open(file);
  int answerField = table.FieldIndex(answer);
  if (answerField < 0) return {};
  for (long r = 1; r <= table.RecordCount(); ++r) {
    FieldReader read = [&](std::string_view field) {
      int i = table.FieldIndex(field);
      return i < 0 ? Value() : table.Read(r, i);
    };
    if (match(read)) return table.Read(r, answerField);
  }
  return {};
}

std::string Trimmed(const Value& v) { return v.IsText() ? runtime::AllTrim(v.AsText()) : ""; }

}  // namespace zuvtill::hostlibs
