// The exchange files are lines ended by CR LF; the last line of a receipt
// file has no line end, so whether each line had one is kept.
#pragma once

#include <string_view>
#include <vector>

namespace zuvlink {

struct FileLine {
  std::string_view text;  // without its CR LF
  bool endsWithCrLf;
};

// The lines of bytes split at each CR LF; bytes after the last CR LF make
// a last line without one. A CR or LF on its own stays in its line.
std::vector<FileLine> SplitLines(std::string_view bytes);

// A CR or LF inside a line: a line end that is not CR LF.
bool HasStrayLineBreak(std::string_view text);

}  // namespace zuvlink
