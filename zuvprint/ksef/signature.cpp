#include "ksef/signature.h"

#include <algorithm>

#include "ksef/crypto.h"
#include "platform/files.h"
#include "platform/key_signature.h"

namespace zuvprint {
namespace {

constexpr std::string_view kPemBegin = "-----BEGIN ";

// PEM text as a settings file holds it, on one line: the armour lines, the
// "Name: value" headers of the traditional encrypted form and the base64
// body, all separated by blanks. Rebuilt into the line structure that a
// PEM reader expects. Text that already has line breaks is left alone.
std::string PemZJednejLinii(std::string_view text) {
  if (text.find('\n') != std::string_view::npos) return std::string(text);
  auto beginEnd = text.find("-----", kPemBegin.size());
  auto end = text.find("-----END ", beginEnd == std::string_view::npos ? 0 : beginEnd + 5);
  if (beginEnd == std::string_view::npos || end == std::string_view::npos) return std::string(text);
  std::string out(text.substr(0, beginEnd + 5));
  out += '\n';
  std::string body;
  std::string_view middle = text.substr(beginEnd + 5, end - beginEnd - 5);
  bool headers = false;
  while (!middle.empty()) {
    auto start = middle.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) break;
    middle.remove_prefix(start);
    auto stop = std::min(middle.find_first_of(" \t\r"), middle.size());
    std::string_view token = middle.substr(0, stop);
    middle.remove_prefix(stop);
    if (token.ends_with(':')) {  // a header: its value is the next token
      auto vstart = middle.find_first_not_of(" \t\r");
      std::string_view value;
      if (vstart != std::string_view::npos) {
        middle.remove_prefix(vstart);
        auto vstop = std::min(middle.find_first_of(" \t\r"), middle.size());
        value = middle.substr(0, vstop);
        middle.remove_prefix(vstop);
      }
      out.append(token).append(" ").append(value).append("\n");
      headers = true;
    } else {
      body.append(token);
    }
  }
  if (headers) out += '\n';
  for (std::size_t i = 0; i < body.size(); i += 64) out.append(body, i, 64).append("\n");
  out.append(text.substr(end));
  out += '\n';
  return out;
}

}  // namespace

WynikPodpisu PodpiszECDSA(std::string_view text, const std::string& klucz, const std::string& haslo) {
  std::string pem;
  if (klucz.find(kPemBegin) != std::string::npos) {
    pem = PemZJednejLinii(klucz);
  } else if (klucz.empty() || platform::ReadWholeFile(klucz, pem) != platform::ReadResult::Ok) {
    return {false, "Nie można odczytać pliku klucza prywatnego: " + klucz};
  }
  using Outcome = platform::KeySignature::Outcome;
  platform::KeySignature s = platform::SignWithPemKey(pem, haslo, text);
  switch (s.outcome) {
    case Outcome::Signed: return {true, EncodeBase64URL(std::span<const std::uint8_t>(s.bytes.data(), s.bytes.size()))};
    case Outcome::KeyUnreadable:
      return {false, "Nie można wczytać klucza prywatnego (złe hasło lub uszkodzony klucz): " + s.detail};
    case Outcome::KeyKindUnsupported: return {false, "Nieobsługiwany rodzaj klucza prywatnego: " + s.detail};
    case Outcome::SigningFailed: break;
  }
  return {false, "Podpisanie linka certyfikatu nie powiodło się: " + s.detail};
}

}  // namespace zuvprint
