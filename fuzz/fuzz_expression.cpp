// The embedded host's expressions from untrusted text: parsed (a syntax
// error is the host's error, never a crash), and evaluated when they call
// no function (so that no input can reach a file or a program).
#include <cstdint>
#include <string_view>

#include "runtime/evaluator.h"
#include "runtime/expression.h"
#include "runtime/runtime.h"

namespace {

bool CallsNothing(const zuvtill::runtime::NodePtr& node) {
  using Kind = zuvtill::runtime::Node::Kind;
  if (node->kind == Kind::Call || node->kind == Kind::Reference) return false;
  for (const auto& child : node->children) {
    if (!CallsNothing(child)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zuvtill::runtime;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  Runtime::Get().Reset();
  std::vector<NodePtr> list;
  try {
    list = ParseExpressionList(text);
  } catch (const HostError&) {
    return 0;
  }
  for (const NodePtr& expression : list) {
    if (expression->depth > kMaxExpressionDepth) std::abort();
    if (!CallsNothing(expression)) continue;
    try {
      Value v = EvaluateExpression(expression);
      (void)Display(v);
    } catch (const HostError&) {
    }
  }
  return 0;
}
