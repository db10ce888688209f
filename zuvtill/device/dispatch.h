// How a device operation reaches a function of a device module or its
// inactive counterpart: which arguments it hands on, in which order, and
// which of them by reference.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/params.h"

namespace zuvtill::device {

// The arguments handed on, written as in "1 @2 @3" or "@1-6": positions of
// the export's own arguments in the order handed on, a range standing for
// each position in it, "@" for by reference; "" for none. Parsed when the
// program is compiled: a malformed list does not build.
class HandOn {
 public:
  consteval HandOn(const char* list) {
    for (const char* c = list; *c;) {
      if (*c == ' ') {
        ++c;
        continue;
      }
      bool byReference = *c == '@';
      if (byReference) ++c;
      int first = ReadPosition(c);
      int last = first;
      if (*c == '-') last = ReadPosition(++c);
      if (last < first) throw "a range runs upwards";
      for (int n = first; n <= last; ++n) Append(n, byReference);
    }
  }

  // The arguments of from as this list hands them on: a missing argument as
  // NIL; one by reference as the caller's variable when the caller passed
  // it by reference, otherwise as a copy that nobody else sees.
  runtime::Params From(const runtime::Params& from) const;

 private:
  struct Argument {
    std::int8_t position = 0;
    bool byReference = false;
  };

  static consteval int ReadPosition(const char*& c) {
    if (*c < '0' || *c > '9') throw "a position expected";
    int n = 0;
    while (*c >= '0' && *c <= '9') n = n * 10 + (*c++ - '0');
    if (n < 1) throw "positions count from 1";
    return n;
  }
  consteval void Append(int position, bool byReference) {
    if (count_ == static_cast<int>(arguments_.size())) throw "too many arguments";
    arguments_[count_++] = {static_cast<std::int8_t>(position), byReference};
  }

  std::array<Argument, 16> arguments_{};
  int count_ = 0;
};

// A function of a device module or an inactive counterpart, with the
// arguments that it is handed.
struct Callee {
  runtime::HostFunction function;
  HandOn handOn;

  // Calls the function with the arguments of from; answers its result.
  runtime::Value Call(const runtime::Params& from) const;
};

// The result of an operation that carried nothing out.
runtime::Value NothingDone();

// Answers -3 without looking at the arguments: every inactive counterpart.
void AnswerInactive(runtime::Params& p);

}  // namespace zuvtill::device
