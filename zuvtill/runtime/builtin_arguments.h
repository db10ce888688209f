// Argument checks of the runtime's own functions: a wrong argument is the
// host's argument error, naming the function and the position.
#pragma once

#include <string>

#include "runtime/host_error.h"
#include "runtime/numbers.h"
#include "runtime/params.h"

namespace zuvtill::runtime {

[[noreturn]] inline void ArgumentError(const char* function, int n, const char* wanted, const Params& p) {
  throw HostError(std::string("argument error: ") + function + " argument " + std::to_string(n) + " must be " + wanted +
                  ", not " + TypeName(p.Get(n).GetType()));
}

inline const std::string& TextArgument(const Params& p, int n, const char* function) {
  if (!p.IsText(n)) ArgumentError(function, n, "character", p);
  return p.Get(n).AsText();
}

inline double NumberArgument(const Params& p, int n, const char* function) {
  if (!p.IsNumber(n)) ArgumentError(function, n, "numeric", p);
  return p.Get(n).AsNumber();
}

inline int IntArgument(const Params& p, int n, const char* function) {
  return SaturatedInt(NumberArgument(p, n, function));
}

// An optional numeric argument: NIL takes the default, another type is an error.
inline double OptionalNumber(const Params& p, int n, const char* function, double fallback) {
  return p.IsNil(n) ? fallback : NumberArgument(p, n, function);
}

// The same as integers, held at the ends of their type's range.
inline int OptionalInt(const Params& p, int n, const char* function, int fallback) {
  return p.IsNil(n) ? fallback : IntArgument(p, n, function);
}
inline long LongArgument(const Params& p, int n, const char* function) {
  return SaturatedLong(NumberArgument(p, n, function));
}
inline long OptionalLong(const Params& p, int n, const char* function, long fallback) {
  return p.IsNil(n) ? fallback : LongArgument(p, n, function);
}

inline Date DateArgument(const Params& p, int n, const char* function) {
  if (!p.Get(n).IsDate()) ArgumentError(function, n, "a date", p);
  return p.Get(n).AsDate();
}

}  // namespace zuvtill::runtime
