// The names by which the host calls a bound library's functions.
#pragma once

#include <algorithm>
#include <string_view>

namespace zuvtill::host {

// Upper-case letters, digits and "_": the only names looked up among the
// exports, so that nothing else of the process can be called by name.
inline bool IsExportName(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  });
}

}  // namespace zuvtill::host
