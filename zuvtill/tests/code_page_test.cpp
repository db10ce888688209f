// The code page 852 conversion held against the C library's iconv: every
// byte and every Unicode character both ways as iconv converts them, and
// what iconv refuses (bytes that are not UTF-8) kept as the host's bytes.
#include <gtest/gtest.h>

#include <iconv.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/code_page.h"

namespace zuvtill::testing {
namespace {

using runtime::Cp852ToUtf8;
using runtime::Utf8ToCp852;

// One iconv direction; Convert answers nothing when iconv refuses the input
// as a whole (a byte it cannot decode, a character it cannot encode, a cut
// off sequence).
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(::iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("no iconv from ") + from);
  }
  ~Iconv() { ::iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  std::optional<std::string> Convert(const std::string& in) {
    ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string source = in;
    char buffer[64];
    char* src = source.data();
    std::size_t srcLeft = source.size();
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    if (::iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) || srcLeft != 0) {
      return std::nullopt;
    }
    return std::string(buffer, dst);
  }

 private:
  iconv_t cd_;
};

std::string Byte(int b) { return std::string(1, static_cast<char>(b)); }

TEST(CodePage, EveryByteConvertsAsIconvDoesAndBack) {
  Iconv toUtf8("UTF-8", "CP852");
  std::string all, allUtf8;
  for (int b = 0; b < 256; ++b) {
    std::optional<std::string> expected = toUtf8.Convert(Byte(b));
    ASSERT_TRUE(expected) << "iconv has no character for byte " << b;
    EXPECT_EQ(Cp852ToUtf8(Byte(b)), *expected) << "byte " << b;
    EXPECT_EQ(Utf8ToCp852(*expected), Byte(b)) << "byte " << b;
    all += Byte(b);
    allUtf8 += *expected;
  }
  EXPECT_EQ(Cp852ToUtf8(all), allUtf8);
  EXPECT_EQ(Utf8ToCp852(allUtf8), all);
}

// Every character from U+0000 to U+10FFFF (the surrogates are no
// characters): its byte where iconv has one, '?' where iconv has none.
TEST(CodePage, EveryCharacterConvertsAsIconvDoes) {
  Iconv utf8Of("UTF-8", "UTF-32LE");
  Iconv toCp852("CP852", "UTF-8");
  int mapped = 0;
  std::vector<std::string> wrong;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    std::string utf32;
    for (int shift = 0; shift < 32; shift += 8) utf32 += static_cast<char>((c >> shift) & 0xFF);
    std::optional<std::string> utf8 = utf8Of.Convert(utf32);
    ASSERT_TRUE(utf8) << "U+" << std::hex << static_cast<unsigned>(c);
    std::string expected = toCp852.Convert(*utf8).value_or("?");
    // glibc's iconv drops the tag characters without a trace; the code
    // page has none of them.
    if (c >= 0xE0000 && c <= 0xE007F) expected = "?";
    mapped += expected != "?";
    if (Utf8ToCp852(*utf8) != expected && wrong.size() < 10) {
      wrong.push_back(*utf8 + " U+" + std::to_string(static_cast<unsigned>(c)));
    }
  }
  EXPECT_EQ(mapped, 255);  // a byte each but '?' itself, and no character more
  EXPECT_EQ(wrong, std::vector<std::string>{});
}

TEST(CodePage, ACharacterMissingFromTheCodePageBecomesOneQuestionMark) {
  struct Case {
    std::string utf8, cp852;
  };
  const Case cases[] = {
      {"€", "?"},                                     // three bytes
      {"\xF0\x9F\x98\x80", "?"},                      // four bytes: U+1F600
      {"ł€ż", "\x88?\xBE"},                           // between two that the code page has
      {"ø", "?"},                                     // Latin-1, not Central European
      {"\xEF\xBF\xBD", "?"},                          // the replacement character itself
      {"Zażółć gęślą jaźń", "Za\xBE\xA2\x88\x86 g\xA9\x98l\xA5 ja\xAB\xE4"},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToCp852(c.utf8), c.cp852) << c.utf8;
}

// Bytes that are not strict UTF-8 are the host's code page 852 bytes and
// come through unchanged, each one; a valid character right after them is
// still converted. iconv refuses every one of these inputs.
TEST(CodePage, BytesThatAreNotUtf8AreTakenAsTheyStand) {
  struct Case {
    std::string name, text, cp852;
  };
  const Case cases[] = {
      {"cut off at the end", "ab\xC5", "ab\xC5"},
      {"cut off before ASCII", "\xC5x", "\xC5x"},
      {"three bytes cut off at two", "\xE2\x82", "\xE2\x82"},
      {"cut off, then a character missing from 852", "\xE2\x82\xE2\x82\xAC", "\xE2\x82?"},
      {"a lead byte before a whole character", "\xC5\xC5\x82", "\xC5\x88"},
      {"a continuation byte alone", "\x80", "\x80"},
      {"overlong NUL", "\xC0\x80", "\xC0\x80"},
      {"overlong two bytes", "\xC1\xBF", "\xC1\xBF"},
      {"overlong three bytes", "\xE0\x80\xAF", "\xE0\x80\xAF"},
      {"overlong four bytes", "\xF0\x80\x80\xAF", "\xF0\x80\x80\xAF"},
      {"a high surrogate", "\xED\xA0\x80", "\xED\xA0\x80"},
      {"a low surrogate", "\xED\xBF\xBF", "\xED\xBF\xBF"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\xF4\x90\x80\x80"},
      {"five bytes", "\xF8\x88\x80\x80\x80", "\xF8\x88\x80\x80\x80"},
      {"bytes never in UTF-8", "\xFE\xFF", "\xFE\xFF"},
      {"host text among UTF-8", "\xA5\x86 ż", "\xA5\x86 \xBE"},
  };
  Iconv toCp852("CP852", "UTF-8");
  for (const Case& c : cases) {
    EXPECT_FALSE(toCp852.Convert(c.text)) << c.name << ": iconv takes it";
    EXPECT_EQ(Utf8ToCp852(c.text), c.cp852) << c.name;
  }
}

}  // namespace
}  // namespace zuvtill::testing
