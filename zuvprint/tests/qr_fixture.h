// A page, its messages and the trace switch for tests of the verification
// codes, with a scratch directory for their files.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ksef/qr_context.h"
#include "page_spy.h"
#include "program_run.h"

namespace zuvprint::testing {

class QrFixture : public ::testing::Test {
 protected:
  ScratchDir dir;
  PageSpy page;
  std::vector<std::string> messages;
  bool trace = false;
  KontekstQR k{page, [this](const std::string& t) { messages.push_back(t); }, [this] { return trace; }};
};

}  // namespace zuvprint::testing
