#include "ksef/crypto.h"

#include <memory>
#include <optional>
#include <stdexcept>

#include "ksef/cp852.h"
#include "platform/files.h"
#include "platform/sha256.h"
#include "run/text_utils.h"

namespace zuvprint {
namespace {

constexpr std::size_t kPiece = 65536;

// The system's messages for a digest step that failed.
[[noreturn]] void DigestFailed(platform::Sha256::Failure failure) {
  switch (failure) {
    case platform::Sha256::Failure::Unavailable: throw KsefError("Brak funkcji SHA256_* w libcrypto");
    case platform::Sha256::Failure::Update: throw KsefError("SHA256_Update - nie zadziałał poprawnie.");
    case platform::Sha256::Failure::Final: throw KsefError("SHA256_Final - nie zadziałał poprawnie.");
    default: throw KsefError("SHA256_Init - nie zadziałał poprawnie.");
  }
}

void Update(platform::Sha256& sha, const void* data, std::size_t size) {
  if (!sha.Update(data, size)) DigestFailed(platform::Sha256::Failure::Update);
}

Sha256Digest Finish(platform::Sha256& sha) {
  Sha256Digest digest{};
  if (!sha.Finish(digest)) DigestFailed(platform::Sha256::Failure::Final);
  return digest;
}

constexpr std::string_view kStandardAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view kUrlAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

// base64 with the given alphabet; padded or not; lineLength 0 for no line
// breaks.
std::string Encode(std::span<const std::uint8_t> bytes, std::string_view alphabet, bool pad,
                   std::size_t lineLength) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4 + (lineLength ? bytes.size() / 57 * 2 : 0));
  std::size_t column = 0;
  auto put = [&](char c) {
    if (lineLength && column == lineLength) {
      out += "\r\n";
      column = 0;
    }
    out += c;
    ++column;
  };
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    std::uint32_t group = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    for (int shift = 18; shift >= 0; shift -= 6) put(alphabet[(group >> shift) & 0x3F]);
  }
  std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    std::uint32_t group = bytes[i] << 16;
    if (rest == 2) group |= bytes[i + 1] << 8;
    put(alphabet[(group >> 18) & 0x3F]);
    put(alphabet[(group >> 12) & 0x3F]);
    if (rest == 2) put(alphabet[(group >> 6) & 0x3F]);
    if (pad) {
      if (rest == 1) put('=');
      put('=');
    }
  }
  return out;
}

std::vector<std::uint8_t> Decode(std::string_view text, std::string_view alphabet) {
  std::array<int, 256> value;
  value.fill(-1);
  for (std::size_t k = 0; k < alphabet.size(); ++k) value[static_cast<unsigned char>(alphabet[k])] = static_cast<int>(k);

  std::vector<std::uint8_t> out;
  out.reserve(text.size() / 4 * 3 + 2);
  std::uint32_t bits = 0;
  int count = 0;  // bits held
  for (char c : text) {
    if (c == '=') break;
    int v = value[static_cast<unsigned char>(c)];
    if (v < 0) continue;
    bits = (bits << 6) | static_cast<std::uint32_t>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out.push_back(static_cast<std::uint8_t>(bits >> count));
      bits &= (1u << count) - 1;
    }
  }
  return out;
}

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The password key; its bytes repeat end to end over the data.
constexpr std::string_view kKluczHasla = "Kavo-Telprem Ruvanka";

std::uint8_t KeyByte(std::size_t i) { return static_cast<std::uint8_t>(kKluczHasla[i % kKluczHasla.size()]); }
std::uint8_t Offset(std::size_t i) { return static_cast<std::uint8_t>((i + 1) % 16); }

}  // namespace

TVelKrypto::TVelKrypto() = default;
TVelKrypto::~TVelKrypto() = default;

Sha256Digest TVelKrypto::CalcSHA256File(const std::string& FileName) const {
  platform::Sha256 sha;
  if (sha.StartFailure() == platform::Sha256::Failure::Unavailable) DigestFailed(sha.StartFailure());
  if (!platform::FileExists(FileName)) throw KsefError("Plik nie istnieje: " + FileName);
  if (sha.StartFailure() != platform::Sha256::Failure::None) DigestFailed(sha.StartFailure());

  // Should the name have turned into a pipe since the check above, the
  // open neither waits for a writer nor takes it.
  platform::NativeFile file = platform::OpenRegularFile(FileName);
  if (!file.IsOpen()) throw KsefError("Nie można otworzyć pliku: " + FileName);

  std::vector<std::uint8_t> buffer(kPiece);
  for (;;) {
    std::int64_t n = file.Read(buffer.data(), buffer.size());
    if (n == 0) break;
    if (n < 0) throw KsefError("Błąd odczytu pliku: " + FileName);
    Update(sha, buffer.data(), static_cast<std::size_t>(n));
  }
  return Finish(sha);
}

Sha256Digest TVelKrypto::CalcSHA256(std::span<const std::uint8_t> data) const {
  platform::Sha256 sha;
  if (sha.StartFailure() != platform::Sha256::Failure::None) DigestFailed(sha.StartFailure());
  Update(sha, data.data(), data.size());
  return Finish(sha);
}

Sha256Digest TVelKrypto::CalcSHA256(std::string_view data) const { return CalcSHA256(AsBytes(data)); }

std::string EncodeBase64(std::span<const std::uint8_t> bytes) { return Encode(bytes, kStandardAlphabet, true, 76); }
std::string EncodeBase64(std::string_view bytes) { return EncodeBase64(AsBytes(bytes)); }

std::string EncodeBase64URL(std::span<const std::uint8_t> bytes) { return Encode(bytes, kUrlAlphabet, false, 0); }
std::string EncodeBase64URL(std::string_view bytes) { return EncodeBase64URL(AsBytes(bytes)); }

std::vector<std::uint8_t> DecodeBase64ToBytes(std::string_view text) { return Decode(text, kStandardAlphabet); }
std::vector<std::uint8_t> DecodeBase64URLToBytes(std::string_view text) { return Decode(text, kUrlAlphabet); }

std::string OdkodujHaslo(std::string_view stored) {
  std::vector<std::uint8_t> data = DecodeBase64ToBytes(stored);
  std::string clear;  // code page 852 bytes
  clear.reserve(data.size());
  for (std::size_t k = 0; k < data.size(); ++k) {
    std::size_t i = clear.size();
    if (data[k] == 0) {
      // An escape: the next byte goes out as it is (a last 0 gives nothing).
      if (++k < data.size()) clear += static_cast<char>(data[k]);
    } else {
      clear += static_cast<char>(static_cast<std::uint8_t>(data[k] - KeyByte(i) + Offset(i)));
    }
  }
  // The code page's bytes up to 0x20 are the characters up to U+0020 and no
  // high byte is one of them, so trimming the bytes trims the text.
  return Cp852ToUtf8(PrzytnijBiale(clear));
}

std::string ZakodujHaslo(std::string_view password) {
  std::optional<std::string> clear = Utf8ToCp852(password);
  if (!clear) throw std::invalid_argument("password is not UTF-8 text of code page 852 characters");
  std::vector<std::uint8_t> data;
  data.reserve(clear->size() * 2);
  for (std::size_t i = 0; i < clear->size(); ++i) {
    auto p = static_cast<std::uint8_t>((*clear)[i]);
    auto b = static_cast<std::uint8_t>(p + KeyByte(i) - Offset(i));
    if (b == 0) {
      // A scrambled 0 would read as an escape: escape the byte instead.
      data.push_back(0);
      data.push_back(p);
    } else {
      data.push_back(b);
    }
  }
  return Encode(data, kStandardAlphabet, true, 0);
}

}  // namespace zuvprint
