#include "file_text.h"

#include "platform/utf8.h"
#include "runtime/code_page.h"

namespace zuvlink {

std::string Cp852(std::string_view utf8) { return zuvtill::runtime::Utf8ToCp852(utf8); }

std::string SettingForFile(std::string_view value) {
  for (std::size_t i = 0; i < value.size();) {
    if (!zuvprint::platform::DecodeUtf8(value, i)) return std::string(value);
  }
  return Cp852(value);
}

std::string ForPeople(std::string_view cp852) { return zuvtill::runtime::Cp852ToUtf8(cp852); }

bool HasControlCharacter(std::string_view bytes) {
  for (char c : bytes) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || u == 127) return true;
  }
  return false;
}

}  // namespace zuvlink
