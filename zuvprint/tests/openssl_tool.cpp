#include "openssl_tool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/process.h"

namespace zuvprint::testing {
namespace {

std::string Trim(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ToHex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

}  // namespace

std::string Openssl(const std::vector<std::string>& arguments) {
  platform::ProcessResult r = platform::RunProcess("openssl", arguments);
  EXPECT_EQ(r.exitCode, 0) << "openssl " << arguments.at(0) << ": " << r.err;
  return r.exitCode == 0 ? r.out : "";
}

std::string DigestBase64Url(const std::string& path) {
  Openssl({"dgst", "-sha256", "-binary", "-out", path + ".sha256", path});
  std::string b64 = Trim(Openssl({"base64", "-A", "-in", path + ".sha256"}));
  std::filesystem::remove(path + ".sha256");
  std::replace(b64.begin(), b64.end(), '+', '-');
  std::replace(b64.begin(), b64.end(), '/', '_');
  b64.erase(std::remove(b64.begin(), b64.end(), '='), b64.end());
  return b64;
}

std::string SerialOf(const std::string& certificate) {
  std::string out = Trim(Openssl({"x509", "-in", certificate, "-noout", "-serial"}));
  return out.substr(out.find('=') + 1);
}

void MakeKeyAndCertificate(const std::string& keyPath, const std::string& password, const std::string& algorithm) {
  std::vector<std::string> gen{"genpkey"};
  if (algorithm == "EC" || algorithm == "EC-384")
    gen.insert(gen.end(), {"-algorithm", "EC", "-pkeyopt",
                           algorithm == "EC" ? "ec_paramgen_curve:P-256" : "ec_paramgen_curve:P-384"});
  else if (algorithm == "RSA")
    gen.insert(gen.end(), {"-algorithm", "RSA", "-pkeyopt", "rsa_keygen_bits:2048"});
  else
    gen.insert(gen.end(), {"-algorithm", algorithm});
  gen.insert(gen.end(), {"-aes-256-cbc", "-pass", "pass:" + password, "-out", keyPath});
  Openssl(gen);
  std::string cert = keyPath.substr(0, keyPath.rfind('.')) + ".crt";
  Openssl({"req", "-new", "-x509", "-key", keyPath, "-passin", "pass:" + password, "-days", "30", "-subj",
           "/CN=KSeF test", "-out", cert});
}

bool SignatureVerifies(const std::string& text, const std::string& signature, const std::string& certificate,
                       const std::string& workDir) {
  const std::string data = workDir + "/signed.txt", b64 = workDir + "/sig.b64", raw = workDir + "/sig.bin",
                    der = workDir + "/sig.der", conf = workDir + "/sig.conf", pub = workDir + "/pub.pem";
  WriteFile(data, text);
  std::string standard = signature;
  std::replace(standard.begin(), standard.end(), '-', '+');
  std::replace(standard.begin(), standard.end(), '_', '/');
  while (standard.size() % 4) standard += '=';
  WriteFile(b64, standard);
  Openssl({"base64", "-d", "-A", "-in", b64, "-out", raw});
  Openssl({"x509", "-in", certificate, "-pubkey", "-noout", "-out", pub});
  std::ifstream in(raw, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  const std::string sig = bytes.str();

  std::vector<std::string> verify{"dgst", "-sha256", "-verify", pub};
  const bool rsa = Openssl({"pkey", "-pubin", "-in", pub, "-noout", "-text"}).find("Modulus") != std::string::npos;
  if (rsa) {
    verify.insert(verify.end(), {"-sigopt", "rsa_padding_mode:pss", "-sigopt", "rsa_pss_saltlen:32", "-signature", raw});
  } else {
    // r || s, two halves of equal size, turned into the DER form openssl checks.
    const std::size_t half = sig.size() / 2;
    WriteFile(conf, "asn1=SEQUENCE:sig\n[sig]\nr=INTEGER:0x" + ToHex(sig.substr(0, half)) + "\ns=INTEGER:0x" +
                        ToHex(sig.substr(half)) + "\n");
    Openssl({"asn1parse", "-genconf", conf, "-out", der, "-noout"});
    verify.insert(verify.end(), {"-signature", der});
  }
  verify.push_back(data);
  platform::ProcessResult r = platform::RunProcess("openssl", verify);
  return r.exitCode == 0 && r.out.find("Verified OK") != std::string::npos;
}

}  // namespace zuvprint::testing
