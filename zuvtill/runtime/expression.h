// xBase expressions: the key expressions of table orders, the text that
// TYPE() looks at, and the lines of the embedded host's console.
//
// The grammar, from the loosest binding: assignment (:=), .OR., .AND.,
// .NOT. / !, comparison (= == != <> # < <= > >= $), + -, * / %, ** ^,
// unary + -, indexing a[i], and the primaries: numbers, texts in "" or '',
// .T. .F. NIL, ( ), arrays {a, b}, code blocks {|x, y| expr, expr},
// @name (a reference, only as an argument), name(args), alias->field,
// M->memvar and plain names.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/value.h"

namespace zuvtill::runtime {

struct Node;
using NodePtr = std::shared_ptr<const Node>;

struct Node {
  enum class Kind {
    Literal,       // value
    Name,          // name: a block parameter, a field of the current area or a memvar
    Field,         // alias->name
    Memvar,        // M->name
    Call,          // name(children)
    Reference,     // @name
    Unary,         // op children[0]: "-" "+" "!"
    Binary,        // children[0] op children[1]
    Assign,        // children[0] := children[1]
    ArrayLiteral,  // {children}
    Block,         // {|parameters| children}
    Index,         // children[0][children[1]]
  };
  Kind kind = Kind::Literal;
  Value literal;
  std::string name;   // upper case for names, aliases and functions
  std::string alias;  // upper case
  std::string op;
  std::vector<NodePtr> children;
  std::vector<std::string> parameters;  // upper case
  std::string source;                   // a block's text, for display
  int depth = 1;                        // of the tree below and including this node
};

// How deep an expression may nest (parentheses, arguments, arrays, blocks,
// indexes, prefix operators) and how deep its tree may grow (a chain of n
// binary operators is n + 1 deep): far beyond what any key or script
// needs, and well within the stack that parsing, evaluating and releasing
// it take.
inline constexpr int kMaxExpressionDepth = 256;

// Parses one whole expression; the text is code page 852 bytes. Throws
// HostError with a message that names the column of the fault, counted
// from 1 plus column (the place of the text in its line); also for an
// expression nested or grown deeper than kMaxExpressionDepth.
NodePtr ParseExpression(std::string_view text, std::size_t column = 0);

// Parses a list of expressions separated by commas (the arguments of the
// console's "?"); an empty text gives an empty list.
std::vector<NodePtr> ParseExpressionList(std::string_view text, std::size_t column = 0);

}  // namespace zuvtill::runtime
