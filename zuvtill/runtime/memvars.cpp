#include "runtime/memvars.h"

#include "runtime/host_error.h"
#include "runtime/text.h"

namespace zuvtill::runtime {

Cell Memvars::Find(std::string_view name) const {
  auto it = variables_.find(Upper(name));
  return it == variables_.end() || it->second.empty() ? nullptr : it->second.back().cell;
}

Value Memvars::Get(std::string_view name) const {
  Cell cell = Find(name);
  if (!cell) throw HostError("variable does not exist: " + Upper(name));
  return *cell;
}

void Memvars::Assign(std::string_view name, Value value) { *Reference(name) = std::move(value); }

Cell Memvars::Reference(std::string_view name) {
  if (Cell cell = Find(name)) return cell;
  DeclarePrivate(name);
  return Find(name);
}

void Memvars::DeclarePublic(std::string_view name) {
  std::vector<Variable>& stack = variables_[Upper(name)];
  // A public hides nothing: it takes the outermost place unless one is there.
  if (stack.empty() || stack.front().depth != 0) {
    stack.insert(stack.begin(), {std::make_shared<Value>(Value::Logical(false)), 0});
  }
}

void Memvars::DeclarePrivate(std::string_view name) {
  std::vector<Variable>& stack = variables_[Upper(name)];
  if (!stack.empty() && stack.back().depth == depth_) {
    *stack.back().cell = Value();
    return;
  }
  stack.push_back({std::make_shared<Value>(), depth_});
}

void Memvars::PopFrame() {
  if (depth_ == 0) return;
  for (auto it = variables_.begin(); it != variables_.end();) {
    std::vector<Variable>& stack = it->second;
    while (!stack.empty() && stack.back().depth == depth_) stack.pop_back();
    it = stack.empty() ? variables_.erase(it) : std::next(it);
  }
  --depth_;
}

void Memvars::Clear() {
  variables_.clear();
  depth_ = 0;
}

}  // namespace zuvtill::runtime
