#include "runtime/expression.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "runtime/host_error.h"
#include "runtime/text.h"

namespace zuvtill::runtime {
namespace {

struct Token {
  enum class Kind { End, Number, Text, Identifier, Symbol };
  Kind kind = Kind::End;
  std::string text;  // the symbol, the identifier (upper case) or the text's bytes
  double number = 0;
  std::size_t column = 0;  // 1-based
};

bool IsIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

[[noreturn]] void Fail(std::size_t column, const std::string& what) {
  throw HostError("syntax error at column " + std::to_string(column) + ": " + what);
}

std::vector<Token> Tokenize(std::string_view s, std::size_t offset) {
  static const std::string_view kLongSymbols[] = {":=", "==", "!=", "<>", "<=", ">=", "->", "**"};
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < s.size()) {
    char c = s[i];
    std::size_t column = offset + i + 1;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    if (c == '"' || c == '\'') {
      std::size_t end = s.find(c, i + 1);
      if (end == std::string_view::npos) Fail(column, std::string("text not closed: missing ") + c);
      tokens.push_back({Token::Kind::Text, std::string(s.substr(i + 1, end - i - 1)), 0, column});
      i = end + 1;
      continue;
    }
    bool digitAfterPoint = c == '.' && i + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1]));
    if (std::isdigit(static_cast<unsigned char>(c)) || digitAfterPoint) {
      std::size_t end = i;
      while (end < s.size() && std::isdigit(static_cast<unsigned char>(s[end]))) ++end;
      if (end < s.size() && s[end] == '.' && end + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[end + 1]))) {
        ++end;
        while (end < s.size() && std::isdigit(static_cast<unsigned char>(s[end]))) ++end;
      }
      Token t{Token::Kind::Number, std::string(s.substr(i, end - i)), 0, column};
      std::from_chars(t.text.data(), t.text.data() + t.text.size(), t.number);
      tokens.push_back(t);
      i = end;
      continue;
    }
    if (c == '.') {  // .T. .F. .Y. .N. .AND. .OR. .NOT.
      std::size_t end = i + 1;
      while (end < s.size() && std::isalpha(static_cast<unsigned char>(s[end]))) ++end;
      if (end < s.size() && s[end] == '.' && end > i + 1) {
        std::string word = Upper(s.substr(i, end - i + 1));
        if (word == ".T." || word == ".F." || word == ".Y." || word == ".N." || word == ".AND." ||
            word == ".OR." || word == ".NOT.") {
          tokens.push_back({Token::Kind::Symbol, word, 0, column});
          i = end + 1;
          continue;
        }
      }
      Fail(column, "unexpected '.'");
    }
    if (IsIdentifierStart(c)) {
      std::size_t end = i;
      while (end < s.size() && IsIdentifierChar(s[end])) ++end;
      tokens.push_back({Token::Kind::Identifier, Upper(s.substr(i, end - i)), 0, column});
      i = end;
      continue;
    }
    bool matched = false;
    for (std::string_view symbol : kLongSymbols) {
      if (s.substr(i, symbol.size()) == symbol) {
        tokens.push_back({Token::Kind::Symbol, std::string(symbol), 0, column});
        i += symbol.size();
        matched = true;
        break;
      }
    }
    if (matched) continue;
    if (std::string_view("+-*/%^=<>#$!(){}[],|@").find(c) == std::string_view::npos) {
      Fail(column, std::string("unexpected character '") + c + "'");
    }
    tokens.push_back({Token::Kind::Symbol, std::string(1, c), 0, column});
    ++i;
  }
  tokens.push_back({Token::Kind::End, "", 0, offset + s.size() + 1});
  return tokens;
}

class Parser {
 public:
  Parser(std::string_view source, std::size_t offset)
      : source_(source), offset_(offset), tokens_(Tokenize(source, offset)) {}

  NodePtr Whole() {
    NodePtr n = Expression();
    Expect(Token::Kind::End, "");
    return n;
  }

  std::vector<NodePtr> List() {
    std::vector<NodePtr> list;
    if (Peek().kind == Token::Kind::End) return list;
    do {
      list.push_back(Expression());
    } while (Accept(","));
    Expect(Token::Kind::End, "");
    return list;
  }

 private:
  const Token& Peek() const { return tokens_[pos_]; }
  const Token& Next() { return tokens_[pos_ < tokens_.size() - 1 ? pos_++ : pos_]; }
  bool IsSymbol(std::string_view s) const { return Peek().kind == Token::Kind::Symbol && Peek().text == s; }
  bool Accept(std::string_view s) {
    if (!IsSymbol(s)) return false;
    ++pos_;
    return true;
  }
  void Expect(std::string_view symbol) {
    if (!Accept(symbol)) Fail(Peek().column, "'" + std::string(symbol) + "' expected" + Found());
  }
  void Expect(Token::Kind kind, std::string_view what) {
    if (Peek().kind != kind) {
      Fail(Peek().column, kind == Token::Kind::End ? "unexpected " + Describe(Peek()) : std::string(what) + " expected" + Found());
    }
  }
  std::string Found() const { return ", found " + Describe(Peek()); }
  static std::string Describe(const Token& t) {
    switch (t.kind) {
      case Token::Kind::End: return "end of line";
      case Token::Kind::Text: return "a text";
      default: return "'" + t.text + "'";
    }
  }

  NodePtr Make(Node n) const {
    for (const NodePtr& child : n.children) n.depth = std::max(n.depth, child->depth + 1);
    if (n.depth > kMaxExpressionDepth) Fail(Peek().column, "expression too long or nested too deeply");
    return std::make_shared<const Node>(std::move(n));
  }
  NodePtr Binary(std::string op, NodePtr left, NodePtr right) const {
    Node n;
    n.kind = Node::Kind::Binary;
    n.op = std::move(op);
    n.children = {std::move(left), std::move(right)};
    return Make(std::move(n));
  }

  // One level deeper into the text while this lives.
  class Descent {
   public:
    explicit Descent(Parser& parser) : parser_(parser) {
      if (++parser_.nesting_ > kMaxExpressionDepth) Fail(parser_.Peek().column, "expression nested too deeply");
    }
    ~Descent() { --parser_.nesting_; }
    Descent(const Descent&) = delete;
    Descent& operator=(const Descent&) = delete;

   private:
    Parser& parser_;
  };

  NodePtr Expression() {
    Descent deeper(*this);
    std::size_t column = Peek().column;
    NodePtr left = Or();
    if (!Accept(":=")) return left;
    if (left->kind != Node::Kind::Name && left->kind != Node::Kind::Field && left->kind != Node::Kind::Memvar &&
        left->kind != Node::Kind::Index) {
      Fail(column, "only a variable, a field or an array element can be assigned");
    }
    Node n;
    n.kind = Node::Kind::Assign;
    n.children = {left, Expression()};
    return Make(std::move(n));
  }

  NodePtr Or() {
    NodePtr left = And();
    while (Accept(".OR.")) left = Binary(".OR.", left, And());
    return left;
  }

  NodePtr And() {
    NodePtr left = Not();
    while (Accept(".AND.")) left = Binary(".AND.", left, Not());
    return left;
  }

  NodePtr Not() {
    if (Accept(".NOT.") || Accept("!")) {
      Descent deeper(*this);
      Node n;
      n.kind = Node::Kind::Unary;
      n.op = "!";
      n.children = {Not()};
      return Make(std::move(n));
    }
    return Comparison();
  }

  // One level of left-associative binary operators: next parses the operands.
  NodePtr LeftAssociative(std::initializer_list<std::string_view> ops, NodePtr (Parser::*next)()) {
    NodePtr left = (this->*next)();
    for (;;) {
      auto op = std::find_if(ops.begin(), ops.end(), [this](std::string_view o) { return Accept(o); });
      if (op == ops.end()) return left;
      left = Binary(std::string(*op), left, (this->*next)());
    }
  }

  // Two-character operators come first, so that "<=" is not read as "<".
  NodePtr Comparison() {
    return LeftAssociative({"==", "!=", "<>", "<=", ">=", "=", "#", "<", ">", "$"}, &Parser::Additive);
  }
  NodePtr Additive() { return LeftAssociative({"+", "-"}, &Parser::Multiplicative); }
  NodePtr Multiplicative() { return LeftAssociative({"*", "/", "%"}, &Parser::Power); }

  NodePtr Power() {
    NodePtr left = Unary();
    while (Accept("**") || Accept("^")) left = Binary("^", left, Unary());
    return left;
  }

  NodePtr Unary() {
    if (Accept("-") || Accept("+")) {
      Descent deeper(*this);
      std::string op = tokens_[pos_ - 1].text;
      Node n;
      n.kind = Node::Kind::Unary;
      n.op = op;
      n.children = {Unary()};
      return Make(std::move(n));
    }
    NodePtr node = Primary();
    while (Accept("[")) {
      Node n;
      n.kind = Node::Kind::Index;
      n.children = {node, Expression()};
      Expect("]");
      node = Make(std::move(n));
    }
    return node;
  }

  NodePtr Literal(Value v) {
    Node n;
    n.literal = std::move(v);
    return Make(std::move(n));
  }

  NodePtr Primary() {
    const Token& t = Next();
    switch (t.kind) {
      case Token::Kind::Number: return Literal(Value::Number(t.number));
      case Token::Kind::Text: return Literal(Value::Text(t.text));
      case Token::Kind::Identifier: return Named(t);
      case Token::Kind::End: Fail(t.column, "expression expected, found end of line");
      case Token::Kind::Symbol: break;
    }
    if (t.text == ".T." || t.text == ".Y.") return Literal(Value::Logical(true));
    if (t.text == ".F." || t.text == ".N.") return Literal(Value::Logical(false));
    if (t.text == "(") {
      NodePtr inner = Expression();
      Expect(")");
      return inner;
    }
    if (t.text == "{") return IsSymbol("|") ? Block(t.column) : ArrayLiteral();
    if (t.text == "@") {
      const Token& name = Next();
      if (name.kind != Token::Kind::Identifier) Fail(name.column, "a variable name must follow '@'");
      Node n;
      n.kind = Node::Kind::Reference;
      n.name = name.text;
      return Make(std::move(n));
    }
    Fail(t.column, "unexpected '" + t.text + "'");
  }

  NodePtr Named(const Token& t) {
    if (t.text == "NIL") return Literal(Value());
    if (Accept("(")) {
      Node n;
      n.kind = Node::Kind::Call;
      n.name = t.text;
      if (!Accept(")")) {
        do {
          // An empty argument (f(1,,3)) is passed as NIL.
          n.children.push_back(IsSymbol(",") || IsSymbol(")") ? Literal(Value()) : Expression());
        } while (Accept(","));
        Expect(")");
      }
      return Make(std::move(n));
    }
    if (Accept("->")) {
      const Token& field = Next();
      if (field.kind != Token::Kind::Identifier) Fail(field.column, "a field name must follow '->'");
      Node n;
      n.name = field.text;
      if (t.text == "M" || t.text == "MEMVAR") {
        n.kind = Node::Kind::Memvar;
      } else {
        n.kind = Node::Kind::Field;
        n.alias = t.text == "FIELD" ? "" : t.text;
      }
      return Make(std::move(n));
    }
    Node n;
    n.kind = Node::Kind::Name;
    n.name = t.text;
    return Make(std::move(n));
  }

  NodePtr ArrayLiteral() {
    Node n;
    n.kind = Node::Kind::ArrayLiteral;
    if (!Accept("}")) {
      do {
        n.children.push_back(Expression());
      } while (Accept(","));
      Expect("}");
    }
    return Make(std::move(n));
  }

  NodePtr Block(std::size_t column) {
    Expect("|");
    Node n;
    n.kind = Node::Kind::Block;
    if (!Accept("|")) {
      do {
        const Token& p = Next();
        if (p.kind != Token::Kind::Identifier) Fail(p.column, "a parameter name expected");
        n.parameters.push_back(p.text);
      } while (Accept(","));
      Expect("|");
    }
    do {
      n.children.push_back(Expression());
    } while (Accept(","));
    std::size_t end = Peek().column;
    Expect("}");
    n.source = std::string(source_.substr(column - offset_ - 1, end - column + 1));
    return Make(std::move(n));
  }

  std::string_view source_;
  std::size_t offset_;
  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
  int nesting_ = 0;
};

}  // namespace

NodePtr ParseExpression(std::string_view text, std::size_t column) { return Parser(text, column).Whole(); }

std::vector<NodePtr> ParseExpressionList(std::string_view text, std::size_t column) {
  return Parser(text, column).List();
}

}  // namespace zuvtill::runtime
