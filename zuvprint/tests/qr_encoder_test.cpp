// The program's own QR encoder (the Windows build's) against zxing-cpp (the
// Linux build's): the same modules for every text, each version's capacity at
// level L, and every symbol of ours read back by zbarimg.
#include "platform/qr_encoder.h"

#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/qr/qr_symbol_writer.h"
#include "program_run.h"

namespace zuvprint::testing {
namespace {

using platform::QrModules;
using platform::qr::WriteQrSymbol;

// Characters per version at level L (numeric, alphanumeric, bytes), as
// ISO/IEC 18004 tabulates them.
constexpr int kCapacity[40][3] = {
    {41, 25, 17},       {77, 47, 32},       {127, 77, 53},      {187, 114, 78},     {255, 154, 106},
    {322, 195, 134},    {370, 224, 154},    {461, 279, 192},    {552, 335, 230},    {652, 395, 271},
    {772, 468, 321},    {883, 535, 367},    {1022, 619, 425},   {1101, 667, 458},   {1250, 758, 520},
    {1408, 854, 586},   {1548, 938, 644},   {1725, 1046, 718},  {1903, 1153, 792},  {2061, 1249, 858},
    {2232, 1352, 929},  {2409, 1460, 1003}, {2620, 1588, 1091}, {2812, 1704, 1171}, {3057, 1853, 1273},
    {3283, 1990, 1367}, {3517, 2132, 1465}, {3669, 2223, 1528}, {3909, 2369, 1628}, {4158, 2520, 1732},
    {4417, 2677, 1840}, {4686, 2840, 1952}, {4965, 3009, 2068}, {5253, 3183, 2188}, {5529, 3351, 2303},
    {5836, 3537, 2431}, {6153, 3729, 2563}, {6479, 3927, 2699}, {6743, 4087, 2809}, {7089, 4296, 2953},
};
enum Kind { kNumeric, kAlphanumeric, kBytes };

constexpr std::string_view kAlphanumericSet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
const std::string kDigest = "-JcbH0VWPqGdQEdU25qcaC-pHQ0rW31GiyzRZAbY9fE";
const std::string kSignature =
    "MEUCIQDx3wGf2r0nL7vQe9pXk4y8sZtHqWc1uJmNbVaR6oKdPAIgY2hTfLw5jE0sXiUo7GqBnCzMv3yKpQa4RbDe8WlF";

// A text of the kind's characters, the same for the same length.
std::string TextOf(Kind kind, int length) {
  std::string text;
  for (int i = 0; i < length; ++i) {
    const int k = i * 7 + length;
    text += kind == kNumeric        ? static_cast<char>('0' + k % 10)
            : kind == kAlphanumeric ? kAlphanumericSet[static_cast<std::size_t>(k) % kAlphanumericSet.size()]
                                    : static_cast<char>('a' + k % 26);
  }
  return text;
}

int VersionOf(int size) { return size == 0 ? 0 : (size - 17) / 4; }

// The mask a symbol's format information names.
int MaskOf(const QrModules& m) {
  int bits = 0;
  for (int i = 0; i <= 5; ++i) bits |= m.Dark(i, 8) << i;
  bits |= m.Dark(7, 8) << 6 | m.Dark(8, 8) << 7 | m.Dark(8, 7) << 8;
  for (int i = 9; i < 15; ++i) bits |= m.Dark(8, 14 - i) << i;
  return ((bits ^ 0x5412) >> 10) & 7;
}

std::string Printable(std::string_view text) {
  std::ostringstream out;
  out << text.size() << " bytes: \"";
  for (unsigned char c : text.substr(0, 160)) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out << c;
    } else {
      static const char* kHex = "0123456789ABCDEF";
      out << "\\x" << kHex[c >> 4] << kHex[c & 15];
    }
  }
  out << (text.size() > 160 ? "\"…" : "\"");
  return out.str();
}

// Empty when ours and zxing-cpp's are the same; otherwise what differs.
std::string Difference(std::string_view text) {
  const QrModules ours = WriteQrSymbol(text);
  const QrModules theirs = platform::EncodeQrLevelL(text);
  if (ours.size == theirs.size && ours.dark == theirs.dark) return "";
  std::ostringstream out;
  out << Printable(text) << "\n  ours: version " << VersionOf(ours.size) << " (" << ours.size << " modules)";
  if (ours.size) out << " mask " << MaskOf(ours);
  out << "\n  zxing-cpp: version " << VersionOf(theirs.size) << " (" << theirs.size << " modules)";
  if (theirs.size) out << " mask " << MaskOf(theirs);
  if (ours.size == theirs.size)
    for (int r = 0; r < ours.size; ++r)
      for (int c = 0; c < ours.size; ++c)
        if (ours.Dark(r, c) != theirs.Dark(r, c)) {
          out << "\n  first different module: row " << r << " column " << c;
          return out.str();
        }
  return out.str();
}

std::string EveryLatin1Letter() {
  std::string text;
  for (int c = 0x80; c <= 0xFF; ++c) text += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
  return text;
}

std::string EveryControlCharacter() {
  std::string text;
  for (int c = 0; c < 0x20; ++c) text += static_cast<char>(c);
  return text + "\x7F";
}

std::string EveryByte() {
  std::string text;
  for (int c = 0; c < 256; ++c) text += static_cast<char>(c);
  return text;
}

struct Named {
  std::string name;
  std::string text;
};

std::vector<Named> TableOfTexts() {
  std::vector<Named> table = {
      {"invoice link, test", "https://qr-test.ksef.mf.gov.pl/invoice/8982143767/15-12-2026/" + kDigest},
      {"invoice link, demo", "https://qr-demo.ksef.mf.gov.pl/invoice/8982143767/15-12-2026/" + kDigest},
      {"invoice link, production", "https://qr.ksef.mf.gov.pl/invoice/8982143767/15-12-2026/" + kDigest},
      {"certificate link, test",
       "https://qr-test.ksef.mf.gov.pl/certificate/Nip/8982143767/8982143767/01F20A5D352AE590/" + kDigest + "/" +
           kSignature},
      {"certificate link, production",
       "https://qr.ksef.mf.gov.pl/certificate/Nip/8982143767/8982143767/01F20A5D352AE590/" + kDigest + "/" +
           kSignature},
      {"upper-case link (alphanumeric)", "HTTPS://QR.KSEF.MF.GOV.PL/INVOICE/8982143767/15-12-2026"},
      {"Polish letters", "Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ"},
      {"U+0080 to U+00FF", EveryLatin1Letter()},
      {"three- and four-byte UTF-8", "€ ✓ 漢字 😀 𝄞"},
      {"ASCII control characters", EveryControlCharacter()},
      {"a single digit", "7"},
      {"a single letter", "A"},
      {"a single byte", "a"},
  };
  return table;
}

TEST(QrEncoder, TheTableEqualsZxing) {
  for (const Named& t : TableOfTexts()) EXPECT_EQ(Difference(t.text), "") << t.name;
}

// The last length of each kind that a version holds gives that version; one
// more gives the next, and past version 40 no symbol.
TEST(QrEncoder, EachVersionHoldsItsCapacityAndNotOneMore) {
  for (Kind kind : {kNumeric, kAlphanumeric, kBytes})
    for (int version = 1; version <= 40; ++version) {
      const int length = kCapacity[version - 1][kind];
      for (int extra : {0, 1}) {
        const std::string text = TextOf(kind, length + extra);
        const int expected = version + extra > 40 ? 0 : 17 + 4 * (version + extra);
        EXPECT_EQ(WriteQrSymbol(text).size, expected) << "kind " << kind << ", " << length + extra << " characters";
        EXPECT_EQ(Difference(text), "");
      }
    }
}

TEST(QrEncoder, TheEmptyTextGivesNoSymbolLikeZxing) {
  EXPECT_EQ(WriteQrSymbol("").size, 0);
  EXPECT_EQ(Difference(""), "");
}

// UTF-8 carries an ECI, which costs 12 bits: a version still holds two
// bytes fewer than its capacity, but no longer its capacity.
TEST(QrEncoder, Utf8TextsCarryTheirEciAtTheBoundaries) {
  for (int version : {1, 9, 10, 26, 27, 40})
    for (int less : {2, 1, 0}) {
      const std::string text = "ł" + TextOf(kBytes, kCapacity[version - 1][kBytes] - 2 - less);  // "ł": 2 bytes
      const int size = WriteQrSymbol(text).size;
      if (less == 2) {
        EXPECT_EQ(size, 17 + 4 * version) << Printable(text);
      } else if (less == 0) {
        EXPECT_EQ(size, version == 40 ? 0 : 17 + 4 * (version + 1)) << Printable(text);
      }
      EXPECT_EQ(Difference(text), "");
    }
}

// Bytes that are not UTF-8 go in unchanged: zxing-cpp's UTF-8 reader would
// cut the text at the first of them.
TEST(QrEncoder, BytesThatAreNotUtf8GoInUnchanged) {
  for (const std::string& text : {EveryByte(), std::string("faktura \xA3\xA5\x9C\xB9.xml"), std::string("\xC5"),
                                  std::string("ab\xED\xA0\x80") + "cd", std::string("\xC0\xAF")}) {
    EXPECT_EQ(Difference(text), "");
    const QrModules m = WriteQrSymbol(text);
    const int side = m.size + 8;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(side) * side, 255);
    for (int r = 0; r < m.size; ++r)
      for (int c = 0; c < m.size; ++c)
        if (m.Dark(r, c)) pixels[static_cast<std::size_t>(r + 4) * side + c + 4] = 0;
    const ZXing::Result read = ZXing::ReadBarcode(ZXing::ImageView(pixels.data(), side, side, ZXing::ImageFormat::Lum),
                                                  ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
    ASSERT_TRUE(read.isValid()) << Printable(text);
    EXPECT_EQ(std::string(read.bytes().begin(), read.bytes().end()), text);
  }
}

// Random texts from a fixed seed: digits, alphanumeric characters, any
// ASCII, UTF-8 of one to four bytes, and bytes that are not UTF-8, at
// lengths spread over all versions and a little beyond.
std::string RandomText(std::mt19937& rng) {
  const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
  const int kind = static_cast<int>(pick(6));
  const int version = 1 + static_cast<int>(pick(41));  // 41: more than any version holds
  const int bytes = kCapacity[std::min(version, 40) - 1][kBytes] * (version > 40 ? 105 : 100) / 100;
  const std::size_t length = pick(static_cast<std::size_t>(bytes) + 1);
  const int scale[] = {24, 15, 10, 10, 10, 10};  // tenths: characters per byte of capacity
  std::string text;
  for (std::size_t i = 0; i < length * static_cast<std::size_t>(scale[kind]) / 10; ++i) {
    switch (kind) {
      case 0:
        text += static_cast<char>('0' + pick(10));
        break;
      case 1:
        text += kAlphanumericSet[pick(kAlphanumericSet.size())];
        break;
      case 2:
        text += static_cast<char>(pick(128));
        break;
      case 3:  // digits and capitals with a few other characters mixed in
        text += pick(20) == 0 ? static_cast<char>(' ' + pick(95)) : kAlphanumericSet[pick(36)];
        break;
      case 4: {  // UTF-8, mostly ASCII and Polish letters
        static const char* const kPieces[] = {"ą", "Ł", "ż", "é", "€", "漢", "😀", "\xC2\x80", "\xC3\xBF"};
        if (pick(2) == 0)
          text += static_cast<char>(' ' + pick(95));
        else
          text += kPieces[pick(std::size(kPieces))];
        break;
      }
      default:  // any byte
        text += static_cast<char>(pick(256));
    }
    if (text.size() >= length) break;
  }
  return text;
}

TEST(QrEncoder, ThreeThousandRandomTextsEqualZxing) {
  std::mt19937 rng(20261215);
  int failures = 0;
  for (int i = 0; i < 3000 && failures < 5; ++i) {
    const std::string text = RandomText(rng);
    const std::string difference = Difference(text);
    EXPECT_EQ(difference, "") << "text " << i;
    failures += !difference.empty();
  }
}

// A symbol with a quiet zone of four modules, three pixels a module, as a
// binary PGM file.
void WritePgm(const std::filesystem::path& path, const QrModules& m) {
  constexpr int kQuiet = 4, kScale = 3;
  const int side = (m.size + 2 * kQuiet) * kScale;
  std::string pixels(static_cast<std::size_t>(side) * side, '\xFF');
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const int r = y / kScale - kQuiet, c = x / kScale - kQuiet;
      if (r >= 0 && r < m.size && c >= 0 && c < m.size && m.Dark(r, c))
        pixels[static_cast<std::size_t>(y) * side + x] = 0;
    }
  std::ofstream(path, std::ios::binary) << "P5\n" << side << " " << side << "\n255\n" << pixels;
}

// Every version, and the table's texts that zbarimg can hand back whole
// (no control characters: it ends each text with a newline).
TEST(QrEncoder, ZbarimgReadsEverySymbolBack) {
  std::vector<std::string> texts;
  for (int version = 1; version <= 40; ++version) {
    const Kind kind = static_cast<Kind>(version % 3);
    texts.push_back(TextOf(kind, kCapacity[version - 1][kind] - version % 2));
  }
  for (const Named& t : TableOfTexts())
    if (t.name != "ASCII control characters") texts.push_back(t.text);

  ScratchDir dir;
  std::vector<std::string> arguments = {"--raw", "-q"};
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const QrModules m = WriteQrSymbol(texts[i]);
    ASSERT_GT(m.size, 0) << Printable(texts[i]);
    arguments.push_back((dir / ("symbol" + std::to_string(i) + ".pgm")).string());
    WritePgm(arguments.back(), m);
  }
  const platform::ProcessResult r = platform::RunProcess("zbarimg", arguments, 16 << 20);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  std::vector<std::string> read;
  std::istringstream lines(r.out);
  for (std::string line; std::getline(lines, line);) read.push_back(line);
  ASSERT_EQ(read.size(), texts.size()) << r.err;
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(read[i], texts[i]) << "symbol " << i;
}

}  // namespace
}  // namespace zuvprint::testing
