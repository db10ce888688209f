#include "platform/pem_text.h"

namespace zuvprint::platform {
namespace {

constexpr std::string_view kDashes = "-----";

std::string_view Trim(std::string_view s) {
  const auto start = s.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) return {};
  return s.substr(start, s.find_last_not_of(" \t\r") - start + 1);
}

// The label of an armour line "-----<word> label-----", or nothing.
std::optional<std::string_view> ArmourLabel(std::string_view line, std::string_view word) {
  if (!line.starts_with(kDashes) || !line.ends_with(kDashes) || line.size() < 2 * kDashes.size()) return std::nullopt;
  line = line.substr(kDashes.size(), line.size() - 2 * kDashes.size());
  if (!line.starts_with(word)) return std::nullopt;
  return line.substr(word.size());
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::optional<std::string_view> PemBlock::Header(std::string_view name) const {
  for (const auto& [n, v] : headers)
    if (n == name) return std::string_view(v);
  return std::nullopt;
}

std::vector<PemBlock> ReadPemBlocks(std::string_view text) {
  std::vector<PemBlock> blocks;
  std::optional<PemBlock> open;
  bool inHeaders = false;
  while (!text.empty()) {
    const auto eol = text.find('\n');
    const std::string_view line = Trim(text.substr(0, eol));
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);

    if (auto label = ArmourLabel(line, "BEGIN ")) {  // a new block; an unended one is dropped
      open = PemBlock{std::string(*label), {}, {}};
      inHeaders = true;
      continue;
    }
    if (!open) continue;
    if (auto label = ArmourLabel(line, "END ")) {
      if (*label == open->label) blocks.push_back(std::move(*open));
      open.reset();
      continue;
    }
    const auto colon = line.find(':');
    if (inHeaders && colon != std::string_view::npos) {
      open->headers.emplace_back(std::string(Trim(line.substr(0, colon))), std::string(Trim(line.substr(colon + 1))));
      continue;
    }
    inHeaders = false;
    open->body.append(line);
  }
  return blocks;
}

std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text) {
  std::vector<std::uint8_t> out;
  out.reserve(text.size() / 4 * 3);
  std::uint32_t group = 0;
  int count = 0;    // characters in the group
  int padding = 0;  // '=' seen
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    if (c == '=') {
      ++padding;
      continue;
    }
    const int v = Base64Value(c);
    if (v < 0 || padding > 0) return std::nullopt;
    group = (group << 6) | static_cast<std::uint32_t>(v);
    if (++count == 4) {
      out.push_back(static_cast<std::uint8_t>(group >> 16));
      out.push_back(static_cast<std::uint8_t>(group >> 8));
      out.push_back(static_cast<std::uint8_t>(group));
      group = 0;
      count = 0;
    }
  }
  if (count == 1 || padding > 2 || (padding > 0 && count + padding != 4)) return std::nullopt;
  if (count == 2) out.push_back(static_cast<std::uint8_t>(group >> 4));
  if (count == 3) {
    out.push_back(static_cast<std::uint8_t>(group >> 10));
    out.push_back(static_cast<std::uint8_t>(group >> 2));
  }
  return out;
}

}  // namespace zuvprint::platform
