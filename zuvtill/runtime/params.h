// The parameter list of a host function: the arguments as the caller passed
// them (by value or by reference), and the result. Every exported function
// of the libraries takes one; so do the runtime's own functions.
//
// An argument passed by value is the callee's own copy: writing it changes
// nothing outside. An argument passed by reference shares the caller's
// variable: writing it writes the variable. Positions are 1-based as the
// host counts them; a position beyond the count reads as NIL.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/value.h"

namespace zuvtill::runtime {

using Cell = std::shared_ptr<Value>;

class Params {
 public:
  Params() = default;
  // A list of values, each passed by value.
  explicit Params(std::vector<Value> values);

  void Add(Value value);
  void AddReference(Cell variable);
  // Hands argument n of from on to this list: by reference when it came by
  // reference, so that a write by the next callee reaches the first caller.
  // A missing argument is handed on as NIL.
  void Forward(const Params& from, int n);
  // Hands argument n of from on by reference whatever way it came: the
  // first caller's variable when it came by reference, otherwise a copy
  // that the next callee may write and nobody else sees.
  void ForwardByReference(const Params& from, int n);

  int Count() const { return static_cast<int>(args_.size()); }
  const Value& Get(int n) const;
  bool IsReference(int n) const;

  bool IsText(int n) const { return Get(n).IsText(); }
  bool IsNumber(int n) const { return Get(n).IsNumber(); }
  bool IsLogical(int n) const { return Get(n).IsLogical(); }
  bool IsArray(int n) const { return Get(n).IsArray(); }
  bool IsNil(int n) const { return Get(n).IsNil(); }

  // The argument when it has the type, otherwise the fallback: a missing or
  // wrongly typed argument takes the function's default.
  std::string Text(int n, std::string_view fallback = "") const;
  double Number(int n, double fallback = 0) const;
  // The number as an integer count, position or handle, held at the ends
  // of int's range (see SaturatedInt).
  int Integer(int n, int fallback = 0) const;
  bool Logical(int n, bool fallback = false) const;

  // Writes argument n; the caller sees it when it passed a reference.
  // Positions beyond the count are ignored.
  void Store(int n, Value value);

  void SetResult(Value value) { result_ = std::move(value); }
  const Value& Result() const { return result_; }

 private:
  struct Argument {
    Cell cell;
    bool byReference = false;
  };
  std::vector<Argument> args_;
  Value result_;
};

// The signature of every exported host function.
using HostFunction = void (*)(Params&);

// Calls fn with the values (each by value) and answers its result.
Value Call(HostFunction fn, std::vector<Value> values = {});

}  // namespace zuvtill::runtime
