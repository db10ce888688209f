// The host's memory variables, reached by name (case-insensitive). A
// PUBLIC variable lives until the runtime ends; a PRIVATE one until the
// frame that declared it ends, and it hides an older variable of the same
// name meanwhile. Assigning a name that does not exist creates a private of
// the current frame, as the host does.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/params.h"

namespace zuvtill::runtime {

class Memvars {
 public:
  // The variable's cell (shared by references to it), or null.
  Cell Find(std::string_view name) const;
  bool Exists(std::string_view name) const { return Find(name) != nullptr; }
  // The value; throws HostError when the variable does not exist.
  Value Get(std::string_view name) const;
  // Writes the visible variable, or creates a private one.
  void Assign(std::string_view name, Value value);
  // The variable's cell, created (as a NIL private) when it does not exist.
  Cell Reference(std::string_view name);

  void DeclarePublic(std::string_view name);
  void DeclarePrivate(std::string_view name);

  // A frame for private variables, released with everything it declared.
  void PushFrame() { ++depth_; }
  void PopFrame();

  void Clear();

 private:
  struct Variable {
    Cell cell;
    int depth = 0;  // 0: public or declared at the outermost level
  };
  std::map<std::string, std::vector<Variable>, std::less<>> variables_;
  int depth_ = 0;
};

// Runs a scope of private variables: frame.PushFrame() now, PopFrame() at
// the end on every path.
class PrivateFrame {
 public:
  explicit PrivateFrame(Memvars& memvars) : memvars_(memvars) { memvars_.PushFrame(); }
  ~PrivateFrame() { memvars_.PopFrame(); }
  PrivateFrame(const PrivateFrame&) = delete;
  PrivateFrame& operator=(const PrivateFrame&) = delete;

 private:
  Memvars& memvars_;
};

}  // namespace zuvtill::runtime
