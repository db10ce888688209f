// The program's own key reader (used where the platform signs with bare
// key numbers) over keys that the openssl program makes, encrypts and
// prints: every PEM form gives the numbers openssl prints, and bad keys,
// wrong passwords and hostile structures give their outcome.
#include "platform/private_key.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

#include "ksef/crypto.h"
#include "libcrypto_key_primitives.h"
#include "openssl_tool.h"
#include "program_run.h"

namespace zuvprint::testing {
namespace {

using platform::DecodedKey;
using platform::EcCurve;
using platform::EcPrivateKey;
using platform::RsaPrivateKey;
using Outcome = DecodedKey::Outcome;

constexpr const char* kPassword = "ZłotyŁęg-2026";
const std::string kPass = std::string("pass:") + kPassword;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

DecodedKey Decode(const std::string& pem, std::string_view password = kPassword) {
  LibcryptoKeyPrimitives primitives;
  return platform::DecodePemPrivateKey(pem, password, primitives);
}

std::string Pem(const std::string& label, const std::vector<std::uint8_t>& der) {
  std::string b64 = EncodeBase64(std::span<const std::uint8_t>(der.data(), der.size())), out = "-----BEGIN " + label + "-----\n";
  for (std::size_t i = 0; i < b64.size(); i += 64) out += b64.substr(i, 64) + "\n";
  return out + "-----END " + label + "-----\n";
}

// The DER inside a PEM file of one block.
std::vector<std::uint8_t> DerOf(const std::string& pemPath) {
  std::istringstream lines(Slurp(pemPath));
  std::string line, body;
  while (std::getline(lines, line))
    if (!line.starts_with("-----")) body += line;
  return DecodeBase64ToBytes(body);
}

// A number as lowercase hex without leading zero bytes.
std::string Hex(const std::vector<std::uint8_t>& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string s;
  for (auto b : bytes) s += {digits[b >> 4], digits[b & 15]};
  while (s.starts_with("00")) s.erase(0, 2);
  return s;
}

// The number that `openssl pkey -text` prints under "label:" (indented hex
// lines with colons) or as "label: 65537 (0x10001)", in the form of Hex.
std::string TextNumber(const std::string& text, const std::string& label) {
  std::istringstream lines(text);
  std::string line, hex;
  bool inside = false;
  while (std::getline(lines, line)) {
    if (inside && !line.empty() && line[0] == ' ') {
      for (char c : line)
        if (std::isxdigit(static_cast<unsigned char>(c))) hex += c;
      continue;
    }
    if (inside) break;
    if (line == label + ":") inside = true;
    if (line.starts_with(label + ": ") && line.find("(0x") != std::string::npos) {
      hex = line.substr(line.find("(0x") + 3);
      hex = hex.substr(0, hex.find(')'));
      if (hex.size() % 2) hex.insert(0, "0");
      break;
    }
  }
  EXPECT_FALSE(hex.empty()) << label << " is not in\n" << text;
  while (hex.starts_with("00")) hex.erase(0, 2);
  return hex;
}

struct Algorithm {
  const char* name;
  std::vector<std::string> genpkey;
  EcCurve curve;  // for EC keys
  bool rsa;
};
const Algorithm kAlgorithms[] = {
    {"ec256", {"-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:P-256"}, EcCurve::P256, false},
    {"ec384", {"-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:P-384"}, EcCurve::P384, false},
    {"ec521", {"-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:P-521"}, EcCurve::P521, false},
    {"rsa", {"-algorithm", "RSA", "-pkeyopt", "rsa_keygen_bits:2048"}, EcCurve::P256, true},
};

// The forms of one key, each a file made by the openssl program from the
// plain PKCS#8 file (or, the first, the key as genpkey writes it encrypted).
struct Form {
  const char* name;
  std::vector<std::string> arguments;  // IN and OUT stand for the files
  const char* label;
  bool encrypted;
};
const Form kForms[] = {
    {"pkcs8", {"pkey", "-in", "IN", "-out", "OUT"}, "PRIVATE KEY", false},
    {"pkcs8-topk8", {"pkcs8", "-topk8", "-in", "IN", "-passout", kPass, "-out", "OUT"}, "ENCRYPTED PRIVATE KEY", true},
    {"pkcs8-aes128-sha1",
     {"pkcs8", "-topk8", "-v2", "aes128", "-v2prf", "hmacWithSHA1", "-in", "IN", "-passout", kPass, "-out", "OUT"},
     "ENCRYPTED PRIVATE KEY", true},
    {"pkcs8-aes192", {"pkcs8", "-topk8", "-v2", "aes192", "-in", "IN", "-passout", kPass, "-out", "OUT"},
     "ENCRYPTED PRIVATE KEY", true},
    {"traditional", {"pkey", "-traditional", "-in", "IN", "-out", "OUT"}, "", false},
    {"traditional-aes128", {"pkey", "-traditional", "-aes128", "-in", "IN", "-passout", kPass, "-out", "OUT"}, "", true},
    {"traditional-aes192", {"pkey", "-traditional", "-aes192", "-in", "IN", "-passout", kPass, "-out", "OUT"}, "", true},
    {"traditional-aes256", {"pkey", "-traditional", "-aes256", "-in", "IN", "-passout", kPass, "-out", "OUT"}, "", true},
};

class PrivateKey : public ::testing::Test {
 protected:
  // Every algorithm's key in every form, made once: dir/<algorithm>-<form>.pem.
  static void SetUpTestSuite() {
    dir_ = new ScratchDir;
    for (const auto& a : kAlgorithms) {
      std::vector<std::string> gen{"genpkey"};
      gen.insert(gen.end(), a.genpkey.begin(), a.genpkey.end());
      gen.insert(gen.end(), {"-aes-256-cbc", "-pass", kPass, "-out", Key(a.name, "genpkey-aes256")});
      Openssl(gen);
      Openssl({"pkey", "-in", Key(a.name, "genpkey-aes256"), "-passin", kPass, "-out", Key(a.name, "plain")});
      for (const auto& f : kForms) {
        std::vector<std::string> args = f.arguments;
        for (auto& arg : args) {
          if (arg == "IN") arg = Key(a.name, "plain");
          if (arg == "OUT") arg = Key(a.name, f.name);
        }
        Openssl(args);
      }
    }
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static std::string Key(const std::string& algorithm, const std::string& form) {
    return (*dir_ / (algorithm + "-" + form + ".pem")).string();
  }
  static std::string Path(const std::string& name) { return (*dir_ / name).string(); }

  static inline ScratchDir* dir_ = nullptr;
};

void ExpectNumbersOfOpenssl(const DecodedKey& key, const Algorithm& a, const std::string& text) {
  ASSERT_EQ(key.outcome, Outcome::Ok) << key.detail;
  if (a.rsa) {
    const auto* rsa = std::get_if<RsaPrivateKey>(&key.key);
    ASSERT_NE(rsa, nullptr);
    const std::pair<const char*, const std::vector<std::uint8_t>*> numbers[] = {
        {"modulus", &rsa->n}, {"publicExponent", &rsa->e}, {"privateExponent", &rsa->d}, {"prime1", &rsa->p},
        {"prime2", &rsa->q},  {"exponent1", &rsa->dp},     {"exponent2", &rsa->dq},      {"coefficient", &rsa->qinv}};
    for (const auto& [label, value] : numbers) EXPECT_EQ(Hex(*value), TextNumber(text, label)) << label;
    return;
  }
  const auto* ec = std::get_if<EcPrivateKey>(&key.key);
  ASSERT_NE(ec, nullptr);
  EXPECT_EQ(ec->curve, a.curve);
  const std::size_t size = platform::CurveBytes(a.curve);
  EXPECT_EQ(ec->d.size(), size);
  EXPECT_EQ(ec->x.size(), size);
  EXPECT_EQ(ec->y.size(), size);
  EXPECT_EQ(Hex(ec->d), TextNumber(text, "priv"));
  std::vector<std::uint8_t> point{0x04};
  point.insert(point.end(), ec->x.begin(), ec->x.end());
  point.insert(point.end(), ec->y.begin(), ec->y.end());
  EXPECT_EQ(Hex(point), TextNumber(text, "pub"));
}

TEST_F(PrivateKey, EveryFormGivesTheNumbersOpensslPrints) {
  for (const auto& a : kAlgorithms) {
    const std::string text = Openssl({"pkey", "-in", Key(a.name, "plain"), "-text", "-noout"});
    const std::string traditional = a.rsa ? "RSA PRIVATE KEY" : "EC PRIVATE KEY";
    std::vector<std::pair<std::string, std::string>> forms{{"genpkey-aes256", "ENCRYPTED PRIVATE KEY"}};
    for (const auto& f : kForms) forms.emplace_back(f.name, *f.label ? f.label : traditional);
    for (const auto& [form, label] : forms) {
      SCOPED_TRACE(std::string(a.name) + " " + form);
      const std::string pem = Slurp(Key(a.name, form));
      ASSERT_NE(pem.find("-----BEGIN " + label + "-----"), std::string::npos) << pem;
      ExpectNumbersOfOpenssl(Decode(pem), a, text);
    }
    // Line ends of Windows, and a certificate before the key.
    SCOPED_TRACE(a.name);
    std::string crlf;
    for (char c : Slurp(Key(a.name, "traditional-aes256"))) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ExpectNumbersOfOpenssl(Decode(crlf), a, text);
    const std::string cert = Openssl({"req", "-new", "-x509", "-key", Key(a.name, "plain"), "-subj", "/CN=t", "-days", "1"});
    ExpectNumbersOfOpenssl(Decode(cert + Slurp(Key(a.name, "pkcs8-topk8"))), a, text);
  }
}

TEST_F(PrivateKey, TheExamplesKeyOpensWithThePasswordItsSettingsStore) {
  const std::string key = std::string(ZUV_EXAMPLES_DIR) + "/ksef/klucz-ec.pem";
  const std::string password = OdkodujHaslo("pOfi36HrB8uUmoqTSQ==");
  const std::string text = Openssl({"pkey", "-in", key, "-passin", "pass:" + password, "-text", "-noout"});
  ASSERT_NE(text.find("P-256"), std::string::npos) << text;
  ExpectNumbersOfOpenssl(Decode(Slurp(key), password), kAlgorithms[0], text);
}

TEST_F(PrivateKey, WrongPasswordsLeaveTheKeyUnreadable) {
  // The right password in ISO 8859-2 instead of UTF-8 is a wrong one too:
  // the password's bytes are used as they are.
  const std::string wrong[] = {"", "ZlotyLeg-2026", "Z\xb3oty\xa3\xeag-2026", std::string(kPassword) + " "};
  for (const char* algorithm : {"ec256", "rsa"}) {
    std::vector<std::string> forms{"genpkey-aes256"};
    for (const auto& f : kForms)
      if (f.encrypted) forms.push_back(f.name);
    for (const auto& form : forms) {
      const std::string pem = Slurp(Key(algorithm, form));
      for (const auto& password : wrong) {
        SCOPED_TRACE(std::string(algorithm) + " " + form + " [" + password + "]");
        DecodedKey k = Decode(pem, password);
        EXPECT_EQ(k.outcome, Outcome::Unreadable);
        EXPECT_NE(k.detail.find("złe hasło"), std::string::npos) << k.detail;
      }
    }
  }
}

TEST_F(PrivateKey, DamagedKeysAreUnreadable) {
  for (const char* algorithm : {"ec256", "rsa"}) {
    SCOPED_TRACE(algorithm);
    const auto der = DerOf(Key(algorithm, "plain"));
    ASSERT_GT(der.size(), 100u);
    for (std::size_t size = 0; size < der.size(); ++size) {  // cut off anywhere
      DecodedKey k = Decode(Pem("PRIVATE KEY", {der.begin(), der.begin() + static_cast<std::ptrdiff_t>(size)}));
      ASSERT_EQ(k.outcome, Outcome::Unreadable) << size;
    }
    std::vector<std::uint8_t> longer = der;
    longer.push_back(0);
    EXPECT_EQ(Decode(Pem("PRIVATE KEY", longer)).outcome, Outcome::Unreadable) << "bytes after the key";

    // One byte changed in the first block of the ciphertext garbles the
    // start of the decrypted structure; the ciphertext ends the DER.
    auto encrypted = DerOf(Key(algorithm, "pkcs8-topk8"));
    const std::size_t cipherSize = (der.size() / 16 + 1) * 16;
    ASSERT_GT(encrypted.size(), cipherSize);
    encrypted[encrypted.size() - cipherSize] ^= 0x01;
    DecodedKey k = Decode(Pem("ENCRYPTED PRIVATE KEY", encrypted));
    EXPECT_EQ(k.outcome, Outcome::Unreadable) << k.detail;
  }
  std::string pem = Slurp(Key("ec256", "pkcs8"));
  const struct {
    const char* name;
    std::string text;
  } texts[] = {
      {"a character that is not base64", std::string(pem).insert(pem.find('\n') + 10, "!")},
      {"no end line", pem.substr(0, pem.find("-----END"))},
      {"end of another label", pem.substr(0, pem.find("-----END")) + "-----END EC PRIVATE KEY-----\n"},
      {"misplaced padding", std::string(pem).insert(pem.find('\n') + 10, "=")},
  };
  for (const auto& t : texts) {
    SCOPED_TRACE(t.name);
    EXPECT_EQ(Decode(t.text).outcome, Outcome::Unreadable);
  }
}

TEST_F(PrivateKey, TextWithoutAPrivateKeyIsUnreadable) {
  Openssl({"pkey", "-in", Key("ec256", "plain"), "-pubout", "-out", Path("public.pem")});
  Openssl({"req", "-new", "-x509", "-key", Key("ec256", "plain"), "-subj", "/CN=t", "-days", "1", "-out", Path("cert.pem")});
  for (const std::string& text : {std::string(), std::string("klucz"), Slurp(Path("public.pem")), Slurp(Path("cert.pem"))}) {
    SCOPED_TRACE(text.substr(0, 30));
    DecodedKey k = Decode(text);
    EXPECT_EQ(k.outcome, Outcome::Unreadable);
    EXPECT_NE(k.detail.find("PRIVATE KEY"), std::string::npos) << k.detail;
  }
}

TEST_F(PrivateKey, OtherKindsOfKeyAreNamed) {
  struct Case {
    const char* name;
    std::vector<std::string> make;
    const char* kind;
  } cases[] = {
      {"ed25519", {"genpkey", "-algorithm", "ED25519"}, "ED25519"},
      {"ed25519-enc", {"genpkey", "-algorithm", "ED25519", "-aes-256-cbc", "-pass", kPass}, "ED25519"},
      {"x448", {"genpkey", "-algorithm", "X448"}, "X448"},
      {"secp256k1", {"genpkey", "-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:secp256k1"}, "1.3.132.0.10"},
      {"secp256k1-trad", {"ecparam", "-genkey", "-name", "secp256k1", "-noout"}, "1.3.132.0.10"},
      {"explicit", {"genpkey", "-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:P-256", "-pkeyopt",
                    "ec_param_enc:explicit"}, "jawnymi parametrami"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = c.make;
    args.insert(args.end(), {"-out", Path(std::string(c.name) + ".pem")});
    Openssl(args);
    DecodedKey k = Decode(Slurp(Path(std::string(c.name) + ".pem")));
    EXPECT_EQ(k.outcome, Outcome::KindUnsupported);
    EXPECT_NE(k.detail.find(c.kind), std::string::npos) << k.detail;
  }
}

TEST_F(PrivateKey, EncryptionsOtherThanAesWithPbkdf2AreNamed) {
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    const char* reason;
  } cases[] = {
      {"des3-traditional", {"pkey", "-traditional", "-des3", "-passout", kPass}, "DES-EDE3-CBC"},
      {"scrypt", {"pkcs8", "-topk8", "-scrypt", "-passout", kPass}, "scrypt"},
      {"pbes1", {"pkcs8", "-topk8", "-v1", "PBE-SHA1-3DES", "-passout", kPass}, "PBES2"},
      {"pbes2-des3", {"pkcs8", "-topk8", "-v2", "des3", "-passout", kPass}, "AES-CBC"},
      {"pbes2-sha512", {"pkcs8", "-topk8", "-v2prf", "hmacWithSHA512", "-passout", kPass}, "HMAC-SHA-256"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = c.arguments;
    args.insert(args.end(), {"-in", Key("ec256", "plain"), "-out", Path(std::string(c.name) + ".pem")});
    Openssl(args);
    DecodedKey k = Decode(Slurp(Path(std::string(c.name) + ".pem")));
    EXPECT_EQ(k.outcome, Outcome::Unreadable);
    EXPECT_NE(k.detail.find(c.reason), std::string::npos) << k.detail;
  }
}

TEST_F(PrivateKey, AnEcKeyWithoutItsPublicPointSaysSo) {
  Openssl({"ec", "-in", Key("ec256", "plain"), "-no_public", "-out", Path("no-public.pem")});
  DecodedKey k = Decode(Slurp(Path("no-public.pem")));
  EXPECT_EQ(k.outcome, Outcome::Unreadable);
  EXPECT_NE(k.detail.find("punktu publicznego"), std::string::npos) << k.detail;
}

// An EncryptedPrivateKeyInfo made by openssl's asn1parse from a description,
// with PBKDF2 parameters chosen by the test.
std::string HandMadeEncryptedKey(const std::string& dir, const std::string& kdfParameters) {
  const std::string conf = dir + "/epki.conf", der = dir + "/epki.der";
  std::ofstream(conf) << "asn1=SEQUENCE:epki\n[epki]\nalg=SEQUENCE:alg\n"
                         "data=FORMAT:HEX,OCTETSTRING:00112233445566778899aabbccddeeff\n"
                         "[alg]\noid=OID:1.2.840.113549.1.5.13\nparams=SEQUENCE:pbes2\n"
                         "[pbes2]\nkdf=SEQUENCE:kdf\nenc=SEQUENCE:enc\n"
                         "[kdf]\noid=OID:1.2.840.113549.1.5.12\nparams=SEQUENCE:kdfparams\n"
                         "[enc]\noid=OID:aes-256-cbc\niv=FORMAT:HEX,OCTETSTRING:000102030405060708090a0b0c0d0e0f\n"
                         "[kdfparams]\nsalt=FORMAT:HEX,OCTETSTRING:0102030405060708\n"
                      << kdfParameters;
  Openssl({"asn1parse", "-genconf", conf, "-out", der, "-noout"});
  const std::string bytes = Slurp(der);
  return Pem("ENCRYPTED PRIVATE KEY", {bytes.begin(), bytes.end()});
}

TEST_F(PrivateKey, Pbkdf2ParametersOutOfBoundsAreRefusedBeforeAnyWork) {
  const struct {
    const char* parameters;
    const char* reason;
  } cases[] = {
      {"iter=INTEGER:4294967295\n", "iteracji"},  // would keep the program busy for hours
      {"iter=INTEGER:0\n", "iteracji"},
      {"iter=INTEGER:1\nlen=INTEGER:16\n", "długość klucza"},  // AES-256 needs 32
      {"iter=INTEGER:1\nprf=SEQUENCE:prf\n[prf]\noid=OID:hmacWithSHA384\n", "HMAC-SHA-256"},
      {"iter=INTEGER:1\n", "złe hasło"},  // sound, but the ciphertext is no key
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.parameters);
    DecodedKey k = Decode(HandMadeEncryptedKey(dir_->Path().string(), c.parameters));
    EXPECT_EQ(k.outcome, Outcome::Unreadable);
    EXPECT_NE(k.detail.find(c.reason), std::string::npos) << k.detail;
  }
}

TEST(PrivateKeyStructure, LiesAboutLengthsAndDeepNestingAreUnreadable) {
  // 16 000 SEQUENCEs, each the whole content of the one before.
  std::vector<std::uint8_t> nested;
  constexpr std::size_t kLevels = 16000;
  for (std::size_t i = 0; i < kLevels; ++i) {
    const std::size_t inner = 4 * (kLevels - 1 - i);
    nested.insert(nested.end(), {0x30, 0x82, static_cast<std::uint8_t>(inner >> 8), static_cast<std::uint8_t>(inner)});
  }
  std::vector<std::uint8_t> cases[] = {
      {0x30, 0x84, 0x7f, 0xff, 0xff, 0xff, 0x02, 0x01, 0x00},
      {0x30, 0x88, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff},
      {0x30, 0x03, 0x02, 0x05, 0x00},
      nested,
  };
  for (const char* label : {"PRIVATE KEY", "ENCRYPTED PRIVATE KEY", "EC PRIVATE KEY", "RSA PRIVATE KEY"}) {
    for (const auto& der : cases) {
      SCOPED_TRACE(std::string(label) + " of " + std::to_string(der.size()) + " bytes");
      DecodedKey k = Decode(Pem(label, der));
      EXPECT_EQ(k.outcome, Outcome::Unreadable);
    }
  }
}

}  // namespace
}  // namespace zuvprint::testing
