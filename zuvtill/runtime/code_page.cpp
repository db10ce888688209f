#include "runtime/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace zuvtill::runtime {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert code page 852");
  }
  ~Converter() { ::iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts one character (or byte) at in; answers how many input bytes it
  // took, 0 when the input there cannot be converted.
  std::size_t One(std::string_view in, std::string& out) {
    for (std::size_t take = 1; take <= in.size() && take <= 4; ++take) {
      char buffer[8];
      char* src = const_cast<char*>(in.data());
      std::size_t srcLeft = take;
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      if (::iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1) && srcLeft == 0) {
        out.append(buffer, dst);
        return take;
      }
      if (errno != EINVAL) return 0;  // EINVAL: an incomplete sequence, take one more byte
    }
    return 0;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string Cp852ToUtf8(std::string_view bytes) {
  thread_local Converter converter("UTF-8", "CP852");
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (converter.One(bytes.substr(i, 1), out) == 0) {
      out += '?';
    }
  }
  return out;
}

std::string Utf8ToCp852(std::string_view text) {
  thread_local Converter toCp852("CP852", "UTF-8");
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    bool wellFormed = length > 1 && i + length <= text.size();
    for (std::size_t k = 1; wellFormed && k < length; ++k) {
      wellFormed = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
    }
    if (!wellFormed) {
      out += static_cast<char>(c);
      ++i;
    } else {
      if (toCp852.One(text.substr(i, length), out) == 0) out += '?';
      i += length;
    }
  }
  return out;
}

}  // namespace zuvtill::runtime
