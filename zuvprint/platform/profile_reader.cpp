#include "platform/profile_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <optional>

namespace zuvprint::platform {
namespace {

// Longest value a lookup answers; Windows readers use a 2048-unit buffer
// with room for the terminating zero.
constexpr std::size_t kMaxValueLength = 2047;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

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

// Owns an open file descriptor.
class OpenFile {
 public:
  explicit OpenFile(int fd) : fd_(fd) {}
  ~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

// The whole contents of a regular file, or nothing when it cannot be read.
// Directories, pipes and devices are refused: reading them could fail,
// block or never end. O_NONBLOCK keeps the open itself from waiting for a
// writer on a named pipe; it does not affect regular files.
std::optional<std::string> ReadRegularFile(const std::string& path) {
  OpenFile file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.fd() < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(file.fd(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;

  std::string text;
  char chunk[64 * 1024];
  for (;;) {
    ssize_t got = ::read(file.fd(), chunk, sizeof chunk);
    if (got == 0) return text;
    if (got > 0) {
      text.append(chunk, static_cast<std::size_t>(got));
    } else if (errno != EINTR) {
      return std::nullopt;
    }
  }
}

}  // namespace

ProfileReader ProfileReader::FromFile(const std::string& path) {
  std::optional<std::string> text = ReadRegularFile(path);
  return text ? FromText(*text) : ProfileReader{};
}

ProfileReader ProfileReader::FromText(std::string_view text) {
  ProfileReader reader;
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());

  // Keys above the first section header belong to no section and are
  // unreachable, so they are not kept.
  std::optional<std::string> section;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

    if (line.empty() || line.front() == ';') continue;
    if (auto name = SectionName(line)) {
      section = std::string(*name);
      continue;
    }
    std::size_t equals = line.find('=');
    if (!section || equals == std::string_view::npos) continue;

    std::string_view key = Trim(line.substr(0, equals));
    std::string_view value = Unquote(Trim(line.substr(equals + 1)));
    // emplace keeps an existing entry: the first occurrence wins, also
    // across repeated headers of the same section.
    reader.values_.emplace(LookupKey(*section, key),
                           std::string(value.substr(0, kMaxValueLength)));
  }
  return reader;
}

std::string ProfileReader::GetString(std::string_view section, std::string_view key,
                                     std::string_view fallback) const {
  auto found = values_.find(LookupKey(section, key));
  return found != values_.end() ? found->second : std::string(fallback);
}

}  // namespace zuvprint::platform
