#include "ksef/crypto.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "ksef/cp852.h"
#include "platform/process.h"
#include "program_run.h"
#include "test_helpers.h"

namespace zuvprint {
namespace {

using testing::ErrorOf;

std::string Hex(const Sha256Digest& d) {
  static const char* digits = "0123456789abcdef";
  std::string s;
  for (auto b : d) {
    s += digits[b >> 4];
    s += digits[b & 15];
  }
  return s;
}

std::string Text(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The digest that the openssl program computes for a file, in lower-case hex.
std::string OpensslDigest(const std::string& path) {
  platform::ProcessResult r = platform::RunProcess("openssl", {"dgst", "-sha256", "-r", path});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return r.out.substr(0, 64);
}


// --- Digests of files ----------------------------------------------------

TEST(CalcSHA256File, EmptyFileGivesTheDigestOfTheEmptyMessage) {
  testing::ScratchDir dir;
  dir.Write("empty.xml", "");
  Sha256Digest d = TVelKrypto().CalcSHA256File((dir / "empty.xml").string());
  EXPECT_EQ(Hex(d), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  std::string url = EncodeBase64URL(d);
  EXPECT_EQ(url, "47DEQpj8HBSa-_TImW-5JCeuQeRkm5NMpJWZG3hSuFU");
  EXPECT_EQ(url.size(), 43u);
}

// Sizes around and at whole multiples of the 65,536-byte read piece: the
// last piece is full, short, or a single byte, and a whole multiple ends
// with a read of nothing.
class FileDigestBySize : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FileDigestBySize, EqualsTheDigestOfTheOpensslProgram) {
  testing::ScratchDir dir;
  std::string content(GetParam(), '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>((i * 131 + i / 65536) & 0xFF);
  dir.Write("f.xml", content);
  std::string path = (dir / "f.xml").string();
  EXPECT_EQ(Hex(TVelKrypto().CalcSHA256File(path)), OpensslDigest(path));
}

INSTANTIATE_TEST_SUITE_P(Pieces, FileDigestBySize,
                         ::testing::Values(1, 65535, 65536, 65537, 2 * 65536, 3 * 65536, 3 * 65536 + 1));

TEST(CalcSHA256File, NoRegularFileRaisesBeforeAnyDigest) {
  testing::ScratchDir dir;
  std::filesystem::create_directory(dir / "sub");
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  const std::string cases[] = {
      (dir / "brak.xml").string(),  // missing
      (dir / "sub").string(),       // a directory
      (dir / "pipe").string(),      // a pipe without a writer: must not block
      "/dev/zero",                  // a device: must not read for ever
      "",
  };
  for (const std::string& path : cases)
    EXPECT_EQ(ErrorOf([&] { TVelKrypto().CalcSHA256File(path); }), "Plik nie istnieje: " + path) << path;
}

TEST(CalcSHA256File, ReadFailureIsRaisedNotDigested) {
  // A regular file whose reads fail (offset 0 of our own memory is never
  // mapped).
  std::string path = "/proc/self/mem";
  EXPECT_EQ(ErrorOf([&] { TVelKrypto().CalcSHA256File(path); }), "Błąd odczytu pliku: " + path);
}

TEST(CalcSHA256File, UnreadableFileIsRaised) {
  testing::ScratchDir dir;
  dir.Write("secret.xml", "x");
  std::string path = (dir / "secret.xml").string();
  ASSERT_EQ(::chmod(path.c_str(), 0), 0);
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
  std::string expected = "Nie można otworzyć pliku: " + path;
  if (::geteuid() != 0) {
    EXPECT_EQ(ErrorOf([&] { TVelKrypto().CalcSHA256File(path); }), expected);
    return;
  }
  // Root reads every file: look at it as an ordinary user in a child.
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    try {
      TVelKrypto().CalcSHA256File(path);
    } catch (const KsefError& e) {
      ::_exit(e.what() == expected ? 0 : 3);
    }
    ::_exit(4);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2: could not become nobody, 3: other message, 4: no error";
}

TEST(CalcSHA256, KnownVectors) {
  TVelKrypto k;
  EXPECT_EQ(Hex(k.CalcSHA256("")), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Hex(k.CalcSHA256("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Hex(k.CalcSHA256("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

// --- Encodings -----------------------------------------------------------

struct Base64Case {
  std::string bytes;
  std::string standard;
  std::string url;
};

class Base64Vectors : public ::testing::TestWithParam<Base64Case> {};

TEST_P(Base64Vectors, EncodeAndDecodeBothAlphabets) {
  const Base64Case& c = GetParam();
  EXPECT_EQ(EncodeBase64(c.bytes), c.standard);
  EXPECT_EQ(EncodeBase64URL(c.bytes), c.url);
  EXPECT_EQ(Text(DecodeBase64ToBytes(c.standard)), c.bytes);
  EXPECT_EQ(Text(DecodeBase64URLToBytes(c.url)), c.bytes);
}

// RFC 4648 test vectors, and bytes that use the two characters in which
// the alphabets differ.
INSTANTIATE_TEST_SUITE_P(Rfc4648, Base64Vectors,
                         ::testing::Values(Base64Case{"", "", ""}, Base64Case{"f", "Zg==", "Zg"},
                                           Base64Case{"fo", "Zm8=", "Zm8"}, Base64Case{"foo", "Zm9v", "Zm9v"},
                                           Base64Case{"foob", "Zm9vYg==", "Zm9vYg"},
                                           Base64Case{"fooba", "Zm9vYmE=", "Zm9vYmE"},
                                           Base64Case{"foobar", "Zm9vYmFy", "Zm9vYmFy"},
                                           Base64Case{"\xfb\xff", "+/8=", "-_8"},
                                           Base64Case{std::string("\0\xfb\xef\xbe", 4), "APvvvg==", "APvvvg"}));

TEST(EncodeBase64, BreaksLinesAfterEvery76CharactersButNotAtTheEnd) {
  std::string a76(76, 'A');
  EXPECT_EQ(EncodeBase64(std::string(57, '\0')), a76);
  EXPECT_EQ(EncodeBase64(std::string(58, '\0')), a76 + "\r\nAA==");
  EXPECT_EQ(EncodeBase64(std::string(114, '\0')), a76 + "\r\n" + a76);
  EXPECT_EQ(DecodeBase64ToBytes(a76 + "\r\nAA==").size(), 58u);
}

TEST(EncodeBase64URL, OfADigestHas43CharactersWithoutPadding) {
  Sha256Digest d;
  for (std::size_t i = 0; i < d.size(); ++i) d[i] = static_cast<std::uint8_t>(0xFF - i * 3);
  std::string url = EncodeBase64URL(d);
  EXPECT_EQ(url.size(), 43u);
  EXPECT_EQ(url.find_first_of("=+/\r\n"), std::string::npos) << url;
  std::vector<std::uint8_t> back = DecodeBase64URLToBytes(url);
  EXPECT_EQ(back, std::vector<std::uint8_t>(d.begin(), d.end()));
}

TEST(DecodeBase64, PassesOverForeignCharactersAndStopsAtPadding) {
  struct {
    const char* text;
    const char* bytes;
  } cases[] = {
      {"Zm9v\r\nYmFy", "foobar"},  // line breaks
      {" Zm9v YmFy ", "foobar"},   // blanks
      {"Zm9v*YmFy!", "foobar"},    // other characters
      {"Zm9vYg==YmFy", "foob"},    // nothing after "="
      {"Zm8", "fo"},               // unpadded end
      {"Zm9vY", "foo"},            // a last lone character holds no byte
      {"-_8", ""},                 // the URL alphabet is foreign here
  };
  for (const auto& c : cases) EXPECT_EQ(Text(DecodeBase64ToBytes(c.text)), c.bytes) << c.text;
  EXPECT_EQ(Text(DecodeBase64URLToBytes("+/8=")), "");
}

// --- The stored password -------------------------------------------------

struct PasswordCase {
  const char* name;
  std::string stored;
  std::string clear;  // UTF-8
};

void PrintTo(const PasswordCase& c, std::ostream* os) { *os << c.name; }

class StoredPasswords : public ::testing::TestWithParam<PasswordCase> {};

TEST_P(StoredPasswords, Unscramble) { EXPECT_EQ(OdkodujHaslo(GetParam().stored), GetParam().clear); }

// Scrambled by hand (byte i of the password plus key byte i minus
// (i + 1) mod 16), then base64: "Ala" is 41 6C 61, scrambled
// 41+4B-1 = 8B, 6C+61-2 = CB, 61+76-3 = D4, base64 "i8vU".
INSTANTIATE_TEST_SUITE_P(
    Fixtures, StoredPasswords,
    ::testing::Values(
        PasswordCase{"empty", "", ""},
        PasswordCase{"ascii", "i8vU", "Ala"},
        // żółć is BE A2 88 86 in code page 852; BE+4B-1 and A2+61-2 wrap past 255.
        PasswordCase{"polish_letters", "CAH78Q==", "żółć"},
        // 23 characters: the key repeats after 20, (i + 1) mod 16 after 15.
        PasswordCase{"past_key_and_offset_wrap", "pMAxDbDUfssQAJjGBjOuxyFEjJqNeI+Q", "Zażółć gęślą jaźń 2024!"},
        PasswordCase{"long_ascii", "wtfr46DG1tzf4NLZi7ze7tjk4NW+0+ffnMLS2NvczuWXyOrq1ODc0Q==", std::string(40, 'x')},
        // " Ala\r\n" scrambled: the blank, CR and LF are removed.
        PasswordCase{"outer_blanks_removed", "aqDfzDVY", "Ala"},
        // 00 41 CB: 41 goes out unchanged as output byte 0, then CB is
        // unscrambled as output byte 1: CB-61+2 = 6C.
        PasswordCase{"escape_takes_a_key_position", "AEHL", "Al"},
        // 8B CB D4 00: a last escape puts out nothing.
        PasswordCase{"escape_at_the_end", "i8vUAA==", "Ala"},
        // 00 B6: B6 (Â) unchanged.
        PasswordCase{"escaped_high_byte", "ALY=", "Â"},
        PasswordCase{"not_base64", "!!!!", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZakodujHaslo, WritesTheFixturesAndEscapesAScrambledZero) {
  EXPECT_EQ(ZakodujHaslo("Ala"), "i8vU");
  EXPECT_EQ(ZakodujHaslo("żółć"), "CAH78Q==");
  EXPECT_EQ(ZakodujHaslo("Zażółć gęślą jaźń 2024!"), "pMAxDbDUfssQAJjGBjOuxyFEjJqNeI+Q");
  // B6 + 4B - 1 = 0 (mod 256) would read back as an escape.
  EXPECT_EQ(ZakodujHaslo("Â"), "ALY=");
}

TEST(ZakodujHaslo, RoundTripsThroughOdkodujHaslo) {
  // Every code page 852 character at every key position, and a password
  // long enough that standard base64 would break its line.
  std::string everything;
  for (int b = 0x21; b < 0x100; ++b) everything += static_cast<char>(b);
  std::string all852 = Cp852ToUtf8(everything);
  for (const std::string& password : {all852, std::string(60, 'q'), std::string("hasło z blankiem")}) {
    std::string stored = ZakodujHaslo(password);
    EXPECT_EQ(stored.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(OdkodujHaslo(stored), password);
  }
}

TEST(ZakodujHaslo, RefusesTextOutsideTheCodePage) {
  EXPECT_THROW(ZakodujHaslo("€uro"), std::invalid_argument);   // no such character
  EXPECT_THROW(ZakodujHaslo("a\xff"), std::invalid_argument);  // not UTF-8
  EXPECT_THROW(ZakodujHaslo("\xc4"), std::invalid_argument);   // cut-off sequence
  EXPECT_THROW(ZakodujHaslo("\xc1\x81"), std::invalid_argument);  // overlong form
}

// --- Code page 852 ----------------------------------------------------

TEST(Cp852, HighBytesMatchIconv) {
  testing::ScratchDir dir;
  std::string high;
  for (int b = 0x80; b < 0x100; ++b) high += static_cast<char>(b);
  dir.Write("high.txt", high);
  platform::ProcessResult r;
  try {
    r = platform::RunProcess("iconv", {"-f", "CP852", "-t", "UTF-8", (dir / "high.txt").string()});
  } catch (const platform::ProcessError& e) {
    GTEST_SKIP() << "no iconv: " << e.what();
  }
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Cp852ToUtf8(high), r.out);
  EXPECT_EQ(Utf8ToCp852(r.out), high);
}

TEST(Cp852, AsciiIsUnchanged) {
  std::string ascii;
  for (int b = 0; b < 0x80; ++b) ascii += static_cast<char>(b);
  EXPECT_EQ(Cp852ToUtf8(ascii), ascii);
  EXPECT_EQ(Utf8ToCp852(ascii), ascii);
}

}  // namespace
}  // namespace zuvprint
