#include "runtime/value.h"

#include "runtime/host_error.h"

namespace zuvtill::runtime {

HostError::HostError(const std::string& message) : std::runtime_error(message) {}
// Defined here so that every library shares one type of the exception.
HostError::~HostError() = default;

namespace {

[[noreturn]] void WrongType(Value::Type wanted, Value::Type found) {
  throw HostError(std::string("data type error: ") + TypeName(wanted) + " expected, " +
                  TypeName(found) + " found");
}

template <typename T>
const T& Get(const std::variant<std::monostate, std::string, double, bool, Date, ArrayRef, BlockRef>& v,
             Value::Type wanted) {
  if (const T* p = std::get_if<T>(&v)) return *p;
  WrongType(wanted, static_cast<Value::Type>(v.index()));
}

}  // namespace

Value Value::Text(std::string bytes) {
  Value v;
  v.v_ = std::move(bytes);
  return v;
}

Value Value::Number(double number) {
  Value v;
  v.v_ = number;
  return v;
}

Value Value::Logical(bool logical) {
  Value v;
  v.v_ = logical;
  return v;
}

Value Value::OfDate(Date date) {
  Value v;
  v.v_ = date;
  return v;
}

Value Value::OfArray(Array elements) { return OfArray(std::make_shared<Array>(std::move(elements))); }

Value Value::OfArray(ArrayRef elements) {
  Value v;
  v.v_ = std::move(elements);
  return v;
}

Value Value::OfBlock(CodeBlock block) {
  Value v;
  v.v_ = std::make_shared<const CodeBlock>(std::move(block));
  return v;
}

char Value::TypeLetter() const {
  static constexpr char kLetters[] = {'U', 'C', 'N', 'L', 'D', 'A', 'B'};
  return kLetters[v_.index()];
}

const std::string& Value::AsText() const { return Get<std::string>(v_, Type::Character); }
double Value::AsNumber() const { return Get<double>(v_, Type::Numeric); }
bool Value::AsLogical() const { return Get<bool>(v_, Type::Logical); }
Date Value::AsDate() const { return Get<Date>(v_, Type::Date); }
const ArrayRef& Value::AsArray() const { return Get<ArrayRef>(v_, Type::Array); }
const BlockRef& Value::AsBlock() const { return Get<BlockRef>(v_, Type::Block); }

const char* TypeName(Value::Type type) {
  switch (type) {
    case Value::Type::Nil: return "NIL";
    case Value::Type::Character: return "character";
    case Value::Type::Numeric: return "numeric";
    case Value::Type::Logical: return "logical";
    case Value::Type::Date: return "date";
    case Value::Type::Array: return "array";
    case Value::Type::Block: return "code block";
  }
  return "?";
}

Value Evaluate(const Value& block, const std::vector<Value>& arguments) {
  const BlockRef& b = block.AsBlock();
  return b->body ? b->body(arguments) : Value();
}

}  // namespace zuvtill::runtime
