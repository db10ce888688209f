// A reader of DER, the encoding of keys, for input that may be hostile: every
// length is checked against what is left of the input, only definite lengths
// and one-byte tags are taken, and readers of nested elements count their
// depth, so no input can make the reader run past its bytes, overflow a
// size or descend without end. Each read answers nothing on malformed input
// and then leaves the reader where it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace zuvprint::platform::der {

using Bytes = std::span<const std::uint8_t>;

// Tags of the universal types that keys use, and the class bits of the
// context-specific ones.
enum Tag : std::uint8_t {
  kInteger = 0x02,
  kBitString = 0x03,
  kOctetString = 0x04,
  kNull = 0x05,
  kObjectIdentifier = 0x06,
  kSequence = 0x30,
  kContextConstructed = 0xA0,  // [n] EXPLICIT is 0xA0 | n
};

// Deeper nesting than keys ever have is taken for an attack.
inline constexpr int kMaxDepth = 16;

struct Element {
  std::uint8_t tag = 0;
  Bytes content;
};

class Reader {
 public:
  explicit Reader(Bytes input) : rest_(input) {}

  bool AtEnd() const { return rest_.empty(); }

  // The tag of the next element, without reading it.
  std::optional<std::uint8_t> PeekTag() const;

  // The next element, whatever its tag.
  std::optional<Element> Next();

  // The content of a constructed element (SEQUENCE, [n]) as a reader one
  // level deeper; nothing past kMaxDepth.
  std::optional<Reader> Sequence() { return Nested(kSequence); }
  std::optional<Reader> Explicit(int number) { return Nested(static_cast<std::uint8_t>(kContextConstructed | number)); }

  // A non-negative INTEGER as its magnitude, big-endian, without leading
  // zero bytes (zero is the empty span). A negative one is refused.
  std::optional<Bytes> UnsignedInteger();
  // A non-negative INTEGER that fits 64 bits.
  std::optional<std::uint64_t> SmallInteger();
  std::optional<Bytes> OctetString();
  // A BIT STRING of whole bytes (no unused bits), as those bytes.
  std::optional<Bytes> BitString();
  // An OBJECT IDENTIFIER in dotted form, "1.2.840.10045.2.1".
  std::optional<std::string> ObjectIdentifier();
  bool Null();

 private:
  Reader(Bytes input, int depth) : rest_(input), depth_(depth) {}
  std::optional<Bytes> Primitive(std::uint8_t tag);
  std::optional<Reader> Nested(std::uint8_t tag);

  Bytes rest_;
  int depth_ = 0;
};

}  // namespace zuvprint::platform::der
