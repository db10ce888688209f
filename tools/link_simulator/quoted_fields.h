// A line of quoted fields: "1","    7","15", each field between double
// quotes, separated by the three characters "," with nothing between.
// Quotes inside a field are not escaped, so a name may hold one, but never
// next to a comma, where it would look like a separator gone wrong.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zuvlink {

struct QuotedFields {
  std::vector<std::string_view> fields;  // at least one when there is no fault
  std::optional<std::string> fault;      // what is wrong (UTF-8), in field faultField
  std::size_t faultField = 0;
};

QuotedFields SplitQuotedFields(std::string_view line);

}  // namespace zuvlink
