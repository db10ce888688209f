// UTF-8 encoding of code points, for fonts, logs and messages.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zuvprint::platform {

inline void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

inline std::string ToUtf8(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) AppendUtf8(out, c);
  return out;
}

// Decodes one UTF-8 character at text[i], advancing i; nothing for a
// malformed sequence (bad lead or continuation byte, overlong form,
// surrogate, beyond U+10FFFF).
inline std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  std::size_t length;
  char32_t c;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (text.size() - i < length) return std::nullopt;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  i += length;
  return c;
}

// Text for people: valid UTF-8 passes unchanged; any other byte (a file
// name in a single-byte code page, say) is shown as the character with its
// own number, so logs and terminals always get valid UTF-8.
inline std::string DisplayUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    std::size_t start = i;
    if (DecodeUtf8(bytes, i)) {
      out.append(bytes.substr(start, i - start));
    } else {
      AppendUtf8(out, static_cast<unsigned char>(bytes[i]));
      ++i;
    }
  }
  return out;
}

// UTF-16 code units, as bytes of either order, to UTF-8. A surrogate
// without its partner becomes U+FFFD, and an odd last byte is dropped.
inline std::string Utf16BytesToUtf8(std::string_view bytes, bool littleEndian) {
  auto unit = [&](std::size_t k) -> char32_t {
    auto lo = static_cast<unsigned char>(bytes[littleEndian ? k : k + 1]);
    auto hi = static_cast<unsigned char>(bytes[littleEndian ? k + 1 : k]);
    return static_cast<char32_t>(lo | (hi << 8));
  };
  std::string out;
  out.reserve(bytes.size());
  const std::size_t end = bytes.size() & ~std::size_t{1};
  for (std::size_t k = 0; k < end; k += 2) {
    char32_t c = unit(k);
    if (c >= 0xD800 && c <= 0xDBFF && k + 2 < end && unit(k + 2) >= 0xDC00 && unit(k + 2) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(k + 2) - 0xDC00);
      k += 2;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

// The number of characters of a name: UTF-8 characters, and any byte that
// is not part of one counted as a character of its own, as DisplayUtf8
// shows it.
inline std::size_t CharacterCount(std::string_view bytes) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < bytes.size(); ++count)
    if (!DecodeUtf8(bytes, i)) ++i;
  return count;
}

inline bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// Whether the bytes are well-formed UTF-8 throughout.
inline bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();)
    if (!DecodeUtf8(text, i)) return false;
  return true;
}

}  // namespace zuvprint::platform
