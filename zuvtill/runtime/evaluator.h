// Evaluates parsed xBase expressions against the runtime: block
// parameters, fields of the work areas, memory variables and the host
// functions (the runtime's own, then the bound libraries' exports).
#pragma once

#include "runtime/expression.h"
#include "runtime/host_error.h"
#include "runtime/value.h"

namespace zuvtill::runtime {

class WorkArea;

// A name that is neither a block parameter, a field nor a variable; an
// alias that is not open; a field that the table does not have.
class UndefinedError : public HostError {
 public:
  using HostError::HostError;
};

// A function that neither the runtime nor a bound library has.
class UnknownFunctionError : public HostError {
 public:
  using HostError::HostError;
};

// Plain names are looked up among the fields of the current work area,
// then among the memory variables.
Value EvaluateExpression(const NodePtr& expression);
// The same with the fields of area in place of the current work area's
// (the key expressions of an order).
Value EvaluateWithFields(const NodePtr& expression, WorkArea& area);

// TYPE(expression): the type letter of what the expression gives: "U" for
// NIL and for undefined names, aliases and fields, "UE" for a syntax or
// evaluation error, "UI" for an unknown function.
std::string TypeOf(std::string_view expression);

}  // namespace zuvtill::runtime
