// Host values: what the host hands to every exported function and gets back.
// Texts are bytes in code page 852; numbers are doubles; a date is a day
// number (0 is the empty date); arrays and code blocks are shared, as the
// host shares them: copying a value copies the reference, not the elements.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace zuvtill::runtime {

class Value;
using Array = std::vector<Value>;
using ArrayRef = std::shared_ptr<Array>;

// A date as a Julian day number; 0 is the empty date.
struct Date {
  std::int32_t julian = 0;
  bool IsEmpty() const { return julian == 0; }
  friend bool operator==(Date, Date) = default;
  friend auto operator<=>(Date, Date) = default;
};

// A code block: its source text (for display) and what evaluating it does.
struct CodeBlock {
  std::string source;
  std::function<Value(const std::vector<Value>&)> body;
};
using BlockRef = std::shared_ptr<const CodeBlock>;

class Value {
 public:
  enum class Type { Nil, Character, Numeric, Logical, Date, Array, Block };

  Value() = default;  // NIL
  static Value Text(std::string bytes);
  static Value Number(double number);
  static Value Logical(bool logical);
  static Value OfDate(Date date);
  static Value OfArray(Array elements);
  static Value OfArray(ArrayRef elements);
  static Value OfBlock(CodeBlock block);

  Type GetType() const { return static_cast<Type>(v_.index()); }
  // The host's VALTYPE() letter: U C N L D A B.
  char TypeLetter() const;

  bool IsNil() const { return GetType() == Type::Nil; }
  bool IsText() const { return GetType() == Type::Character; }
  bool IsNumber() const { return GetType() == Type::Numeric; }
  bool IsLogical() const { return GetType() == Type::Logical; }
  bool IsDate() const { return GetType() == Type::Date; }
  bool IsArray() const { return GetType() == Type::Array; }
  bool IsBlock() const { return GetType() == Type::Block; }

  // Each throws HostError when the value is of another type.
  const std::string& AsText() const;
  double AsNumber() const;
  bool AsLogical() const;
  Date AsDate() const;
  const ArrayRef& AsArray() const;
  const BlockRef& AsBlock() const;

 private:
  std::variant<std::monostate, std::string, double, bool, Date, ArrayRef, BlockRef> v_;
};

// The host's name of a type, for messages ("character", "numeric", ...).
const char* TypeName(Value::Type type);

// Evaluates a code block with the given arguments.
Value Evaluate(const Value& block, const std::vector<Value>& arguments = {});

}  // namespace zuvtill::runtime
