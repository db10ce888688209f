#include "platform/stroke_batch.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace zuvprint::platform {
namespace {

using Segments = std::vector<Segment>;

struct BatchCase {
  std::string name;
  Segments drawn;
  Segments stroked;
};

class StrokeBatchCases : public testing::TestWithParam<BatchCase> {};

TEST_P(StrokeBatchCases, KeepsWhatTheSegmentsCover) {
  StrokeBatch batch;
  for (const Segment& s : GetParam().drawn) batch.Add(s.x1, s.y1, s.x2, s.y2);
  EXPECT_EQ(batch.Segments(), GetParam().stroked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrokeBatchCases,
    testing::Values(
        // Two columns of a table, row by row: each column becomes one rule.
        BatchCase{"InterleavedColumns",
                  {{10, 0, 10, 50}, {90, 0, 90, 50}, {10, 50, 10, 100}, {90, 50, 90, 100}, {10, 100, 10, 150}},
                  {{10, 0, 10, 150}, {90, 0, 90, 100}}},
        BatchCase{"HorizontalRule", {{0, 5, 30, 5}, {30, 5, 60, 5}, {60, 5, 90, 5}}, {{0, 5, 90, 5}}},
        // In line, but with steps of another length: still one direction.
        BatchCase{"DiagonalInLowestTerms", {{0, 0, 2, 4}, {2, 4, 5, 10}}, {{0, 0, 5, 10}}},
        // A corner is two lines, however it is reached.
        BatchCase{"Corner", {{0, 0, 0, 40}, {0, 40, 40, 40}}, {{0, 0, 0, 40}, {0, 40, 40, 40}}},
        // A gap between two pieces of one line stays a gap.
        BatchCase{"Gap", {{0, 0, 0, 40}, {0, 41, 0, 80}}, {{0, 0, 0, 40}, {0, 41, 0, 80}}},
        // Back along the same line: not a continuation.
        BatchCase{"Reversed", {{0, 0, 0, 40}, {0, 40, 0, 10}}, {{0, 0, 0, 40}, {0, 40, 0, 10}}},
        // A piece drawn before the one it would follow is kept on its own.
        BatchCase{"DrawnBackwardsInOrder", {{0, 40, 0, 80}, {0, 0, 0, 40}}, {{0, 40, 0, 80}, {0, 0, 0, 40}}},
        // Dots are never lengthened and lengthen nothing.
        BatchCase{"Dots", {{5, 5, 5, 5}, {5, 5, 5, 5}, {5, 5, 9, 5}}, {{5, 5, 5, 5}, {5, 5, 5, 5}, {5, 5, 9, 5}}},
        // The ends anywhere in the int range.
        BatchCase{"WholeIntRange",
                  {{INT_MIN, 0, 0, 0}, {0, 0, INT_MAX, 0}},
                  {{INT_MIN, 0, INT_MAX, 0}}}),
    [](const testing::TestParamInfo<BatchCase>& info) { return info.param.name; });

TEST(StrokeBatch, ClearForgetsTheOpenEnds) {
  StrokeBatch batch;
  batch.Add(0, 0, 0, 10);
  batch.Clear();
  EXPECT_TRUE(batch.Empty());
  batch.Add(0, 10, 0, 20);
  EXPECT_EQ(batch.Segments(), (Segments{{0, 10, 0, 20}}));
}

}  // namespace
}  // namespace zuvprint::platform
