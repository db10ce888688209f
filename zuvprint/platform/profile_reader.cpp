#include "platform/profile_reader.h"

#include <cstddef>
#include <optional>
#include <unordered_set>

#include "platform/utf8.h"

namespace zuvprint::platform {
namespace {

// Longest value a lookup answers; Windows readers use a 2048-unit buffer
// with room for the terminating zero.
constexpr std::size_t kMaxValueLength = 2047;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Only ASCII letters are folded: the names this program looks up are ASCII,
// and other bytes are compared as they are.
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Section names cannot hold a line break, so "section\nkey" is unambiguous.
std::string LookupKey(std::string_view section, std::string_view key) {
  std::string joined;
  joined.reserve(section.size() + 1 + key.size());
  for (char c : section) joined.push_back(AsciiLower(c));
  joined.push_back('\n');
  for (char c : key) joined.push_back(AsciiLower(c));
  return joined;
}

// The name between '[' and the first ']', or nothing when the line is not
// a section header. A header without ']' is ignored as a whole line.
std::optional<std::string_view> SectionName(std::string_view line) {
  if (line.empty() || line.front() != '[') return std::nullopt;
  std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

}  // namespace

ProfileReader ProfileReader::FromFile(const std::string& path) {
  return FromReadableFile(path).value_or(ProfileReader{});
}

ProfileReader ProfileReader::FromText(std::string_view text) {
  ProfileReader reader;
  // A file that starts with a UTF-16 byte-order mark is read as UTF-16 text
  // (as Notepad saves "Unicode"); its values are answered in UTF-8.
  std::string decoded;
  if (text.starts_with(kUtf16LeBom) || text.starts_with(kUtf16BeBom)) {
    decoded = Utf16BytesToUtf8(text.substr(2), text.starts_with(kUtf16LeBom));
    text = decoded;
  } else if (text.starts_with(kUtf8Bom)) {
    text.remove_prefix(kUtf8Bom.size());
  }

  // Keys above the first section header belong to no section and are
  // unreachable, so they are not kept. Only the first section of a name
  // counts: a later header of the same name opens a section whose keys are
  // never looked up.
  std::optional<std::string> section;
  std::unordered_set<std::string> seen;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

    if (line.empty() || line.front() == ';') continue;
    if (auto name = SectionName(line)) {
      std::string lower = LookupKey(*name, "");
      if (seen.insert(lower).second) {
        section = std::string(*name);
      } else {
        section.reset();
      }
      continue;
    }
    std::size_t equals = line.find('=');
    if (!section || equals == std::string_view::npos) continue;

    std::string_view key = Trim(line.substr(0, equals));
    std::string_view value = Unquote(Trim(line.substr(equals + 1)));
    // emplace keeps an existing entry: the first occurrence wins.
    reader.values_.emplace(LookupKey(*section, key),
                           std::string(value.substr(0, kMaxValueLength)));
  }
  return reader;
}

std::string ProfileReader::GetString(std::string_view section, std::string_view key,
                                     std::string_view fallback) const {
  if (lookup_) return lookup_(section, key, fallback);
  auto found = values_.find(LookupKey(section, key));
  return found != values_.end() ? found->second : std::string(fallback);
}

}  // namespace zuvprint::platform
