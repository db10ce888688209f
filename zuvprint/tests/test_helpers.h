// Small helpers shared by the unit tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ksef/crypto.h"
#include "temp_file.h"

namespace zuvprint::testing {

// Runs f, which must raise a KsefError, and answers its message.
template <typename F>
std::string ErrorOf(F f) {
  try {
    f();
  } catch (const KsefError& e) {
    return e.what();
  }
  ADD_FAILURE() << "no KsefError";
  return "";
}

}  // namespace zuvprint::testing
