#include "run/text_utils.h"

#include <algorithm>

namespace zuvprint {

long long HexNaLiczbe(std::string_view text) {
  static constexpr std::string_view kDigits = "0123456789ABCDEF";
  // Unsigned arithmetic wraps like the fixed-width integers of the original
  // platform instead of overflowing on a pathological text.
  unsigned long long value = 0;
  unsigned long long weight = 1;
  for (auto it = text.rbegin(); it != text.rend(); ++it) {
    char c = *it;
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    auto digit = kDigits.find(c);
    value += (digit == std::string_view::npos ? ~0ULL : digit) * weight;
    weight *= 16;
  }
  return static_cast<long long>(value);
}

std::string_view Prawe(std::string_view text, long long n) {
  if (n <= 0) return {};
  auto count = static_cast<std::size_t>(std::min<long long>(n, static_cast<long long>(text.size())));
  return text.substr(text.size() - count);
}

std::string_view Lewe(std::string_view text, long long n) {
  if (n <= 0) return {};
  return text.substr(0, static_cast<std::size_t>(std::min<long long>(n, static_cast<long long>(text.size()))));
}

std::string_view OdPozycji(std::string_view text, long long i) {
  if (i < 1) i = 1;
  if (i > static_cast<long long>(text.size())) return {};
  return text.substr(static_cast<std::size_t>(i - 1));
}

std::string_view Wycinek(std::string_view text, long long i, long long n) { return Lewe(OdPozycji(text, i), n); }

std::string ZamienWszystko(std::string_view text, std::string_view what, std::string_view with) {
  if (what.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (auto at = text.find(what); at != std::string_view::npos; at = text.find(what, from)) {
    out.append(text.substr(from, at - from));
    out.append(with);
    from = at + what.size();
  }
  out.append(text.substr(from));
  return out;
}

std::string_view PrzytnijBiale(std::string_view text) {
  auto bialy = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && bialy(text.front())) text.remove_prefix(1);
  while (!text.empty() && bialy(text.back())) text.remove_suffix(1);
  return text;
}

std::string WielkieLitery(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

}  // namespace zuvprint
