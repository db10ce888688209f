// The host services that answer from the tables of the data directory
// (VAT rates, fiscal designations, unit names) read the table files
// themselves, so that the host's work areas keep their positions.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "runtime/value.h"

namespace zuvtill::hostlibs {

using runtime::Value;

// Field of one record, read by name (NIL for a field the table lacks).
using FieldReader = std::function<Value(std::string_view field)>;

// Field answer of the first record of the data directory's table alias for
// which match is true; NIL when no record matches or there is no such table.
Value FirstMatch(const std::string& alias, const std::function<bool(const FieldReader&)>& match,
                 std::string_view answer);

// The text of a field value without its outer blanks ("" for a non-text).
std::string Trimmed(const Value& v);

}  // namespace zuvtill::hostlibs
