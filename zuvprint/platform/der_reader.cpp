#include "platform/der_reader.h"

#include <limits>

namespace zuvprint::platform::der {
namespace {

struct Header {
  std::uint8_t tag = 0;
  std::size_t headerSize = 0;
  std::size_t length = 0;
};

// Tag and length of the element at the start of input, when its whole
// content lies within input. Long lengths with leading zero bytes are taken
// (some writers pad them); the indefinite length of BER is not.
std::optional<Header> ReadHeader(Bytes input) {
  if (input.size() < 2) return std::nullopt;
  Header h;
  h.tag = input[0];
  if ((h.tag & 0x1F) == 0x1F) return std::nullopt;  // multi-byte tags: no key uses them
  const std::uint8_t first = input[1];
  h.headerSize = 2;
  if (first < 0x80) {
    h.length = first;
  } else {
    const std::size_t count = first & 0x7F;
    if (count == 0) return std::nullopt;  // indefinite
    if (count > input.size() - 2) return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) {
      if (h.length > (std::numeric_limits<std::size_t>::max() >> 8)) return std::nullopt;
      h.length = (h.length << 8) | input[2 + i];
    }
    h.headerSize += count;
  }
  if (h.length > input.size() - h.headerSize) return std::nullopt;
  return h;
}

}  // namespace

std::optional<std::uint8_t> Reader::PeekTag() const {
  auto h = ReadHeader(rest_);
  if (!h) return std::nullopt;
  return h->tag;
}

std::optional<Element> Reader::Next() {
  auto h = ReadHeader(rest_);
  if (!h) return std::nullopt;
  Element e{h->tag, rest_.subspan(h->headerSize, h->length)};
  rest_ = rest_.subspan(h->headerSize + h->length);
  return e;
}

std::optional<Bytes> Reader::Primitive(std::uint8_t tag) {
  auto h = ReadHeader(rest_);
  if (!h || h->tag != tag) return std::nullopt;
  return Next()->content;
}

std::optional<Reader> Reader::Nested(std::uint8_t tag) {
  if (depth_ >= kMaxDepth) return std::nullopt;
  auto content = Primitive(tag);
  if (!content) return std::nullopt;
  return Reader(*content, depth_ + 1);
}

std::optional<Bytes> Reader::UnsignedInteger() {
  Reader copy = *this;
  auto content = copy.Primitive(kInteger);
  if (!content || content->empty() || ((*content)[0] & 0x80) != 0) return std::nullopt;
  Bytes magnitude = *content;
  while (!magnitude.empty() && magnitude[0] == 0) magnitude = magnitude.subspan(1);
  *this = copy;
  return magnitude;
}

std::optional<std::uint64_t> Reader::SmallInteger() {
  Reader copy = *this;
  auto magnitude = copy.UnsignedInteger();
  if (!magnitude || magnitude->size() > sizeof(std::uint64_t)) return std::nullopt;
  std::uint64_t value = 0;
  for (std::uint8_t b : *magnitude) value = (value << 8) | b;
  *this = copy;
  return value;
}

std::optional<Bytes> Reader::OctetString() { return Primitive(kOctetString); }

std::optional<Bytes> Reader::BitString() {
  Reader copy = *this;
  auto content = copy.Primitive(kBitString);
  if (!content || content->empty() || (*content)[0] != 0) return std::nullopt;
  *this = copy;
  return content->subspan(1);
}

std::optional<std::string> Reader::ObjectIdentifier() {
  Reader copy = *this;
  auto content = copy.Primitive(kObjectIdentifier);
  if (!content || content->empty()) return std::nullopt;
  std::string dotted;
  std::uint64_t arc = 0;
  bool first = true;
  bool startOfArc = true;
  for (std::uint8_t b : *content) {
    if (startOfArc && b == 0x80) return std::nullopt;  // a padded arc
    if (arc > (std::numeric_limits<std::uint64_t>::max() >> 7)) return std::nullopt;
    arc = (arc << 7) | (b & 0x7F);
    startOfArc = (b & 0x80) == 0;
    if (!startOfArc) continue;
    if (first) {  // the first two arcs share one number
      const std::uint64_t top = arc < 40 ? 0 : arc < 80 ? 1 : 2;
      dotted = std::to_string(top) + "." + std::to_string(arc - top * 40);
      first = false;
    } else {
      dotted += "." + std::to_string(arc);
    }
    arc = 0;
  }
  if (!startOfArc) return std::nullopt;  // the last arc is cut off
  *this = copy;
  return dotted;
}

bool Reader::Null() {
  auto h = ReadHeader(rest_);
  if (!h || h->tag != kNull || h->length != 0) return false;
  Next();
  return true;
}

}  // namespace zuvprint::platform::der
