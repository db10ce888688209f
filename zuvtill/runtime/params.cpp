#include "runtime/params.h"

#include "runtime/numbers.h"

namespace zuvtill::runtime {

Params::Params(std::vector<Value> values) {
  for (Value& v : values) Add(std::move(v));
}

void Params::Add(Value value) { args_.push_back({std::make_shared<Value>(std::move(value)), false}); }

void Params::AddReference(Cell variable) { args_.push_back({std::move(variable), true}); }

void Params::Forward(const Params& from, int n) {
  if (from.IsReference(n)) {
    AddReference(from.args_[n - 1].cell);
  } else {
    Add(from.Get(n));
  }
}

void Params::ForwardByReference(const Params& from, int n) {
  AddReference(from.IsReference(n) ? from.args_[n - 1].cell : std::make_shared<Value>(from.Get(n)));
}

const Value& Params::Get(int n) const {
  static const Value kNil;
  if (n < 1 || n > Count()) return kNil;
  return *args_[n - 1].cell;
}

bool Params::IsReference(int n) const { return n >= 1 && n <= Count() && args_[n - 1].byReference; }

std::string Params::Text(int n, std::string_view fallback) const {
  const Value& v = Get(n);
  return v.IsText() ? v.AsText() : std::string(fallback);
}

double Params::Number(int n, double fallback) const {
  const Value& v = Get(n);
  return v.IsNumber() ? v.AsNumber() : fallback;
}

int Params::Integer(int n, int fallback) const { return IsNumber(n) ? SaturatedInt(Get(n).AsNumber()) : fallback; }

bool Params::Logical(int n, bool fallback) const {
  const Value& v = Get(n);
  return v.IsLogical() ? v.AsLogical() : fallback;
}

void Params::Store(int n, Value value) {
  if (n >= 1 && n <= Count()) *args_[n - 1].cell = std::move(value);
}

Value Call(HostFunction fn, std::vector<Value> values) {
  Params p(std::move(values));
  fn(p);
  return p.Result();
}

}  // namespace zuvtill::runtime
