#include "host/script.h"

#include <cctype>
#include <vector>

#include "runtime/code_page.h"
#include "runtime/evaluator.h"
#include "runtime/expression.h"
#include "runtime/host_error.h"
#include "runtime/runtime.h"
#include "runtime/stand_ins.h"
#include "runtime/text.h"

namespace zuvtill::host {
namespace {

using runtime::HostError;

struct Statement {
  int line = 0;  // the first line it stands on
  std::string text;
};

// The word that begins text (letters only, upper case) and where the rest
// begins.
std::string FirstWord(const std::string& text, std::size_t& rest) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) {
    rest = text.size();
    return "";
  }
  std::size_t end = i;
  while (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end]))) ++end;
  rest = end;
  return runtime::Upper(text.substr(i, end - i));
}

void Print(const std::vector<runtime::NodePtr>& expressions, std::ostream& out, bool oneLine) {
  std::vector<std::string> shown;
  for (const runtime::NodePtr& e : expressions) {
    shown.push_back(runtime::Cp852ToUtf8(runtime::Display(runtime::EvaluateExpression(e))));
  }
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (oneLine) {
      out << (i ? " " : "") << shown[i];
    } else {
      out << shown[i] << '\n';
    }
  }
  if (oneLine) out << '\n';
}

// PUBLIC a, b := 1 / PRIVATE c
void Declare(const std::string& list, bool isPublic) {
  runtime::Memvars& memvars = runtime::Runtime::Get().Variables();
  for (const runtime::NodePtr& item : runtime::ParseExpressionList(list)) {
    const runtime::Node* name = item.get();
    if (item->kind == runtime::Node::Kind::Assign) name = item->children[0].get();
    if (name->kind != runtime::Node::Kind::Name) throw HostError("a variable name expected after PUBLIC or PRIVATE");
    if (isPublic) {
      memvars.DeclarePublic(name->name);
    } else {
      memvars.DeclarePrivate(name->name);
    }
    if (item->kind == runtime::Node::Kind::Assign) runtime::EvaluateExpression(item);
  }
}

// Runs one statement; answers false for QUIT. Syntax errors count their
// columns from the statement's start.
bool Execute(const std::string& text, std::ostream& out) {
  std::size_t indent = text.find_first_not_of(' ');
  std::string trimmed = runtime::AllTrim(text);
  if (trimmed.rfind("??", 0) == 0) {
    Print(runtime::ParseExpressionList(trimmed.substr(2), indent + 2), out, true);
    return true;
  }
  if (trimmed.rfind("?", 0) == 0) {
    Print(runtime::ParseExpressionList(trimmed.substr(1), indent + 1), out, false);
    return true;
  }
  std::size_t rest = 0;
  std::string word = FirstWord(trimmed, rest);
  bool followedByName = rest < trimmed.size() && trimmed[rest] == ' ';
  if (word == "QUIT" && runtime::AllTrim(trimmed.substr(rest)).empty()) return false;
  if ((word == "PUBLIC" || word == "PRIVATE") && followedByName) {
    Declare(trimmed.substr(rest), word == "PUBLIC");
    return true;
  }
  runtime::EvaluateExpression(runtime::ParseExpression(trimmed, indent));
  return true;
}

// The statements of one line: "a := 1 ; b := 2" holds two.
std::vector<std::string> SplitStatements(const std::string& text) {
  std::vector<std::string> parts(1);
  char quote = 0;
  for (char c : text) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      parts.emplace_back();
      continue;
    }
    parts.back() += c;
  }
  return parts;
}

}  // namespace

std::string StripComments(const std::string& line, bool& inBlockComment) {
  std::string out;
  std::size_t first = line.find_first_not_of(" \t");
  if (!inBlockComment && first != std::string::npos && line[first] == '*') return "";
  char quote = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (inBlockComment) {
      if (line.compare(i, 2, "*/") == 0) {
        inBlockComment = false;
        ++i;
      }
      continue;
    }
    if (quote) {
      if (c == quote) quote = 0;
      out += c;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if (line.compare(i, 2, "//") == 0 || line.compare(i, 2, "&&") == 0) {
      break;
    } else if (line.compare(i, 2, "/*") == 0) {
      inBlockComment = true;
      ++i;
      continue;
    }
    out += c;
  }
  return out;
}

int RunScript(std::istream& script, std::ostream& out, std::ostream& errors) {
  int failures = 0;
  auto run = [&](const Statement& statement) {
    for (const std::string& part : SplitStatements(statement.text)) {
      if (runtime::AllTrim(part).empty()) continue;
      try {
        if (!Execute(runtime::Utf8ToCp852(part), out)) return false;
      } catch (const std::exception& e) {
        ++failures;
        out.flush();
        errors << "zuvhost: line " << statement.line << ": " << runtime::Cp852ToUtf8(e.what()) << std::endl;
      }
    }
    return true;
  };
  int number = 0;
  bool inBlockComment = false;
  bool going = true;
  std::string line;
  Statement pending;
  while (going && std::getline(script, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string text = runtime::RTrim(StripComments(line, inBlockComment));
    if (pending.text.empty()) pending.line = number;
    bool continues = !text.empty() && text.back() == ';';
    if (continues) text.pop_back();
    pending.text += text;
    if (continues) {
      pending.text += ' ';
      continue;
    }
    going = run(pending);
    pending = {};
  }
  if (going) run(pending);  // a last line that asked to continue
  out.flush();
  return failures;
}

}  // namespace zuvtill::host
