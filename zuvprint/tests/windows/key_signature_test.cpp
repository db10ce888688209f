// Signing with PEM keys through CNG under Wine. The keys come from the
// openssl program on the Linux side (key_signatures.sh make, into the
// directory named by ZUVPRINT_KEY_FIXTURES); the signatures are written
// beside them and checked by openssl there (key_signatures.sh verify).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/key_signature.h"

namespace zuvprint {
namespace {

using Outcome = platform::KeySignature::Outcome;

std::string FixtureDir() {
  const char* dir = std::getenv("ZUVPRINT_KEY_FIXTURES");
  return dir ? dir : "";
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class KeySignature : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.empty()) << "ZUVPRINT_KEY_FIXTURES is not set: CTest sets it (see windows/CMakeLists.txt)";
    password = Slurp(dir + "/password.txt");
    data = Slurp(dir + "/data.txt");
    std::istringstream names(Slurp(dir + "/keys.txt"));
    for (std::string name; std::getline(names, name);)
      if (!name.empty()) keys.push_back(name);
    ASSERT_FALSE(password.empty());
    ASSERT_FALSE(data.empty());
    ASSERT_EQ(keys.size(), 32u) << "four keys in eight forms";
  }
  std::string Pem(const std::string& name) const { return Slurp(dir + "/" + name + ".pem"); }

  const std::string dir = FixtureDir();
  std::string password, data;
  std::vector<std::string> keys;
};

TEST_F(KeySignature, EveryFormOfEachKeySigns) {
  for (const auto& key : keys) {
    SCOPED_TRACE(key);
    std::remove((dir + "/" + key + ".sig").c_str());
    std::remove((dir + "/" + key + ".unsupported").c_str());
    platform::KeySignature s = platform::SignWithPemKey(Pem(key), password, data);
    // Wine's CNG (8.0) imports no ECDSA P-384 private key and has no ECDSA
    // P-521 at all; Windows has both. The failure must say so, and nothing
    // else may fail.
    const bool ec384 = key.starts_with("ec384-"), ec521 = key.starts_with("ec521-");
    if (s.outcome == Outcome::SigningFailed &&
        ((ec384 && s.detail.find("BCryptImportKeyPair: 0xC00000BB (STATUS_NOT_SUPPORTED)") != std::string::npos) ||
         (ec521 && s.detail.find("BCryptOpenAlgorithmProvider: 0xC0000002 (STATUS_NOT_IMPLEMENTED)") != std::string::npos))) {
      WriteFile(dir + "/" + key + ".unsupported", s.detail);
      continue;
    }
    ASSERT_EQ(s.outcome, Outcome::Signed) << s.detail;
    const std::size_t size = key.starts_with("rsa-") ? 256 : ec384 ? 96 : ec521 ? 132 : 64;
    EXPECT_EQ(s.bytes.size(), size);
    WriteFile(dir + "/" + key + ".sig", std::string(s.bytes.begin(), s.bytes.end()));
  }
}

TEST_F(KeySignature, WrongPasswordsDamagedKeysAndOtherKindsGiveTheirOutcome) {
  struct Case {
    std::string name;
    std::string pem;
    std::string password;
    Outcome outcome;
    std::string detail;
  };
  std::vector<Case> cases;
  for (const auto& key : keys) {
    if (key.find("aes") != std::string::npos)
      cases.push_back({key + " wrong password", Pem(key), password + "x", Outcome::KeyUnreadable, "złe hasło"});
  }
  const std::string pem = Pem("ec256-pkcs8");
  cases.push_back({"cut in half", pem.substr(0, pem.size() / 2) + "\n-----END PRIVATE KEY-----\n", password,
                   Outcome::KeyUnreadable, ""});
  cases.push_back({"no key", "", password, Outcome::KeyUnreadable, "PRIVATE KEY"});
  cases.push_back({"ed25519", Pem("ed25519"), password, Outcome::KeyKindUnsupported, "ED25519"});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    platform::KeySignature s = platform::SignWithPemKey(c.pem, c.password, data);
    EXPECT_EQ(s.outcome, c.outcome) << s.detail;
    EXPECT_NE(s.detail.find(c.detail), std::string::npos) << s.detail;
    EXPECT_TRUE(s.bytes.empty());
  }
}

}  // namespace
}  // namespace zuvprint
