#include "file_lines.h"

namespace zuvlink {

std::vector<FileLine> SplitLines(std::string_view bytes) {
  std::vector<FileLine> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back({bytes.substr(start), false});
      break;
    }
    lines.push_back({bytes.substr(start, end - start), true});
    start = end + 2;
  }
  return lines;
}

bool HasStrayLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace zuvlink
