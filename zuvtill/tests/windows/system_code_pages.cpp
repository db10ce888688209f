#include "tests/system_code_pages.h"

#include <windows.h>

namespace zuvtill::testing {

std::string InSystemCodePage(const std::string& utf8, int codePage) {
  int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  int m = ::WideCharToMultiByte(codePage, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(m, '\0');
  ::WideCharToMultiByte(codePage, 0, wide.data(), n, out.data(), m, nullptr, nullptr);
  return out;
}

}  // namespace zuvtill::testing
