// Key signing on Windows is not there yet: the key is reported unreadable,
// so the certificate code is left out with the program's message and the
// rest of the invoice prints. CNG signing with the program's own reader of
// encrypted keys takes this file's place.
#include "platform/key_signature.h"

namespace zuvprint::platform {

KeySignature SignWithPemKey(const std::string& /*pem*/, const std::string& /*password*/, std::string_view /*data*/) {
  KeySignature result;
  result.outcome = KeySignature::Outcome::KeyUnreadable;
  result.detail = "ta wersja programu dla Windows nie podpisuje jeszcze kluczem prywatnym";
  return result;
}

}  // namespace zuvprint::platform
