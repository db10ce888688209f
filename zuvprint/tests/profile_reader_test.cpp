#include "platform/profile_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/utf8.h"
#include "temp_file.h"

namespace zuvprint::platform {
namespace {

using testing::TempFile;

constexpr std::string_view kMissing = "<missing>";

struct LookupCase {
  const char* name;
  std::string text;
  std::string section;
  std::string key;
  std::string expected;  // kMissing when the fallback must answer
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }

class ProfileLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(ProfileLookup, AnswersValueOrFallback) {
  const LookupCase& c = GetParam();
  ProfileReader reader = ProfileReader::FromText(c.text);
  EXPECT_EQ(reader.GetString(c.section, c.key, kMissing), c.expected);
}

const std::string kLong(3000, 'x');

// A UTF-8 text as a UTF-16 file with its byte-order mark.
std::string Utf16(std::string_view utf8, bool littleEndian) {
  std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
  auto put = [&](char32_t unit) {
    char lo = static_cast<char>(unit & 0xFF), hi = static_cast<char>(unit >> 8);
    out += littleEndian ? lo : hi;
    out += littleEndian ? hi : lo;
  };
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t c = *DecodeUtf8(utf8, i);
    if (c < 0x10000) {
      put(c);
    } else {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Names, ProfileLookup,
    ::testing::Values(
        LookupCase{"plain", "[Ogolne]\nOdstep=25000\n", "Ogolne", "Odstep", "25000"},
        LookupCase{"section_case", "[OGOLNE]\nOdstep=1\n", "ogolne", "Odstep", "1"},
        LookupCase{"key_case", "[Ogolne]\nODSTEP=1\n", "Ogolne", "odStep", "1"},
        LookupCase{"missing_section", "[Ogolne]\nOdstep=1\n", "Czcionka", "Odstep",
                   std::string(kMissing)},
        LookupCase{"missing_key", "[Ogolne]\nOdstep=1\n", "Ogolne", "Grubosc",
                   std::string(kMissing)},
        LookupCase{"key_in_other_section", "[A]\nk=1\n[B]\nx=2\n", "B", "k",
                   std::string(kMissing)},
        LookupCase{"same_key_two_sections", "[A]\nk=1\n[B]\nk=2\n", "B", "k", "2"},
        LookupCase{"blanks_around_header_name", "  [ Ogolne ]  \nk=1\n", "Ogolne", "k", "1"},
        LookupCase{"text_after_header", "[Ogolne] ; main\nk=1\n", "Ogolne", "k", "1"},
        LookupCase{"key_before_any_header", "k=1\n[S]\nx=2\n", "S", "k",
                   std::string(kMissing)},
        LookupCase{"header_without_bracket_ignored", "[S]\n[T\nk=1\n", "S", "k", "1"},
        LookupCase{"blanks_around_key", "[S]\n \t Odstep \t=5\n", "S", "Odstep",
                   "5"},
        LookupCase{"blanks_inside_key_kept", "[S]\nLogo X=5\n", "S", "LogoX",
                   std::string(kMissing)},
        LookupCase{"key_without_equals_ignored", "[S]\nLogo\nLogo=b.bmp\n", "S", "Logo",
                   "b.bmp"},
        LookupCase{"equals_in_value", "[S]\nk=a=b\n", "S", "k", "a=b"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    FirstOccurrence, ProfileLookup,
    ::testing::Values(
        LookupCase{"in_one_section", "[S]\nk=first\nk=second\n", "S", "k", "first"},
        LookupCase{"differing_case", "[S]\nKey=first\nKEY=second\n", "S", "key", "first"},
        LookupCase{"repeated_header", "[S]\nk=first\n[T]\nk=t\n[s]\nk=second\n", "S", "k",
                   "first"},
        LookupCase{"key_only_in_repeat", "[S]\na=1\n[T]\n[S]\nk=later\n", "S", "k",
                   std::string(kMissing)},
        LookupCase{"repeat_in_other_case", "[S]\n[s]\nk=later\n", "S", "k", std::string(kMissing)},
        LookupCase{"empty_first_still_wins", "[S]\nk=\nk=second\n", "S", "k", ""}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Values, ProfileLookup,
    ::testing::Values(
        LookupCase{"blanks_stripped", "[S]\nk= \t Lucida Console \t \n", "S", "k",
                   "Lucida Console"},
        LookupCase{"empty_value_is_not_missing", "[S]\nk=\n", "S", "k", ""},
        LookupCase{"double_quotes", "[S]\nk=\"Courier New\"\n", "S", "k", "Courier New"},
        LookupCase{"single_quotes", "[S]\nk='Courier New'\n", "S", "k", "Courier New"},
        LookupCase{"blanks_inside_quotes_kept", "[S]\nk=\"  a  \"\n", "S", "k", "  a  "},
        LookupCase{"blanks_outside_quotes", "[S]\nk=  \"a\"  \n", "S", "k", "a"},
        LookupCase{"only_one_pair", "[S]\nk=\"\"a\"\"\n", "S", "k", "\"a\""},
        LookupCase{"empty_quotes", "[S]\nk=\"\"\n", "S", "k", ""},
        LookupCase{"mismatched_quotes_kept", "[S]\nk=\"a'\n", "S", "k", "\"a'"},
        LookupCase{"lone_quote_kept", "[S]\nk=\"\n", "S", "k", "\""},
        LookupCase{"opening_quote_only", "[S]\nk=\"abc\n", "S", "k", "\"abc"},
        LookupCase{"inner_quotes_kept", "[S]\nk=a \"b\" c\n", "S", "k", "a \"b\" c"},
        LookupCase{"semicolon_in_value_kept", "[S]\nk=a;b\n", "S", "k", "a;b"},
        LookupCase{"cp852_bytes_kept", "[S]\nk=\xA5\xA9\xBE\n", "S", "k", "\xA5\xA9\xBE"},
        LookupCase{"utf8_bytes_kept", "[S]\nk=\xC5\x81\xC3\xB3\n", "S", "k",
                   "\xC5\x81\xC3\xB3"},
        LookupCase{"nul_byte_kept", std::string("[S]\nk=a\0b\n", 9), "S", "k",
                   std::string("a\0b", 3)},
        LookupCase{"cut_to_2047", "[S]\nk=" + kLong + "\n", "S", "k", std::string(2047, 'x')},
        LookupCase{"exactly_2047_kept", "[S]\nk=" + std::string(2047, 'y'), "S", "k",
                   std::string(2047, 'y')},
        LookupCase{"quotes_removed_before_cut", "[S]\nk=\"" + std::string(2047, 'z') + "\"",
                   "S", "k", std::string(2047, 'z')}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Lines, ProfileLookup,
    ::testing::Values(
        LookupCase{"comment_line", "[S]\n;k=1\nk=2\n", "S", "k", "2"},
        LookupCase{"indented_comment", "[S]\n  \t;k=1\n", "S", "k", std::string(kMissing)},
        LookupCase{"comment_keeps_section", "[S]\n; note\nk=1\n", "S", "k", "1"},
        LookupCase{"commented_header", ";[T]\n[S]\nk=1\n", "T", "k", std::string(kMissing)},
        LookupCase{"hash_is_not_a_comment", "[S]\n#k=1\n", "S", "#k", "1"},
        LookupCase{"crlf", "[S]\r\nk=value\r\nj=2\r\n", "S", "k", "value"},
        LookupCase{"crlf_header", "[S]\r\nk=1\r\n", "S", "k", "1"},
        LookupCase{"crlf_quoted", "[S]\r\nk=\"a b\"\r\n", "S", "k", "a b"},
        LookupCase{"no_final_newline", "[S]\nk=last", "S", "k", "last"},
        LookupCase{"blank_lines", "\n\n[S]\n\n   \nk=1\n\n", "S", "k", "1"},
        LookupCase{"bom_at_start", "\xEF\xBB\xBF[S]\nk=1\n", "S", "k", "1"},
        LookupCase{"bom_later_is_data", "[S]\nk=\xEF\xBB\xBFv\n", "S", "k", "\xEF\xBB\xBFv"},
        LookupCase{"empty_text", "", "S", "k", std::string(kMissing)},
        // UTF-16 with its byte-order mark, in either order; values come back in UTF-8.
        LookupCase{"utf16le", Utf16("[Og\u00f3lne]\r\nk=\u0141\u00f3d\u017a \U0001F600\r\n", true), "Og\u00f3lne", "k",
                   "\u0141\u00f3d\u017a \U0001F600"},
        LookupCase{"utf16be", Utf16("[S]\nk=\u0105\n", false), "S", "k", "\u0105"},
        LookupCase{"utf16_lone_surrogate", "\xFF\xFE" + std::string("[\0S\0]\0\n\0k\0=\0\x00\xD8", 14), "S", "k",
                   "\uFFFD"}),
    [](const auto& info) { return std::string(info.param.name); });


// Files through the platform's reader (Windows: GetPrivateProfileStringW),
// which must answer as this reader answers texts.
TEST(ProfileFile, FilesAreReadAsTheirTextsAre) {
  const LookupCase cases[] = {
      {"bom_crlf_quotes", "\xEF\xBB\xBF[Drukarka]\r\nNazwa = \"HP \xC4\x85\" \r\n", "drukarka", "NAZWA", "HP \xC4\x85"},
      {"utf16le", Utf16("[Ogolne]\r\nTlo=t\u0142o.png\r\n", true), "Ogolne", "Tlo", "t\u0142o.png"},
      {"first_section_only", "[S]\na=1\n[T]\n[S]\nk=later\n", "S", "k", std::string(kMissing)},
      {"first_occurrence", "[S]\nk=first\nK=second\n", "S", "k", "first"},
      {"comment", "[S]\n;k=1\n", "S", "k", std::string(kMissing)},
      {"cut_to_2047", "[S]\nk=" + kLong + "\n", "S", "k", std::string(2047, 'x')},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempFile file(c.text, ".ini");
    EXPECT_EQ(ProfileReader::FromFile(file.path()).GetString(c.section, c.key, kMissing), c.expected);
    ASSERT_TRUE(ProfileReader::FromReadableFile(file.path()));
  }
  EXPECT_FALSE(ProfileReader::FromReadableFile("no_such_profile_file.ini"));
}

// Large input must be read in one linear pass: a huge value, a huge line
// without '=' and many repeated keys all in one text.
TEST(ProfileFile, HugeInputIsReadCompletely) {
  std::string text = "[S]\nbig=" + std::string(20'000'000, 'v') + "\n";
  text += std::string(20'000'000, 'n') + "\n";
  for (int i = 0; i < 200'000; ++i) text += "k=" + std::to_string(i) + "\n";
  text += "[T]\nend=yes\n";

  ProfileReader reader = ProfileReader::FromText(text);
  EXPECT_EQ(reader.GetString("S", "big", kMissing), std::string(2047, 'v'));
  EXPECT_EQ(reader.GetString("S", "k", kMissing), "0");
  EXPECT_EQ(reader.GetString("T", "end", kMissing), "yes");
}

}  // namespace
}  // namespace zuvprint::platform
