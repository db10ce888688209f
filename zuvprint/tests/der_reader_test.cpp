// The DER reader over hand-made encodings: each typed read, and input
// that lies about its lengths or nests without end.
#include "platform/der_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace zuvprint::platform::der {
namespace {

std::vector<std::uint8_t> Hex(std::string_view hex) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    if (hex[i] == ' ') {
      --i;
      continue;
    }
    out.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return out;
}

std::string HexOf(Bytes bytes) {
  std::string s;
  char buf[3];
  for (auto b : bytes) {
    std::snprintf(buf, sizeof buf, "%02x", b);
    s += buf;
  }
  return s;
}

TEST(DerReader, UnsignedIntegersLoseTheirSignByteAndRefuseNegatives) {
  struct Case {
    const char* der;
    std::optional<std::string> magnitude;
  } cases[] = {
      {"02 01 00", ""},
      {"02 01 7f", "7f"},
      {"02 02 00 80", "80"},
      {"02 03 00 00 01", "01"},
      {"02 01 80", std::nullopt},    // negative
      {"02 00", std::nullopt},       // no content
      {"04 01 01", std::nullopt},    // another type
      {"02 02 01", std::nullopt},    // content cut off
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.der);
    auto bytes = Hex(c.der);
    Reader r(bytes);
    auto got = r.UnsignedInteger();
    ASSERT_EQ(got.has_value(), c.magnitude.has_value());
    if (got) {
      EXPECT_EQ(HexOf(*got), *c.magnitude);
      EXPECT_TRUE(r.AtEnd());
    } else {
      EXPECT_FALSE(r.AtEnd()) << "a refused read takes nothing";
    }
  }
}

TEST(DerReader, SmallIntegersUpTo64Bits) {
  auto fits = Hex("02 09 00 ff ff ff ff ff ff ff ff");
  EXPECT_EQ(Reader(fits).SmallInteger(), 0xFFFFFFFFFFFFFFFFull);
  auto tooBig = Hex("02 09 01 00 00 00 00 00 00 00 00");
  EXPECT_EQ(Reader(tooBig).SmallInteger(), std::nullopt);
}

TEST(DerReader, ObjectIdentifiersInDottedForm) {
  struct Case {
    const char* der;
    std::optional<std::string> dotted;
  } cases[] = {
      {"06 09 2a 86 48 86 f7 0d 01 01 01", "1.2.840.113549.1.1.1"},
      {"06 08 2a 86 48 ce 3d 03 01 07", "1.2.840.10045.3.1.7"},
      {"06 05 2b 81 04 00 22", "1.3.132.0.34"},
      {"06 03 2b 65 70", "1.3.101.112"},
      {"06 03 88 37 01", "2.999.1"},
      {"06 00", std::nullopt},
      {"06 02 2a 86", std::nullopt},                             // last arc cut off
      {"06 03 2a 80 01", std::nullopt},                          // padded arc
      {"06 0c 2a ff ff ff ff ff ff ff ff ff ff 7f", std::nullopt},  // arc beyond 64 bits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.der);
    auto bytes = Hex(c.der);
    EXPECT_EQ(Reader(bytes).ObjectIdentifier(), c.dotted);
  }
}

TEST(DerReader, BitStringsOctetStringsAndNull) {
  auto bits = Hex("03 03 00 04 05");
  EXPECT_EQ(HexOf(*Reader(bits).BitString()), "0405");
  auto unusedBits = Hex("03 02 01 fe");
  EXPECT_EQ(Reader(unusedBits).BitString(), std::nullopt);
  auto emptyBits = Hex("03 00");
  EXPECT_EQ(Reader(emptyBits).BitString(), std::nullopt);
  auto octets = Hex("04 02 ab cd");
  EXPECT_EQ(HexOf(*Reader(octets).OctetString()), "abcd");
  auto null = Hex("05 00");
  EXPECT_TRUE(Reader(null).Null());
  auto fatNull = Hex("05 01 00");
  EXPECT_FALSE(Reader(fatNull).Null());
}

TEST(DerReader, SequencesAndContextTagsReadTheirContentOnly) {
  // SEQUENCE { INTEGER 1, [0] { OID 1.3.132.0.34 }, [1] { BIT STRING 04 } }, then NULL
  auto bytes = Hex("30 12 02 01 01 a0 07 06 05 2b 81 04 00 22 a1 04 03 02 00 04 05 00");
  Reader top(bytes);
  auto seq = top.Sequence();
  ASSERT_TRUE(seq);
  EXPECT_EQ(seq->SmallInteger(), 1u);
  EXPECT_EQ(seq->Explicit(1), std::nullopt) << "[0] comes first";
  auto params = seq->Explicit(0);
  ASSERT_TRUE(params);
  EXPECT_EQ(params->ObjectIdentifier(), "1.3.132.0.34");
  EXPECT_TRUE(params->AtEnd());
  auto pub = seq->Explicit(1);
  ASSERT_TRUE(pub);
  EXPECT_EQ(HexOf(*pub->BitString()), "04");
  EXPECT_TRUE(seq->AtEnd());
  EXPECT_TRUE(top.Null());
  EXPECT_TRUE(top.AtEnd());
}

TEST(DerReader, LengthsThatDoNotFitTheInputAreRefused) {
  const char* cases[] = {
      "30",                              // no length
      "30 05 02 01 00",                  // claims more than there is
      "30 84 7f ff ff ff 02 01 00",      // far more
      "30 88 ff ff ff ff ff ff ff ff",   // beyond every size
      "30 89 01 00 00 00 00 00 00 00 00 00",  // more length bytes than a size has
      "30 82 00",                        // length bytes cut off
      "30 80 02 01 00 00 00",            // indefinite (BER)
      "1f 81 01 00",                     // a multi-byte tag
  };
  for (const char* c : cases) {
    SCOPED_TRACE(c);
    auto bytes = Hex(c);
    Reader r(bytes);
    EXPECT_EQ(r.PeekTag(), std::nullopt);
    EXPECT_FALSE(r.Next().has_value());
    EXPECT_EQ(r.Sequence(), std::nullopt);
  }
  auto longForm = Hex("04 82 00 03 aa bb cc");  // a padded long length still reads
  EXPECT_EQ(HexOf(*Reader(longForm).OctetString()), "aabbcc");
}

TEST(DerReader, NestingStopsAtTheDepthLimit) {
  // 100 000 SEQUENCEs, each the whole content of the one before.
  constexpr std::size_t kLevels = 100000, kHeader = 6;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < kLevels; ++i) {
    const std::size_t inner = kHeader * (kLevels - 1 - i);
    bytes.insert(bytes.end(), {0x30, 0x84, static_cast<std::uint8_t>(inner >> 24), static_cast<std::uint8_t>(inner >> 16),
                               static_cast<std::uint8_t>(inner >> 8), static_cast<std::uint8_t>(inner)});
  }
  std::optional<Reader> r = Reader(bytes);
  int depth = 0;
  while ((r = r->Sequence())) ++depth;
  EXPECT_EQ(depth, kMaxDepth);
}

}  // namespace
}  // namespace zuvprint::platform::der
