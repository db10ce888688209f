// UTF-8 text in a code page as the system converts it ("CP852", "CP1250"):
// an oracle apart from the runtime's own tables. One backend per system
// (posix/: iconv; windows/: WideCharToMultiByte).
#pragma once

#include <string>

namespace zuvtill::testing {

std::string InSystemCodePage(const std::string& utf8, int codePage);

}  // namespace zuvtill::testing
