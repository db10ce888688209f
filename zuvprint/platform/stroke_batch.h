// The line segments of one pen gathered for a single stroke. A frame is
// drawn cell by cell, so a rule down a table arrives as one short segment
// per row, interleaved with the other columns' segments. A segment that
// continues an earlier one in the same direction (it starts where that one
// ends and runs on in line with it) lengthens it instead: with round caps
// and opaque ink, the stroke of the longer segment covers exactly what the
// two strokes covered, and the page gets a few long lines instead of
// hundreds of pieces.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace zuvprint::platform {

struct Segment {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool operator==(const Segment&) const = default;
};

class StrokeBatch {
 public:
  void Add(int x1, int y1, int x2, int y2);
  // In the order they were begun; a segment of zero length is a dot.
  const std::vector<Segment>& Segments() const { return segments_; }
  bool Empty() const { return segments_.empty(); }
  void Clear();

 private:
  // A segment's end with its direction in lowest terms.
  struct OpenEnd {
    int x, y;
    std::int64_t dx, dy;
    bool operator==(const OpenEnd&) const = default;
  };
  struct OpenEndHash {
    std::size_t operator()(const OpenEnd& e) const;
  };

  std::vector<Segment> segments_;
  std::unordered_map<OpenEnd, std::size_t, OpenEndHash> ends_;
};

}  // namespace zuvprint::platform
