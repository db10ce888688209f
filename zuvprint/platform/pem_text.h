// The PEM armour: blocks between "-----BEGIN label-----" and
// "-----END label-----", their "Name: value" headers and their base64 body.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zuvprint::platform {

struct PemBlock {
  std::string label;                                         // "EC PRIVATE KEY"
  std::vector<std::pair<std::string, std::string>> headers;  // in order, values trimmed
  std::string body;                                          // base64, lines joined

  // The value of the header name, or nothing.
  std::optional<std::string_view> Header(std::string_view name) const;
};

// Every complete block of text, in order. Lines may end in "\r\n"; blanks
// around a line are ignored. Text outside the blocks is skipped, as is a
// block without its end line.
std::vector<PemBlock> ReadPemBlocks(std::string_view text);

// Standard base64 (RFC 4648) with optional padding; whitespace is skipped.
// Nothing for any other character, misplaced padding or a cut-off group.
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text);

}  // namespace zuvprint::platform
