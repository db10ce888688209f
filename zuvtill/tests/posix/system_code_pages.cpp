#include "tests/system_code_pages.h"

#include <iconv.h>

namespace zuvtill::testing {

std::string InSystemCodePage(const std::string& utf8, int codePage) {
  iconv_t cd = ::iconv_open(("CP" + std::to_string(codePage)).c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "";
  std::string out(utf8.size(), '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size(), outLeft = out.size();
  char* dst = out.data();
  ::iconv(cd, &in, &inLeft, &dst, &outLeft);
  ::iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace zuvtill::testing
