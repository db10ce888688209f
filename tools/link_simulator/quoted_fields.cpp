#include "quoted_fields.h"

namespace zuvlink {

QuotedFields SplitQuotedFields(std::string_view line) {
  QuotedFields result;
  auto fault = [&](std::size_t field, std::string what) {
    result.fault = std::move(what);
    result.faultField = field;
    return result;
  };
  if (line.empty() || line.front() != '"') return fault(1, "pole nie zaczyna się cudzysłowem");
  std::size_t start = 1;
  for (;;) {
    std::size_t separator = line.find("\",\"", start);
    if (separator == std::string_view::npos) break;
    result.fields.push_back(line.substr(start, separator - start));
    start = separator + 3;
  }
  if (line.size() < start + 1 || line.back() != '"') {
    return fault(result.fields.size() + 1, "pole nie kończy się cudzysłowem");
  }
  result.fields.push_back(line.substr(start, line.size() - 1 - start));
  for (std::size_t i = 0; i < result.fields.size(); ++i) {
    std::string_view field = result.fields[i];
    if (field.find("\",") != std::string_view::npos || field.find(",\"") != std::string_view::npos) {
      return fault(i + 1, "pola rozdziela się znakami \",\" bez odstępów");
    }
  }
  return result;
}

}  // namespace zuvlink
