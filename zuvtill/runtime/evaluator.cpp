#include "runtime/evaluator.h"

#include <cmath>
#include <utility>

#include "runtime/numbers.h"
#include "runtime/runtime.h"
#include "runtime/text.h"

namespace zuvtill::runtime {
namespace {

// The parameters of the code blocks being evaluated, innermost last.
struct Locals {
  std::vector<std::pair<std::string, Cell>> variables;
  std::shared_ptr<const Locals> outer;

  Cell Find(std::string_view name) const {
    for (const Locals* l = this; l; l = l->outer.get()) {
      for (const auto& [n, cell] : l->variables) {
        if (n == name) return cell;
      }
    }
    return nullptr;
  }
};
using LocalsRef = std::shared_ptr<const Locals>;

[[noreturn]] void TypeMismatch(const std::string& op, const Value& a, const Value& b) {
  throw HostError("data type error: " + op + " of " + TypeName(a.GetType()) + " and " + TypeName(b.GetType()));
}

bool TextEquals(const std::string& left, const std::string& right, bool exact) {
  // Without exactness ("="), the left text needs only to begin with the right one.
  return exact ? left == right : left.compare(0, right.size(), right) == 0;
}

bool Equal(const Value& a, const Value& b, bool exact, const std::string& op) {
  if (a.IsNil() || b.IsNil()) return a.IsNil() && b.IsNil();
  if (a.GetType() != b.GetType()) TypeMismatch(op, a, b);
  switch (a.GetType()) {
    case Value::Type::Character: return TextEquals(a.AsText(), b.AsText(), exact);
    case Value::Type::Array: return a.AsArray() == b.AsArray();
    case Value::Type::Block: return a.AsBlock() == b.AsBlock();
    default: return CompareKeys(a, b) == 0;
  }
}

// A date moved by a number of days; the host's dates end with the year 9999.
Value DaysFrom(Date date, double days) {
  double julian = static_cast<double>(date.julian) + std::trunc(days);
  if (!(julian >= 1 && julian <= 5373484)) throw HostError("date out of range");
  return Value::OfDate({static_cast<std::int32_t>(julian)});
}

Value Arithmetic(const std::string& op, const Value& a, const Value& b) {
  if (op == "+") {
    if (a.IsText() && b.IsText()) return Value::Text(a.AsText() + b.AsText());
    if (a.IsDate() && b.IsNumber()) return DaysFrom(a.AsDate(), b.AsNumber());
    if (a.IsNumber() && b.IsDate()) return DaysFrom(b.AsDate(), a.AsNumber());
  }
  if (op == "-") {
    if (a.IsText() && b.IsText()) {
      // The trailing blanks of the left text move to the end.
      std::string left = RTrim(a.AsText());
      return Value::Text(left + b.AsText() + std::string(a.AsText().size() - left.size(), ' '));
    }
    if (a.IsDate() && b.IsNumber()) return DaysFrom(a.AsDate(), -b.AsNumber());
    if (a.IsDate() && b.IsDate()) return Value::Number(a.AsDate().julian - b.AsDate().julian);
  }
  if (!a.IsNumber() || !b.IsNumber()) TypeMismatch(op, a, b);
  double x = a.AsNumber(), y = b.AsNumber();
  if (op == "+") return Value::Number(x + y);
  if (op == "-") return Value::Number(x - y);
  if (op == "*") return Value::Number(x * y);
  if (op == "^") return Value::Number(std::pow(x, y));
  if (y == 0) throw HostError("division by zero");
  if (op == "/") return Value::Number(x / y);
  return Value::Number(std::fmod(x, y));
}

class Evaluator {
 public:
  Evaluator(WorkArea* fieldArea, LocalsRef locals) : fieldArea_(fieldArea), locals_(std::move(locals)) {}

  Value Eval(const Node& n) {
    switch (n.kind) {
      case Node::Kind::Literal: return n.literal;
      case Node::Kind::Name: return Name(n.name);
      case Node::Kind::Field: return Field(n);
      case Node::Kind::Memvar: return Runtime::Get().Variables().Get(n.name);
      case Node::Kind::Call: return Call(n);
      case Node::Kind::Reference: throw HostError("@" + n.name + ": a reference can only be passed to a function");
      case Node::Kind::Unary: return Unary(n);
      case Node::Kind::Binary: return Binary(n);
      case Node::Kind::Assign: return Assign(n);
      case Node::Kind::ArrayLiteral: {
        Array elements;
        for (const NodePtr& c : n.children) elements.push_back(Eval(*c));
        return Value::OfArray(std::move(elements));
      }
      case Node::Kind::Block: return Block(n);
      case Node::Kind::Index: {
        Value base = Eval(*n.children[0]);
        return *Element(base, Eval(*n.children[1]));
      }
    }
    return {};
  }

 private:
  WorkArea* Area() const { return fieldArea_ ? fieldArea_ : Runtime::Get().Areas().Current(); }

  Value Name(const std::string& name) {
    if (locals_) {
      if (Cell c = locals_->Find(name)) return *c;
    }
    if (WorkArea* area = Area()) {
      int field = area->FieldIndex(name);
      if (field >= 0) return area->FieldGet(field);
    }
    Cell cell = Runtime::Get().Variables().Find(name);
    if (!cell) throw UndefinedError("variable does not exist: " + name);
    return *cell;
  }

  std::pair<WorkArea*, int> FieldOf(const Node& n) {
    WorkArea* area = n.alias.empty() ? Area() : Runtime::Get().Areas().Find(n.alias);
    if (!area) {
      throw UndefinedError(n.alias.empty() ? "no table is selected" : "no table is open under the alias " + n.alias);
    }
    int field = area->FieldIndex(n.name);
    if (field < 0) throw UndefinedError("field does not exist: " + area->Alias() + "->" + n.name);
    return {area, field};
  }

  Value Field(const Node& n) {
    auto [area, field] = FieldOf(n);
    return area->FieldGet(field);
  }

  Value Call(const Node& n) {
    if (n.name == "IIF" || n.name == "IF") {
      if (n.children.size() != 3) throw HostError(n.name + " takes 3 arguments");
      Value condition = Eval(*n.children[0]);
      if (!condition.IsLogical()) throw HostError("data type error: " + n.name + " needs a logical condition");
      return Eval(*n.children[condition.AsLogical() ? 1 : 2]);
    }
    HostFunction fn = Runtime::Get().Functions().Find(n.name);
    if (!fn) throw UnknownFunctionError("unknown function: " + n.name);
    Params params;
    for (const NodePtr& c : n.children) {
      if (c->kind == Node::Kind::Reference) {
        Cell local = locals_ ? locals_->Find(c->name) : nullptr;
        params.AddReference(local ? local : Runtime::Get().Variables().Reference(c->name));
      } else {
        params.Add(Eval(*c));
      }
    }
    fn(params);
    return params.Result();
  }

  Value Unary(const Node& n) {
    Value v = Eval(*n.children[0]);
    if (n.op == "!") {
      if (!v.IsLogical()) throw HostError(std::string("data type error: .NOT. of ") + TypeName(v.GetType()));
      return Value::Logical(!v.AsLogical());
    }
    if (!v.IsNumber()) throw HostError("data type error: " + n.op + " of " + TypeName(v.GetType()));
    return Value::Number(n.op == "-" ? -v.AsNumber() : v.AsNumber());
  }

  bool Logical(const Node& n, const std::string& op) {
    Value v = Eval(n);
    if (!v.IsLogical()) throw HostError("data type error: " + op + " of " + TypeName(v.GetType()));
    return v.AsLogical();
  }

  Value Binary(const Node& n) {
    const std::string& op = n.op;
    if (op == ".AND.") return Value::Logical(Logical(*n.children[0], op) && Logical(*n.children[1], op));
    if (op == ".OR.") return Value::Logical(Logical(*n.children[0], op) || Logical(*n.children[1], op));
    Value a = Eval(*n.children[0]);
    Value b = Eval(*n.children[1]);
    if (op == "==" || op == "=") return Value::Logical(Equal(a, b, op == "==", op));
    if (op == "!=" || op == "<>" || op == "#") return Value::Logical(!Equal(a, b, false, op));
    if (op == "$") {
      if (!a.IsText() || !b.IsText()) TypeMismatch(op, a, b);
      return Value::Logical(b.AsText().find(a.AsText()) != std::string::npos);
    }
    if (op == "<" || op == "<=" || op == ">" || op == ">=") {
      if (a.GetType() != b.GetType() || a.IsArray() || a.IsBlock() || a.IsNil()) TypeMismatch(op, a, b);
      int c = CompareKeys(a, b);
      return Value::Logical(op == "<" ? c < 0 : op == "<=" ? c <= 0 : op == ">" ? c > 0 : c >= 0);
    }
    return Arithmetic(op, a, b);
  }

  Cell Element(const Value& base, const Value& index) {
    if (!base.IsArray()) throw HostError(std::string("data type error: ") + TypeName(base.GetType()) + " indexed");
    if (!index.IsNumber()) throw HostError("data type error: array index is not numeric");
    const ArrayRef& array = base.AsArray();
    double i = index.AsNumber();
    if (!(i >= 1 && i < static_cast<double>(array->size()) + 1)) {
      throw HostError("array index out of range: " + ShortestNumber(std::trunc(i)) + " of " +
                      std::to_string(array->size()));
    }
    // The element shares the array's storage; the alias keeps the array alive.
    return Cell(array, &(*array)[static_cast<std::size_t>(i) - 1]);
  }

  Value Assign(const Node& n) {
    const Node& target = *n.children[0];
    Value value = Eval(*n.children[1]);
    switch (target.kind) {
      case Node::Kind::Name: {
        Cell local = locals_ ? locals_->Find(target.name) : nullptr;
        if (local) {
          *local = value;
        } else {
          Runtime::Get().Variables().Assign(target.name, value);
        }
        break;
      }
      case Node::Kind::Memvar: Runtime::Get().Variables().Assign(target.name, value); break;
      case Node::Kind::Field: {
        auto [area, field] = FieldOf(target);
        area->FieldPut(field, value);
        break;
      }
      default: {  // Index
        Value base = Eval(*target.children[0]);
        *Element(base, Eval(*target.children[1])) = value;
      }
    }
    return value;
  }

  Value Block(const Node& n) {
    LocalsRef outer = locals_;
    // The block keeps its node alive through the shared tree it came from.
    NodePtr keep = keep_;
    CodeBlock block;
    block.source = n.source;
    block.body = [&n, outer, keep](const std::vector<Value>& args) {
      auto locals = std::make_shared<Locals>();
      locals->outer = outer;
      for (std::size_t i = 0; i < n.parameters.size(); ++i) {
        locals->variables.emplace_back(n.parameters[i], std::make_shared<Value>(i < args.size() ? args[i] : Value()));
      }
      Evaluator inner(nullptr, locals);
      inner.keep_ = keep;
      Value result;
      for (const NodePtr& c : n.children) result = inner.Eval(*c);
      return result;
    };
    return Value::OfBlock(std::move(block));
  }

 public:
  NodePtr keep_;  // the tree being evaluated, kept alive by the blocks made from it

 private:
  WorkArea* fieldArea_;
  LocalsRef locals_;
};

Value Run(const NodePtr& expression, WorkArea* area) {
  Evaluator e(area, nullptr);
  e.keep_ = expression;
  return e.Eval(*expression);
}

}  // namespace

Value EvaluateExpression(const NodePtr& expression) { return Run(expression, nullptr); }

Value EvaluateWithFields(const NodePtr& expression, WorkArea& area) { return Run(expression, &area); }

std::string TypeOf(std::string_view expression) {
  NodePtr node;
  try {
    node = ParseExpression(expression);
  } catch (const HostError&) {
    return "UE";
  }
  try {
    Value v = EvaluateExpression(node);
    return std::string(1, v.TypeLetter());
  } catch (const UndefinedError&) {
    return "U";
  } catch (const UnknownFunctionError&) {
    return "UI";
  } catch (const HostError&) {
    return "UE";
  }
}

}  // namespace zuvtill::runtime
