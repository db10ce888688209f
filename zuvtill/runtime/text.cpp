#include "runtime/text.h"

#include <algorithm>

namespace zuvtill::runtime {
namespace {

// Ą Ć Ę Ł Ń Ó Ś Ź Ż and ą ć ę ł ń ó ś ź ż in code page 852, in the same order.
constexpr std::string_view kPolishUpper = "\xA4\x8F\xA8\x9D\xE3\xE0\x97\x8D\xBD";
constexpr std::string_view kPolishLower = "\xA5\x86\xA9\x88\xE4\xA2\x98\xAB\xBE";

char Translate(char c, std::string_view from, std::string_view to) {
  std::size_t i = from.find(c);
  return i == std::string_view::npos ? c : to[i];
}

}  // namespace

std::string RTrim(std::string_view text) {
  std::size_t end = text.find_last_not_of(' ');
  return std::string(end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1));
}

std::string LTrim(std::string_view text) {
  std::size_t begin = text.find_first_not_of(' ');
  return std::string(begin == std::string_view::npos ? std::string_view() : text.substr(begin));
}

std::string AllTrim(std::string_view text) { return LTrim(RTrim(text)); }

std::string PadL(std::string_view text, int length, char fill) {
  if (length <= 0) return "";
  std::size_t n = static_cast<std::size_t>(length);
  if (text.size() >= n) return std::string(text.substr(0, n));
  return std::string(n - text.size(), fill) + std::string(text);
}

std::string PadR(std::string_view text, int length, char fill) {
  if (length <= 0) return "";
  std::size_t n = static_cast<std::size_t>(length);
  if (text.size() >= n) return std::string(text.substr(0, n));
  return std::string(text) + std::string(n - text.size(), fill);
}

std::string PadC(std::string_view text, int length, char fill) {
  if (length <= 0) return "";
  std::size_t n = static_cast<std::size_t>(length);
  if (text.size() >= n) return std::string(text.substr(0, n));
  std::size_t left = (n - text.size()) / 2;
  return std::string(left, fill) + std::string(text) + std::string(n - text.size() - left, fill);
}

std::string Substr(std::string_view text, int start, int count) {
  long size = static_cast<long>(text.size());
  long from = start > 0 ? start - 1 : start < 0 ? std::max(0L, size + start) : 0;
  if (from >= size) return "";
  long n = count < 0 ? size - from : std::min<long>(count, size - from);
  return std::string(text.substr(from, n));
}

std::string Left(std::string_view text, int count) { return count <= 0 ? "" : Substr(text, 1, count); }

std::string Right(std::string_view text, int count) {
  if (count <= 0) return "";
  std::size_t n = std::min(text.size(), static_cast<std::size_t>(count));
  return std::string(text.substr(text.size() - n));
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : Translate(c, kPolishLower, kPolishUpper);
  return out;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : Translate(c, kPolishUpper, kPolishLower);
  return out;
}

int At(std::string_view needle, std::string_view text) {
  if (needle.empty()) return 0;
  std::size_t i = text.find(needle);
  return i == std::string_view::npos ? 0 : static_cast<int>(i) + 1;
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace zuvtill::runtime
