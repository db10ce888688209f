// Font caches are kept for the whole process, as the program keeps them
// until it exits; release them when the tests end, so the leak checker
// reports only what the code under test leaks.
#include <gtest/gtest.h>

#include "platform/font_caches.h"

namespace {

class ReleaseFonts : public ::testing::Environment {
 public:
  void TearDown() override { zuvprint::platform::ReleaseFontCaches(); }
};

[[maybe_unused]] ::testing::Environment* const kReleaseFonts = ::testing::AddGlobalTestEnvironment(new ReleaseFonts);

}  // namespace
